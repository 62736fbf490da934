// `jetdump export` beside mdbtools' `mdb-export` on the same generated table: a million rows of
// People(ID Long, Name Text(50), City Text(50)), every second Name with doubled spaces. The file
// is made once in the temporary folder; each tool then runs as a child process several times,
// alternating, its output sent to /dev/null. Prints each tool's median wall time, records/s and
// peak memory, and the ratio of the medians.
//
//   export_bench [ROWS] [REPETITIONS] [JETDUMP]
//
// Defaults: 1000000 rows, 5 repetitions, the jetdump built beside this program (another build of
// it may be named to compare the two).
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/ChildRun.h"
#include "jet/Creator.h"

namespace {

using Main::Value;

constexpr std::array<std::u16string_view, 8> kCities = {
    u"Springfield", u"Riverside", u"Georgetown", u"Fairview", u"Madison Heights",
    u"Greenville", u"Clinton Falls", u"Salem Harbour"};

std::u16string NameOf(size_t n) {
  const std::u16string number = Main::FormatInteger(static_cast<int64_t>(n));
  return n % 2 == 0 ? u"Customer  " + number + u",  Main  Street  North"
                    : u"Customer " + number + u", Main Street North";
}

void MakePeople(const std::filesystem::path& file, size_t rows) {
  auto creator = Jet::CreateDatabase(file, Jet::FileFormat::Jet4);
  creator.AddTable({u"People",
                    {{u"ID", Jet::FieldType::LongInteger},
                     {u"Name", Jet::FieldType::Text, 50},
                     {u"City", Jet::FieldType::Text, 50}}});
  creator.InsertGenerated(u"People", rows, [](size_t n, Jet::Row& row) {
    row.assign({Value::Integer(static_cast<int64_t>(n) + 1), Value::Text(NameOf(n)),
                Value::Text(std::u16string(kCities[n % kCities.size()]))});
  });
  creator.Close();
}

// Runs a tool to `output`; ends the benchmark when it cannot start or fails.
Bench::ChildResult RunTool(const std::vector<std::string>& command, const std::string& output) {
  const Bench::ChildResult run = Bench::RunChild(command, output);
  if (run.exitStatus != 0) {
    std::fprintf(stderr, "%s failed (status %d)\n", command[0].c_str(), run.exitStatus);
    std::exit(1);
  }
  return run;
}

// The lines of a file: one more than the records it holds, with the header line.
size_t LineCount(const std::filesystem::path& file) {
  std::FILE* stream = std::fopen(file.c_str(), "rb");
  if (stream == nullptr) return 0;
  size_t lines = 0;
  std::array<char, 1 << 16> buffer;
  for (size_t read; (read = std::fread(buffer.data(), 1, buffer.size(), stream)) > 0;)
    lines += static_cast<size_t>(std::count(buffer.begin(), buffer.begin() + static_cast<long>(read), '\n'));
  std::fclose(stream);
  return lines;
}

// One tool's runs, summed up.
struct ToolFigures {
  std::string name;
  std::vector<std::string> command;
  std::vector<double> seconds;
  double peakMegabytes = 0;
};

void PrintLoad(const char* when) {
  double load[3] = {0, 0, 0};
  if (getloadavg(load, 3) == 3) std::printf("load average %s: %.2f %.2f %.2f\n", when, load[0], load[1], load[2]);
}

}  // namespace

int main(int argc, char** argv) {
  const size_t rows = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1'000'000;
  const int repetitions = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  const std::string jetdump = argc > 3 ? argv[3] : JETDUMP_PATH;
  const auto folder = std::filesystem::temp_directory_path();
  const auto file = folder / ("quorvane_export_bench_" + std::to_string(getpid()) + ".mdb");
  const auto sample = folder / ("quorvane_export_bench_" + std::to_string(getpid()) + ".csv");

  const auto made = std::chrono::steady_clock::now();
  MakePeople(file, rows);
  std::printf("made %zu rows in %.2f s (%.1f MB)\n", rows,
              std::chrono::duration<double>(std::chrono::steady_clock::now() - made).count(),
              static_cast<double>(std::filesystem::file_size(file)) / 1e6);
  PrintLoad("before");

  std::vector<ToolFigures> tools = {{"jetdump export", {jetdump, "export", file.string(), "People"}, {}, 0},
                                    {"mdb-export", {"mdb-export", file.string(), "People"}, {}, 0}};
  // A first run of each to a file: its records counted, and the file warmed in the page cache.
  for (ToolFigures& tool : tools) {
    RunTool(tool.command, sample.string());
    std::printf("%-15s writes %zu records, %.1f MB\n", tool.name.c_str(), LineCount(sample) - 1,
                static_cast<double>(std::filesystem::file_size(sample)) / 1e6);
  }
  for (int repetition = 0; repetition < repetitions; ++repetition) {
    for (ToolFigures& tool : tools) {
      const Bench::ChildResult run = RunTool(tool.command, "/dev/null");
      tool.seconds.push_back(run.wallSeconds);
      tool.peakMegabytes = std::max(tool.peakMegabytes, run.maxResidentMB);
    }
  }
  PrintLoad("after");

  for (const ToolFigures& tool : tools) {
    const double median = Bench::Median(tool.seconds);
    const auto [fastest, slowest] = std::minmax_element(tool.seconds.begin(), tool.seconds.end());
    std::printf("%-15s median %.3f s (min %.3f, max %.3f over %d runs), %.0f records/s, peak %.1f MB\n",
                tool.name.c_str(), median, *fastest, *slowest, repetitions, static_cast<double>(rows) / median,
                tool.peakMegabytes);
  }
  std::printf("jetdump export is %.2f times as fast as mdb-export\n",
              Bench::Median(tools[1].seconds) / Bench::Median(tools[0].seconds));
  std::filesystem::remove(file);
  std::filesystem::remove(sample);
  return 0;
}
