// The writer on the cleaning run's path through an indexed field: the "single spaces" change
// (runs of spaces become one) applied to the Text(50) column of every row of a generated table,
// each changed value written by its row identity from a scan as the writer benchmark does, with an
// ordinary index on the column and without one. Half the values hold runs of spaces, so half the
// rows change and, indexed, half the index's entries move.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "engine/transforms/Fundamental.h"
#include "jet/Creator.h"
#include "jet/Database.h"

namespace {

constexpr size_t kNameColumn = 1;

// Values of about 36 characters; every second one has runs of two spaces.
std::u16string Name(size_t n) {
  const std::u16string number = Main::FormatInteger(static_cast<int64_t>(n * 7919 % 1000003));
  if (n % 2 == 0) return u"Customer  " + number + u",  Main  Street  North";
  return u"Customer " + number + u", Main Street North side";
}

// The pristine tables, made once per process for each size and kind and removed at its end.
struct Fixtures {
  std::map<std::pair<size_t, bool>, std::filesystem::path> made;
  ~Fixtures() {
    for (const auto& [key, file] : made) std::filesystem::remove(file);
  }
};

// The pristine table of `rows` rows, with the index on Name or without; each run works on a copy.
const std::filesystem::path& Fixture(size_t rows, bool indexed) {
  static Fixtures fixtures;
  auto [place, fresh] = fixtures.made.try_emplace({rows, indexed});
  if (fresh) {
    place->second = std::filesystem::temp_directory_path() /
                    ("quorvane_indexed_bench_" + std::to_string(rows) + (indexed ? "_indexed.mdb" : "_plain.mdb"));
    auto creator = Jet::CreateDatabase(place->second, Jet::FileFormat::Jet4);
    Jet::TableSpec table{u"Big", {{u"Id", Jet::FieldType::LongInteger}, {u"Name", Jet::FieldType::Text, 50}}};
    if (indexed) table.indexes.push_back(Jet::IndexSpec{u"ByName", {{u"Name"}}});
    creator.AddTable(table);
    creator.InsertGenerated(u"Big", rows, [](size_t n, Jet::Row& row) {
      row.assign({Main::Value::Integer(static_cast<int64_t>(n)), Main::Value::Text(Name(n))});
    });
    creator.Close();
  }
  return place->second;
}

// Opens the file read-write, scans every row's identity and value, and writes each value that the
// change alters; closing flushes and syncs. Returns the number of rows changed.
size_t CleanEveryRow(const std::filesystem::path& file) {
  Jet::OpenOptions options;
  options.readWrite = true;
  auto database = Jet::Database::Open(file, options);
  const auto table = database->Table(u"Big");
  std::vector<std::pair<Jet::RowId, std::u16string>> rows;
  std::u16string text;
  for (auto cursor = database->Scan(table); cursor->Next();) {
    cursor->GetText(kNameColumn, text);
    rows.emplace_back(cursor->Id(), text);
  }
  size_t changed = 0;
  for (const auto& [id, value] : rows) {
    const std::u16string cleaned = Fundamental::RemoveExtraSpaces(value);
    if (cleaned == value) continue;
    database->UpdateText(*table, id, kNameColumn, cleaned);
    ++changed;
  }
  return changed;
}

void CleanIndexedField(benchmark::State& state) {
  const auto rows = static_cast<size_t>(state.range(0));
  const bool indexed = state.range(1) != 0;
  const std::filesystem::path& pristine = Fixture(rows, indexed);
  const auto file = std::filesystem::temp_directory_path() / "quorvane_indexed_bench_run.mdb";
  size_t changed = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::copy_file(pristine, file, std::filesystem::copy_options::overwrite_existing);
    state.ResumeTiming();
    changed = CleanEveryRow(file);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * rows));
  state.counters["changed"] = static_cast<double>(changed);
  std::filesystem::remove(file);
}
BENCHMARK(CleanIndexedField)
    ->ArgNames({"rows", "indexed"})
    ->Args({1000000, 1})
    ->Args({1000000, 0})
    ->Args({100000, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
