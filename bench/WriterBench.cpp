// The writer on the cleaning run's path: a new value for the Text(50) column of every row of a
// million-row table, each written by its row identity from a scan (half the values grow by five
// characters, so their rows move); a new value five characters shorter for every second row (as a
// run that removes doubled spaces changes half the records, each row written where it lies);
// beside the engine's scan of the same table alone; and the cost of a single update, the first of
// a session (which first looks for copies of moved rows left behind by a killed writer) against a
// later one.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "jet/Creator.h"
#include "jet/Database.h"

namespace {

constexpr size_t kRows = 1000000;
constexpr size_t kNameColumn = 1;

// "Customer 0000042, Main Street" style values of 30 characters.
std::u16string Name(const char16_t* prefix, size_t n, bool longer) {
  std::u16string text = prefix;
  std::u16string digits = Main::FormatInteger(static_cast<int64_t>(n));
  text.append(7 - digits.size(), u'0').append(digits).append(u", Main Street ");
  text.resize(30, u'.');
  if (longer) text += u" Lane";
  return text;
}

std::filesystem::path FixturePath(const char* name) { return std::filesystem::temp_directory_path() / name; }

// Made in a child process, so that the creator's memory does not count in this process's peak.
void MakeFixture(const std::filesystem::path& file) {
  const pid_t child = fork();
  if (child == 0) {
    auto creator = Jet::CreateDatabase(file, Jet::FileFormat::Jet4);
    creator.AddTable({u"Big", {{u"Id", Jet::FieldType::LongInteger}, {u"Name", Jet::FieldType::Text, 50}}});
    creator.InsertGenerated(u"Big", kRows, [](size_t n, Jet::Row& row) {
      row.assign({Main::Value::Integer(static_cast<int64_t>(n)), Main::Value::Text(Name(u"Customer ", n, false))});
    });
    creator.Close();
    std::_Exit(0);
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    std::abort();
}

double PeakMemoryMB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

std::unique_ptr<Jet::Database> OpenForWriting(const std::filesystem::path& file) {
  Jet::OpenOptions options;
  options.readWrite = true;
  return Jet::Database::Open(file, options);
}

// A new value for every row, every second one 5 characters longer, so that rows move.
void UpdateAll(const std::filesystem::path& file) {
  auto database = OpenForWriting(file);
  const auto table = database->Table(u"Big");
  std::vector<Jet::RowId> ids;
  ids.reserve(kRows);
  for (auto cursor = database->Scan(table); cursor->Next();) ids.push_back(cursor->Id());
  for (size_t n = 0; n < ids.size(); ++n)
    database->UpdateText(*table, ids[n], kNameColumn, Name(u"Cleaned  ", n, n % 2 == 1));
}  // closing flushes and syncs

// Every second row's value 5 characters shorter, written while the scan walks the table, as the
// cleaning run writes a changed record.
void ShortenHalf(const std::filesystem::path& file) {
  auto database = OpenForWriting(file);
  const auto table = database->Table(u"Big");
  size_t n = 0;
  for (auto cursor = database->Scan(table); cursor->Next(); ++n) {
    if (n % 2 == 0) continue;
    std::u16string shorter = Name(u"Customer ", n, false);
    shorter.resize(shorter.size() - 5);
    database->UpdateText(*table, cursor->Id(), kNameColumn, shorter);
  }
}

// The whole of `update` on a fresh fixture each iteration, with the file's growth and the peak.
void MeasureUpdates(benchmark::State& state, const char* fixture, void (*update)(const std::filesystem::path&)) {
  const auto file = FixturePath(fixture);
  double growthMB = 0;
  for (auto _ : state) {
    state.PauseTiming();
    MakeFixture(file);
    const auto before = std::filesystem::file_size(file);
    state.ResumeTiming();
    update(file);
    state.PauseTiming();
    growthMB = static_cast<double>(std::filesystem::file_size(file) - before) / 1e6;
    state.ResumeTiming();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kRows));
  state.counters["file_growth_MB"] = growthMB;
  state.counters["peak_rss_MB"] = PeakMemoryMB();
  std::filesystem::remove(file);
}

void UpdateEveryRow(benchmark::State& state) { MeasureUpdates(state, "quorvane_writer_bench.mdb", UpdateAll); }
BENCHMARK(UpdateEveryRow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// Items are the rows scanned (a million), half of them changed.
void ShortenEveryOtherRow(benchmark::State& state) {
  MeasureUpdates(state, "quorvane_writer_bench_shorten.mdb", ShortenHalf);
}
BENCHMARK(ShortenEveryOtherRow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// One update of the table, the first of its session (`first` 1) -- which first walks every data
// page of the table looking for copies of moved rows that no pointer names -- or the second
// (`first` 0); on the fresh table or on one an earlier session updated row by row as
// UpdateEveryRow does (`moved` 1), where the walk follows the pointers of the rows that moved.
// Nothing is left to remove in either.
void OneUpdate(benchmark::State& state) {
  const bool moved = state.range(0) != 0;
  const bool first = state.range(1) != 0;
  const auto file = FixturePath("quorvane_writer_bench_one.mdb");
  MakeFixture(file);
  if (moved) UpdateAll(file);
  for (auto _ : state) {
    state.PauseTiming();
    auto database = OpenForWriting(file);
    const auto table = database->Table(u"Big");
    auto cursor = database->Scan(table);
    cursor->Next();
    const Jet::RowId id = cursor->Id();
    if (!first) database->UpdateText(*table, id, kNameColumn, Name(u"Warm     ", 0, false));
    state.ResumeTiming();
    database->UpdateText(*table, id, kNameColumn, Name(u"Once     ", 0, false));
    state.PauseTiming();
    database.reset();
    state.ResumeTiming();
  }
  std::filesystem::remove(file);
}
BENCHMARK(OneUpdate)->ArgNames({"moved", "first"})->Args({0, 1})->Args({0, 0})->Args({1, 1})->Args({1, 0})
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void ScanOnly(benchmark::State& state) {
  const auto file = FixturePath("quorvane_writer_bench_scan.mdb");
  MakeFixture(file);
  const auto database = Jet::Database::Open(file);
  const auto table = database->Table(u"Big");
  for (auto _ : state) {
    size_t characters = 0;
    for (auto cursor = database->Scan(table); cursor->Next();) characters += cursor->Get(kNameColumn).AsText().size();
    benchmark::DoNotOptimize(characters);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kRows));
  std::filesystem::remove(file);
}
BENCHMARK(ScanOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace
