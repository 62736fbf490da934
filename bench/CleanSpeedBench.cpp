// The cleaning run's speed and memory as a user meets them: quorvane-clean run as its own process
// ("single spaces" on the Name field, opening to "Done.") over a generated 1,000,000-record table
// People(ID Long, Name Text(50), City Text(50)) whose Name values are about 36 characters, every
// second one holding runs of two spaces (so half the records change). Measured: the real run, its
// dry run, and the real run on a copy whose Name has an ordinary index. Prints the median wall
// and CPU time of the repetitions, records/s by each, and the process's peak anonymous memory
// beside the field's data. Usage: clean_speed_bench [--records N] [--repetitions N] [--only run|dry|indexed]
// The fixtures stay in the temporary folder (quorvane_clean_speed_*.mdb) for the next run and for
// profiling; each run works on a copy.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/ChildRun.h"
#include "common/Text.h"
#include "jet/Creator.h"

namespace {

using Main::Value;

std::u16string Name(size_t n) {
  const std::u16string number = Main::FormatInteger(static_cast<int64_t>(n * 7919 % 1000003));
  if (n % 2 == 0) return u"Customer  " + number + u",  Main  Street  North";
  return u"Customer " + number + u", Main Street North side";
}

std::u16string City(size_t n) { return u"Springfield " + Main::FormatInteger(static_cast<int64_t>(n % 977)); }

// The Name field's data: its characters, and the bytes they take as UTF-16 (as the program holds
// text) and as stored (Jet4's compressed form: one byte a character here, plus the marker).
struct FieldData {
  double characters = 0;
  double utf16MB = 0;
  double storedMB = 0;
};

FieldData NameData(size_t records) {
  FieldData data;
  for (size_t n = 0; n < records; ++n) data.characters += static_cast<double>(Name(n).size());
  data.utf16MB = data.characters * 2 / (1024.0 * 1024.0);
  data.storedMB = (data.characters + 2.0 * static_cast<double>(records)) / (1024.0 * 1024.0);
  return data;
}

std::filesystem::path MakeFixture(size_t records, bool indexed) {
  const auto file = std::filesystem::temp_directory_path() /
                    ("quorvane_clean_speed_" + std::to_string(records) + (indexed ? "_indexed.mdb" : ".mdb"));
  if (std::filesystem::exists(file)) return file;
  auto creator = Jet::CreateDatabase(file, Jet::FileFormat::Jet4);
  Jet::TableSpec table{u"People",
                       {{u"ID", Jet::FieldType::LongInteger},
                        {u"Name", Jet::FieldType::Text, 50},
                        {u"City", Jet::FieldType::Text, 50}}};
  if (indexed) table.indexes.push_back(Jet::IndexSpec{u"ByName", {{u"Name"}}});
  creator.AddTable(table);
  creator.InsertGenerated(u"People", records, [](size_t n, Jet::Row& row) {
    row.assign({Value::Integer(static_cast<int64_t>(n)), Value::Text(Name(n)), Value::Text(City(n))});
  });
  creator.Close();
  return file;
}

std::string ReadAll(const std::string& file) {
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

struct Case {
  std::string name;
  bool indexed;
  bool dryRun;
};

// Runs one case `repetitions` times on fresh copies of the fixture; prints its line.
bool Measure(const Case& run, const std::filesystem::path& fixture, size_t records, int repetitions,
             const FieldData& data) {
  const auto copy = std::filesystem::temp_directory_path() / "quorvane_clean_speed_copy.mdb";
  const auto output = (std::filesystem::temp_directory_path() / "quorvane_clean_speed_out.txt").string();
  std::vector<double> walls, cpus, peaks;
  double maxResident = 0;
  std::string tally;
  for (int repetition = 0; repetition < repetitions; ++repetition) {
    std::filesystem::copy_file(fixture, copy, std::filesystem::copy_options::overwrite_existing);
    std::vector<std::string> arguments{QUORVANE_CLEAN_PROGRAM, copy.string(), "--table", "People", "--field",
                                       "Name", "--operation", "5"};
    if (run.dryRun) arguments.emplace_back("--dry-run");
    const Bench::ChildResult result = Bench::RunChild(arguments, output);
    const std::string printed = ReadAll(output);
    if (result.exitStatus != 0) {
      std::cerr << run.name << ": quorvane-clean ended with status " << result.exitStatus << "\n" << printed;
      return false;
    }
    tally = printed.substr(printed.find_last_of('\n', printed.size() - 2) + 1);
    walls.push_back(result.wallSeconds);
    cpus.push_back(result.cpuSeconds);
    peaks.push_back(result.peakAnonMB);
    maxResident = std::max(maxResident, result.maxResidentMB);
  }
  std::filesystem::remove(copy);
  std::filesystem::remove(output);
  const double wall = Bench::Median(walls);
  const double cpu = Bench::Median(cpus);
  const double peak = Bench::Median(peaks);
  std::printf("%-8s wall %7.3f s %10.0f records/s   cpu %7.3f s %10.0f records/s\n", run.name.c_str(), wall,
              static_cast<double>(records) / wall, cpu, static_cast<double>(records) / cpu);
  std::printf("         peak anon %6.1f MB (%.2fx the field's UTF-16 data, %.2fx its stored data), max resident "
              "%6.1f MB\n",
              peak, peak / data.utf16MB, peak / data.storedMB, maxResident);
  std::printf("         last run's tally: %s", tally.c_str());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  size_t records = 1000000;
  int repetitions = 3;
  std::string only;
  for (int n = 1; n + 1 < argc; n += 2) {
    const std::string option = argv[n];
    if (option == "--records") records = std::stoul(argv[n + 1]);
    else if (option == "--repetitions") repetitions = std::stoi(argv[n + 1]);
    else if (option == "--only") only = argv[n + 1];
    else {
      std::cerr << "unknown option " << option << "\n";
      return 2;
    }
  }
  const FieldData data = NameData(records);
  std::printf("%zu records; Name data: %.0f characters, %.1f MB as UTF-16, %.1f MB stored; %d repetitions, "
              "medians\n",
              records, data.characters, data.utf16MB, data.storedMB, repetitions);
  const std::vector<Case> cases{{"run", false, false}, {"dry", false, true}, {"indexed", true, false}};
  bool allRan = true;
  for (const Case& run : cases) {
    if (!only.empty() && only != run.name) continue;
    const auto fixture = MakeFixture(records, run.indexed);
    allRan = Measure(run, fixture, records, repetitions, data) && allRan;
  }
  return allRan ? 0 : 1;
}
