#pragma once

#include <string>
#include <vector>

// Runs a program as a child process for benchmarks that measure a whole process: wall time,
// exit status, and the peak of its own memory (anonymous resident pages, sampled from
// /proc/PID/status while it runs, so the file pages the kernel maps in do not count).
namespace Bench {

struct ChildResult {
  int exitStatus = -1;       // the exit code, or -1 when the child did not exit normally
  double wallSeconds = 0;
  double cpuSeconds = 0;     // user and system time of the child
  double peakAnonMB = 0;     // highest RssAnon seen (sampled every millisecond)
  double maxResidentMB = 0;  // ru_maxrss: resident pages of every kind, mapped file pages included
};

// Runs `arguments[0]` (a path, or a program name looked up on PATH) with the arguments; its standard output goes to `outputFile` (or
// /dev/null when empty), its standard error to /dev/null.
ChildResult RunChild(const std::vector<std::string>& arguments, const std::string& outputFile = {});

// The median of the values (the middle one, or the mean of the two in the middle).
double Median(std::vector<double> values);

}  // namespace Bench
