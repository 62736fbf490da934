// How fast the creator makes a large table (the bulk path other benchmarks use to make their
// fixtures): a million rows of a few columns, written to a file and flushed.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "jet/Creator.h"

namespace {

void MakeTable(benchmark::State& state) {
  const auto rows = static_cast<size_t>(state.range(0));
  const auto file = std::filesystem::temp_directory_path() / "quorvane_creator_bench.mdb";
  for (auto _ : state) {
    auto creator = Jet::CreateDatabase(file, Jet::FileFormat::Jet4);
    creator.AddTable({u"Big",
                      {{u"Id", Jet::FieldType::AutoNumber},
                       {u"Name", Jet::FieldType::Text, 40},
                       {u"Amount", Jet::FieldType::Double},
                       {u"Active", Jet::FieldType::YesNo}}});
    creator.InsertGenerated(u"Big", rows, [](size_t n, Jet::Row& row) {
      row.assign({Main::Value(), Main::Value::Text(u"  Name " + Main::FormatInteger(static_cast<int64_t>(n)) + u"  "),
                  Main::Value::Double(static_cast<double>(n) / 2), Main::Value::Boolean(n % 2 == 0)});
    });
    creator.Close();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * rows));
  state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(file)) / 1e6;
  std::filesystem::remove(file);
}
BENCHMARK(MakeTable)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
