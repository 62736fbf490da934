// The engine against mdbtools on every file of the corpus: the user tables must be those
// `mdb-tables -1` lists and every row of every user table what `mdb-export` prints.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

#include "common/Text.h"
#include "jet/Database.h"
#include "jet/JetError.h"
#include "tests/jet/oracle/Corpus.h"
#include "tests/jet/oracle/LibMdbCatalog.h"
#include "tests/jet/oracle/MdbExportCell.h"
#include "tests/jet/oracle/MdbSchemaColumn.h"
#include "tests/jet/oracle/MdbTools.h"

namespace Oracle {
namespace {

// More mismatches than this in one table are counted, not listed.
constexpr size_t kMismatchesListed = 20;

using Row = std::vector<Main::Value>;

std::vector<Row> ReadAllRows(const Jet::Database& database,
                             const std::shared_ptr<const Jet::TableDefinition>& table) {
  std::vector<Row> rows;
  const std::unique_ptr<Jet::RowCursor> cursor = database.Scan(table);
  while (cursor->Next()) {
    Row& row = rows.emplace_back();
    for (size_t column = 0; column < table->columns.size(); ++column) {
      row.push_back(cursor->Get(column));
    }
  }
  return rows;
}

// Compares the rows read with the records mdb-export printed, cell by cell.
struct RowComparison {
  const Jet::TableDefinition& table;
  Jet::FileFormat format;

  // The differing cells, row by row in the same order, or empty.
  std::string DifferencesInOrder(const std::vector<Row>& rows,
                                 const std::vector<CsvRecord>& printed) const {
    std::string report;
    size_t count = 0;
    for (size_t row = 0; row < std::min(rows.size(), printed.size()); ++row) {
      for (size_t column = 0; column < table.columns.size(); ++column) {
        const std::string mismatch = Mismatch(rows[row], printed[row], column);
        if (!mismatch.empty() && ++count <= kMismatchesListed) {
          report += "row " + std::to_string(row + 1) + ", column " +
                    Main::ToUtf8(table.columns[column].name) + ": " + mismatch + "\n";
        }
      }
    }
    if (count > kMismatchesListed) report += std::to_string(count) + " cells differ in all\n";
    return report;
  }

  // The rows read that no printed record matches in every cell, or empty.
  std::string UnmatchedRows(const std::vector<Row>& rows,
                            const std::vector<CsvRecord>& printed) const {
    std::vector<bool> used(printed.size(), false);
    std::string report;
    for (size_t row = 0; row < rows.size(); ++row) {
      bool matched = false;
      for (size_t candidate = 0; candidate < printed.size() && !matched; ++candidate) {
        if (used[candidate] || !SameRow(rows[row], printed[candidate])) continue;
        used[candidate] = matched = true;
      }
      if (!matched) report += "row " + std::to_string(row + 1) + " matches no printed record\n";
    }
    return report;
  }

 private:
  std::string Mismatch(const Row& row, const CsvRecord& record, size_t column) const {
    return CellMismatch(table.columns[column], record[column], row[column], format);
  }

  bool SameRow(const Row& row, const CsvRecord& record) const {
    for (size_t column = 0; column < table.columns.size(); ++column) {
      if (!Mismatch(row, record, column).empty()) return false;
    }
    return true;
  }
};

// One corpus file, or one user table of it, as a test case.
struct CorpusCase {
  std::filesystem::path file;  // relative to the corpus folder; empty: no corpus to test
  std::string table;           // empty for a file case
  std::string name;            // the case's name in the test list
};

void PrintTo(const CorpusCase& corpusCase, std::ostream* out) {
  *out << corpusCase.file.string() << (corpusCase.table.empty() ? "" : " " + corpusCase.table);
}

// The folder to list the cases from. ctest lists the tests without the environment it runs
// them in, so listing falls back to the folder the build names; each test itself reads
// QUORVANE_CORPUS and skips without it.
std::optional<std::filesystem::path> ListingFolder() {
  if (auto folder = CorpusFolder()) return folder;
  std::error_code error;
  const std::filesystem::path fallback = QUORVANE_DEFAULT_CORPUS;
  if (std::filesystem::is_directory(fallback, error)) return fallback;
  return std::nullopt;
}

// Letters and digits kept, everything else an underscore, made unique among `used`.
std::string UniqueName(const std::string& text, std::set<std::string>& used) {
  std::string name;
  for (const unsigned char c : text) name.push_back(std::isalnum(c) ? static_cast<char>(c) : '_');
  std::string unique = name;
  for (int n = 2; !used.insert(unique).second; ++n) unique = name + "_" + std::to_string(n);
  return unique;
}

std::vector<CorpusCase> ListCases(bool perTable) {
  std::vector<CorpusCase> cases;
  std::set<std::string> used;
  const auto folder = ListingFolder();
  if (folder && MdbToolsPresent()) {
    for (const std::filesystem::path& file : CorpusFiles(*folder)) {
      if (!perTable) {
        cases.push_back({file, {}, UniqueName(file.string(), used)});
        continue;
      }
      for (const std::string& table : LibMdbUserTables(*folder / file)) {
        cases.push_back({file, table, UniqueName(file.string() + "_" + table, used)});
      }
    }
  }
  if (cases.empty()) cases.push_back({{}, {}, "NoCorpus"});
  return cases;
}

// Where mdbtools returns rows in another order than Access. mdbtools reads a row that was moved
// to another page on that page, where it comes across it, while Access (and the engine) return
// it at its original place. In overflowTestV2000.mdb Table1 rows 3 and 5 moved to pages mdbtools
// reads after the others, so it prints them last; the overflowTest files of the other versions
// keep the order. For that table the rows are matched regardless of their order.
bool HoldsMovedRows(const CorpusCase& corpusCase) {
  return corpusCase.file == std::filesystem::path("V2000") / "overflowTestV2000.mdb" &&
         corpusCase.table == "Table1";
}

std::string CaseName(const testing::TestParamInfo<CorpusCase>& info) { return info.param.name; }

// Opens the case's file, skipping when the corpus or mdbtools is absent.
class CorpusTest : public testing::TestWithParam<CorpusCase> {
 protected:
  void SetUp() override {
    const auto folder = CorpusFolder();
    if (!folder) GTEST_SKIP() << "QUORVANE_CORPUS does not name a folder";
    if (!MdbToolsPresent()) GTEST_SKIP() << "mdbtools is not installed";
    if (GetParam().file.empty()) GTEST_SKIP() << "no corpus files were listed";
    file_ = *folder / GetParam().file;
    if (!std::filesystem::exists(file_)) GTEST_SKIP() << file_ << " is missing";
    try {
      database_ = Jet::Database::Open(file_);
    } catch (const Main::Error& error) {
      FAIL() << "Open failed with " << error.Number() << ": " << error.what();
    }
  }

  std::filesystem::path file_;
  std::unique_ptr<Jet::Database> database_;
};

class CorpusFileTest : public CorpusTest {};
class CorpusTableTest : public CorpusTest {};

TEST_P(CorpusFileTest, UserTablesAreThoseMdbTablesLists) {
  std::vector<std::string> expected = MdbUserTables(file_);
  std::vector<std::string> read;
  for (const Jet::CatalogEntry& entry : database_->TablesRowset()) {
    if (entry.type == u"TABLE") read.push_back(Main::ToUtf8(entry.name));
  }
  // mdb-tables lists in catalogue order, the rowset by name.
  std::sort(expected.begin(), expected.end());
  std::sort(read.begin(), read.end());
  EXPECT_EQ(read, expected);
}

TEST_P(CorpusFileTest, FormatIsTheOneMdbVerNames) {
  std::string format = Main::ToUtf8(Jet::FormatName(database_->Info().format));
  std::transform(format.begin(), format.end(), format.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  EXPECT_EQ(format, MdbVersion(file_));
}

TEST_P(CorpusFileTest, RowsetIsOrderedByTypeThenNameIgnoringCase) {
  const auto key = [](const Jet::CatalogEntry& entry) {
    std::u16string name = entry.name;
    for (char16_t& c : name) {
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return std::make_pair(entry.type, name);
  };
  const std::vector<Jet::CatalogEntry> rowset = database_->TablesRowset();
  for (size_t i = 1; i < rowset.size(); ++i) {
    EXPECT_LE(key(rowset[i - 1]), key(rowset[i]))
        << Main::ToUtf8(rowset[i - 1].type) << " " << Main::ToUtf8(rowset[i - 1].name)
        << " comes before " << Main::ToUtf8(rowset[i].type) << " " << Main::ToUtf8(rowset[i].name);
  }
}

TEST_P(CorpusTableTest, RowsAreThoseMdbExportPrints) {
  const std::string& tableName = GetParam().table;
  const std::vector<CsvRecord> printed = MdbExport(file_, tableName);
  ASSERT_FALSE(printed.empty()) << "mdb-export printed no header";
  std::shared_ptr<const Jet::TableDefinition> table;
  try {
    table = database_->Table(Main::FromUtf8(tableName));
  } catch (const Main::Error& error) {
    FAIL() << "Table failed with " << error.Number() << ": " << error.what();
  }

  std::vector<std::string> columnNames, printedNames;
  for (const Jet::Column& column : table->columns) columnNames.push_back(Main::ToUtf8(column.name));
  for (const CsvField& field : printed.front()) printedNames.push_back(field.text);
  ASSERT_EQ(columnNames, printedNames);
  for (size_t row = 1; row < printed.size(); ++row) {
    ASSERT_EQ(printed[row].size(), columnNames.size()) << "mdb-export's record " << row;
  }

  std::vector<Row> rows;
  try {
    rows = ReadAllRows(*database_, table);
  } catch (const Main::Error& error) {
    FAIL() << "Scan failed with " << error.Number() << ": " << error.what();
  }
  const std::vector<CsvRecord> printedRows(printed.begin() + 1, printed.end());
  const RowComparison comparison{*table, database_->Info().format};
  if (HoldsMovedRows(GetParam())) {
    EXPECT_EQ(comparison.UnmatchedRows(rows, printedRows), "");
  } else {
    EXPECT_EQ(comparison.DifferencesInOrder(rows, printedRows), "");
  }
  EXPECT_EQ(rows.size(), printedRows.size()) << "rows read vs rows mdb-export printed";
}

// The declarations mdb-schema prints and the engine's, for the columns of the case's table.
void ReadDeclarations(const Jet::Database& database, const std::filesystem::path& file,
                      const std::string& tableName, std::vector<SchemaColumn>& printed,
                      std::vector<SchemaColumn>& read) {
  printed = MdbSchemaColumns(file, tableName);
  for (const Jet::Column& column : database.Table(Main::FromUtf8(tableName))->columns) {
    read.push_back(MdbSchemaDeclaration(column));
  }
}

TEST_P(CorpusTableTest, ColumnsAreThoseMdbSchemaDeclares) {
  std::vector<SchemaColumn> printed, read;
  ReadDeclarations(*database_, file_, GetParam().table, printed, read);
  EXPECT_EQ(read, printed);
}

// mdb-schema's NOT NULL: the designer's Required, and every Yes/No column (which holds no Null).
TEST_P(CorpusTableTest, RequiredColumnsAreThoseMdbSchemaDeclaresNotNull) {
  std::vector<std::string> read;
  for (const Jet::Column& column : database_->Table(Main::FromUtf8(GetParam().table))->columns) {
    if (!column.nullable || column.type == Jet::ColumnType::Boolean) read.push_back(Main::ToUtf8(column.name));
  }
  EXPECT_EQ(read, MdbSchemaNotNullColumns(file_, GetParam().table));
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusFileTest, testing::ValuesIn(ListCases(false)), CaseName);
INSTANTIATE_TEST_SUITE_P(Corpus, CorpusTableTest, testing::ValuesIn(ListCases(true)), CaseName);

}  // namespace
}  // namespace Oracle
