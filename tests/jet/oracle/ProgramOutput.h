#pragma once

#include <optional>
#include <string>
#include <vector>

// Runs a helper program (mdbtools) and collects what it prints.
namespace Oracle {

struct ProgramResult {
  int exitStatus = -1;  // -1: killed by a signal
  std::string standardOutput;
};

// Runs arguments[0], looked up in PATH, without a shell; its standard error is discarded.
// Nothing when the program cannot be started.
std::optional<ProgramResult> RunProgram(const std::vector<std::string>& arguments);

}  // namespace Oracle
