// The cleaning run driven without windows over a generated table: "Remove All Spaces Except for
// Single Spaces Between Words" on a Text field where every second value changes. Once with the
// run's 0.1 s pause every 500 records, once with the pause switched off to show the run's own
// rate. Then the same run through quorvane-clean's program (its observer, counts and progress
// lines), for real and as a trial. Reports records/s and the process's peak memory.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <sstream>

#include "common/ErrorReport.h"
#include "common/Pause.h"
#include "common/Text.h"
#include "common/ui/MemoryProgressView.h"
#include "engine/CleaningRun.h"
#include "engine/OperationCatalogue.h"
#include "jet/Creator.h"
#include "tests/support/ScriptedControls.h"
#include "tests/support/ScriptedDialogs.h"
#include "tools/clean/Program.h"

namespace {

using Main::Value;

class FileChoice : public Access1::DatabaseChoice {
 public:
  explicit FileChoice(std::filesystem::path file) : file_(std::move(file)) {}
  std::u16string DatabasePath() const override { return Main::FromUtf8(file_.string()); }
  std::u16string DatabasePassword() const override { return {}; }

 private:
  std::filesystem::path file_;
};

// The fixture of `records` rows, made once per size and copied before each run.
std::filesystem::path Fixture(size_t records) {
  const auto file = std::filesystem::temp_directory_path() /
                    ("quorvane_run_bench_" + std::to_string(records) + ".mdb");
  if (std::filesystem::exists(file)) return file;
  auto creator = Jet::CreateDatabase(file, Jet::FileFormat::Jet4);
  creator.AddTable({u"Big", {{u"Name", Jet::FieldType::Text, 60}, {u"Amount", Jet::FieldType::Double}}});
  creator.InsertGenerated(u"Big", records, [](size_t n, Jet::Row& row) {
    const std::u16string number = Main::FormatInteger(static_cast<int64_t>(n));
    row.assign({Value::Text(n % 2 == 0 ? u"  Name   " + number + u"  of the  list "
                                       : u"Name " + number + u" of the list"),
                Value::Double(static_cast<double>(n))});
  });
  creator.Close();
  return file;
}

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void CleanField(benchmark::State& state) {
  const auto records = static_cast<size_t>(state.range(0));
  const bool pauseOn = state.range(1) != 0;
  const auto fixture = Fixture(records);
  const auto file = std::filesystem::temp_directory_path() / "quorvane_run_bench_copy.mdb";
  Main::InstallErrorReporter([&](std::u16string_view text) { state.SkipWithError(Main::ToUtf8(text).c_str()); });

  Testing::ScriptedListView tables, fields(true), preview;
  Testing::ScriptedDropDownList operations;
  Testing::ScriptedWindowPointer pointer;
  Ui::MemoryProgressView progress;
  Testing::ScriptedInputBox input;
  Testing::ScriptedMessageBox messages;
  for (const Engine::Operation& operation : Engine::Operations()) operations.AddItem(operation.listText);
  operations.SetSelectedIndex(4);  // Remove All Spaces Except for Single Spaces Between Words
  tables.AddEntry(u"Big");
  fields.AddEntry(u"Name");
  FileChoice choice(file);
  Engine::CleaningRun run({tables, fields, operations, pointer, progress, preview}, {input, messages}, choice);
  if (!pauseOn) run.SetPause([](double) {});

  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::copy_file(fixture, file, std::filesystem::copy_options::overwrite_existing);
    state.ResumeTiming();
    run.Start();
  }
  state.counters["records_per_s"] =
      benchmark::Counter(static_cast<double>(records * state.iterations()), benchmark::Counter::kIsRate);
  state.counters["peak_MB"] = PeakMegabytes();
  std::filesystem::remove(file);
  Main::InstallErrorReporter({});
}

BENCHMARK(CleanField)
    ->ArgNames({"records", "pause"})
    ->Args({100000, 0})
    ->Args({1000000, 0})
    ->Args({100000, 1})
    ->Args({1000000, 1})
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(1);

void CleanFromCommandLine(benchmark::State& state) {
  const auto records = static_cast<size_t>(state.range(0));
  const bool trial = state.range(1) != 0;
  const auto fixture = Fixture(records);
  const auto file = std::filesystem::temp_directory_path() / "quorvane_run_bench_copy.mdb";
  std::vector<std::u16string> arguments{Main::FromUtf8(file.string()), u"--table", u"Big", u"--field", u"Name",
                                        u"--operation", u"5"};
  if (trial) arguments.emplace_back(u"--dry-run");

  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::copy_file(fixture, file, std::filesystem::copy_options::overwrite_existing);
    state.ResumeTiming();
    std::ostringstream out, err;
    Clean::Console console(out, err, false);
    if (Clean::RunProgram(arguments, console) != 0) state.SkipWithError(err.str().c_str());
  }
  state.counters["records_per_s"] =
      benchmark::Counter(static_cast<double>(records * state.iterations()), benchmark::Counter::kIsRate);
  state.counters["peak_MB"] = PeakMegabytes();
  std::filesystem::remove(file);
}

BENCHMARK(CleanFromCommandLine)
    ->ArgNames({"records", "dry_run"})
    ->Args({1000000, 0})
    ->Args({1000000, 1})
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(1);

}  // namespace
