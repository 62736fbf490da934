// The main window's preview through the access layer: a record set "SELECT `f` FROM `t`" opened
// on a table and its first 101 values read, on a million-row table beside a 101-row one. The
// record set is a lazy snapshot, so both should cost about the same.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "common/Text.h"
#include "database/access/Connection.h"
#include "database/access/RecordSet.h"
#include "jet/Creator.h"

namespace {

constexpr size_t kPreviewRows = 101;

std::filesystem::path MakeFixture(size_t rows) {
  const auto file = std::filesystem::temp_directory_path() / ("quorvane_preview_bench_" + std::to_string(rows) + ".mdb");
  auto creator = Jet::CreateDatabase(file, Jet::FileFormat::Jet4);
  creator.AddTable({u"t", {{u"Id", Jet::FieldType::LongInteger}, {u"f", Jet::FieldType::Text, 50}}});
  creator.InsertGenerated(u"t", rows, [](size_t n, Jet::Row& row) {
    row.assign({Main::Value::Integer(static_cast<int64_t>(n)),
                Main::Value::Text(u"  Preview value " + Main::FormatInteger(static_cast<int64_t>(n)) + u"  ")});
  });
  creator.Close();
  return file;
}

void PreviewFirstRows(benchmark::State& state) {
  const auto file = MakeFixture(static_cast<size_t>(state.range(0)));
  Access::Connection connection;
  connection.Open(u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + Main::FromUtf8(file.string()));
  for (auto _ : state) {
    Access::RecordSet records;
    records.Open(u"SELECT `f` FROM `t`", connection, Access::kCursorStatic, Access::kLockReadOnly);
    size_t characters = 0;
    for (size_t n = 0; n < kPreviewRows && !records.Eof(); ++n, records.MoveNext())
      characters += records.Value(size_t{0}).AsText().size();
    benchmark::DoNotOptimize(characters);
    records.Close();
  }
  connection.Close();
  std::filesystem::remove(file);
}
BENCHMARK(PreviewFirstRows)->Arg(101)->Arg(1000000)->Unit(benchmark::kMicrosecond);

}  // namespace
