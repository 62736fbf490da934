// Scan speed of the engine beside mdbtools' libmdb on the same corpus tables, in rows per
// second (items/s). The engine decodes every cell into a Main::Value; libmdb converts every
// bound cell to text (its only way to hand out values), OLE objects only as their 4-byte header.
#include <benchmark/benchmark.h>
#include <mdbtools.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/Text.h"
#include "jet/Creator.h"
#include "jet/Database.h"
#include "jet/JetError.h"

namespace {

// A table to scan: a corpus file's, or one the creator makes (file is then empty).
struct ScannedTable {
  const char* file;
  const char* table;
};

// The table with the most rows (512: a Long Integer and two Text columns) and the widest one (one
// row of 74 columns: Yes/No, numbers, dates, text, nine memos and an OLE object).
constexpr ScannedTable kMostRows{"V2000/compIndexTestV2000.mdb", "Table1"};
constexpr ScannedTable kWidest{"V2000/test2V2000.mdb", "MSP_PROJECTS"};
// A million rows of a Long Integer, a Text(50), a Currency and a Date/Time, made once per run.
constexpr ScannedTable kMillion{"", "Million"};

std::filesystem::path MillionRowFile() {
  static const std::filesystem::path file = [] {
    const auto path = std::filesystem::temp_directory_path() / "quorvane_scan_bench_million.mdb";
    auto db = Jet::CreateDatabase(path, Jet::FileFormat::Jet4);
    db.AddTable({u"Million",
                 {{u"Id", Jet::FieldType::LongInteger},
                  {u"Name", Jet::FieldType::Text, 50},
                  {u"Amount", Jet::FieldType::Currency},
                  {u"When", Jet::FieldType::DateTime}}});
    db.InsertGenerated(u"Million", 1'000'000, [](size_t n, Jet::Row& row) {
      row = {Main::Value::Integer(static_cast<int64_t>(n)),
             Main::Value::Text(u"Customer number " + Main::FromUtf8(std::to_string(n))),
             Main::Value::Money({static_cast<int64_t>(n) * 125}),
             Main::Value::Date({40000.0 + static_cast<double>(n % 5000)})};
    });
    db.Close();
    return path;
  }();
  return file;
}

std::filesystem::path CorpusFile(const ScannedTable& scanned) {
  if (scanned.file[0] == '\0') return MillionRowFile();
  const char* folder = std::getenv("QUORVANE_CORPUS");
  return std::filesystem::path(folder != nullptr ? folder : QUORVANE_DEFAULT_CORPUS) / scanned.file;
}

void EngineScan(benchmark::State& state, ScannedTable scanned) {
  std::unique_ptr<Jet::Database> database;
  std::shared_ptr<const Jet::TableDefinition> table;
  try {
    database = Jet::Database::Open(CorpusFile(scanned));
    table = database->Table(Main::FromUtf8(scanned.table));
  } catch (const Main::Error& error) {
    state.SkipWithError(error.what());
    return;
  }
  int64_t rows = 0;
  for (auto _ : state) {
    const std::unique_ptr<Jet::RowCursor> cursor = database->Scan(table);
    while (cursor->Next()) {
      for (size_t column = 0; column < table->columns.size(); ++column) {
        benchmark::DoNotOptimize(cursor->Get(column));
      }
      ++rows;
    }
  }
  state.SetItemsProcessed(rows);
}

// libmdb's handle and table definition, released in the right order.
struct MdbTable {
  MdbHandle* handle = nullptr;
  MdbTableDef* table = nullptr;
  ~MdbTable() {
    if (table != nullptr) mdb_free_tabledef(table);
    if (handle != nullptr) mdb_close(handle);
  }
};

void LibMdbScan(benchmark::State& state, ScannedTable scanned) {
  MdbTable mdb;
  mdb.handle = mdb_open(CorpusFile(scanned).c_str(), MDB_NOFLAGS);
  if (mdb.handle == nullptr || !mdb_read_catalog(mdb.handle, MDB_ANY)) {
    state.SkipWithError("libmdb cannot open the file");
    return;
  }
  std::string name = scanned.table;
  mdb.table = mdb_read_table_by_name(mdb.handle, name.data(), MDB_TABLE);
  if (mdb.table == nullptr) {
    state.SkipWithError("libmdb cannot find the table");
    return;
  }
  mdb_read_columns(mdb.table);
  const unsigned columns = mdb.table->num_cols;
  std::vector<std::vector<char>> values(columns, std::vector<char>(MDB_BIND_SIZE));
  std::vector<int> lengths(columns);
  for (unsigned column = 0; column < columns; ++column) {
    mdb_bind_column(mdb.table, static_cast<int>(column + 1), values[column].data(), &lengths[column]);
  }
  int64_t rows = 0;
  for (auto _ : state) {
    mdb_rewind_table(mdb.table);
    while (mdb_fetch_row(mdb.table)) {
      benchmark::DoNotOptimize(values.front().data());
      ++rows;
    }
  }
  state.SetItemsProcessed(rows);
}

BENCHMARK_CAPTURE(EngineScan, MostRows, kMostRows);
BENCHMARK_CAPTURE(LibMdbScan, MostRows, kMostRows);
BENCHMARK_CAPTURE(EngineScan, Widest, kWidest);
BENCHMARK_CAPTURE(LibMdbScan, Widest, kWidest);
BENCHMARK_CAPTURE(EngineScan, GeneratedMillion, kMillion)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LibMdbScan, GeneratedMillion, kMillion)->Unit(benchmark::kMillisecond);

}  // namespace
