// Databases made by the creator, read by mdbtools: the format, the user tables, the column
// declarations and every value must be what the engine reads. Skipped without mdbtools.
#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

#include "common/Text.h"
#include "jet/Creator.h"
#include "jet/Database.h"
#include "tests/jet/create/CreatedDatabase.h"
#include "tests/jet/oracle/MdbExportCell.h"
#include "tests/jet/oracle/MdbSchemaColumn.h"
#include "tests/jet/oracle/MdbTools.h"
#include "tests/jet/oracle/ProgramOutput.h"
#include "tools/samplemaker/SampleDatabase.h"

namespace Jet {
namespace {

using Main::Value;

#define REQUIRE_MDBTOOLS() \
  if (!Oracle::MdbToolsPresent()) GTEST_SKIP() << "mdbtools is not installed"

// The lines of `mdb-schema -T TABLE FILE mysql` that declare the table's indexes and primary key.
std::vector<std::string> MdbSchemaIndexLines(const std::filesystem::path& file, const std::string& table) {
  const auto result = Oracle::RunProgram({"mdb-schema", "-T", table, file.string(), "mysql"});
  if (!result || result->exitStatus != 0) throw std::runtime_error("mdb-schema failed on " + file.string());
  std::vector<std::string> lines;
  std::istringstream printed(result->standardOutput);
  for (std::string line; std::getline(printed, line);)
    if (line.starts_with("ALTER TABLE ") && line.find(" ADD ") != std::string::npos) lines.push_back(line);
  return lines;
}

// The same lines for the indexes the engine reads: primary key, unique and other indexes with
// their columns in order, descending ones marked.
std::vector<std::string> IndexLinesOf(const TableDefinition& table) {
  std::vector<std::string> lines;
  for (const Index& index : table.indexes) {
    std::string line = "ALTER TABLE `" + Main::ToUtf8(table.name) + "` ADD ";
    if (index.primaryKey)
      line += "PRIMARY KEY (";
    else
      line += std::string(index.unique ? "UNIQUE " : "") + "INDEX `" + Main::ToUtf8(index.name) + "` (";
    for (size_t n = 0; n < index.columns.size(); ++n) {
      const Column* column = nullptr;
      for (const Column& candidate : table.columns)
        if (candidate.number == index.columns[n].columnNumber) column = &candidate;
      if (column == nullptr) throw std::runtime_error("an index names a missing column");
      line += (n == 0 ? "`" : ", `") + Main::ToUtf8(column->name) + "`" + (index.columns[n].ascending ? "" : " DESC");
    }
    lines.push_back(line + ");");
  }
  return lines;
}

// Every cell of the table as mdb-export prints it against what the engine reads; the
// declarations and indexes as mdb-schema prints them against the engine's definition.
void ExpectMdbToolsAgree(const std::filesystem::path& file, std::u16string_view tableName,
                         const OpenOptions& options = {}) {
  const auto database = Database::Open(file, options);
  const auto table = database->Table(tableName);
  const std::string name = Main::ToUtf8(tableName);

  std::vector<Oracle::SchemaColumn> declared;
  for (const Column& column : table->columns) declared.push_back(Oracle::MdbSchemaDeclaration(column));
  EXPECT_EQ(Oracle::MdbSchemaColumns(file, name), declared) << name;
  EXPECT_EQ(MdbSchemaIndexLines(file, name), IndexLinesOf(*table)) << name;

  const std::vector<Oracle::CsvRecord> printed = Oracle::MdbExport(file, name);
  const Testing::Rows rows = Testing::ReadAll(*database, tableName);
  ASSERT_EQ(printed.size(), rows.size() + 1) << name;
  for (size_t column = 0; column < table->columns.size(); ++column)
    EXPECT_EQ(printed[0].at(column).text, Main::ToUtf8(table->columns[column].name));
  size_t mismatches = 0;
  for (size_t row = 0; row < rows.size(); ++row) {
    for (size_t column = 0; column < table->columns.size(); ++column) {
      const std::string mismatch = Oracle::CellMismatch(table->columns[column], printed[row + 1].at(column),
                                                        rows[row][column], database->Info().format);
      if (!mismatch.empty() && ++mismatches <= 10)
        ADD_FAILURE() << name << " row " << row + 1 << " column " << column << ": " << mismatch;
    }
  }
}

class CreatorAgainstMdbTools : public ::testing::TestWithParam<FileFormat> {};

INSTANTIATE_TEST_SUITE_P(Formats, CreatorAgainstMdbTools, ::testing::Values(FileFormat::Jet4, FileFormat::Ace12),
                         [](const auto& info) { return info.param == FileFormat::Jet4 ? "Jet4" : "Ace12"; });

TEST_P(CreatorAgainstMdbTools, FormatTablesDeclarationsAndValues) {
  REQUIRE_MDBTOOLS();
  const auto file = Testing::CreatorScratchDir() / "all.mdb";
  auto creator = CreateDatabase(file, GetParam());
  TableSpec everyType = Testing::EveryTypeTable(u"Every Type");
  everyType.indexes = {{u"PrimaryKey", {{u"Id"}}, true},
                       {u"Key", {{u"Key"}}, false, true, true},
                       {u"Mixed", {{u"Name"}, {u"Born", false}, {u"Amount"}, {u"Active", false}}}};
  creator.AddTable(everyType);
  creator.InsertRows(u"Every Type", Testing::EveryTypeRows());
  creator.AddTable({u"Nothing", {{u"Only", FieldType::Text, 1}}, {{u"Only", {{u"Only", false}}, false, true}}});
  creator.AddTable({u"Long", {{u"Memo", FieldType::Memo}, {u"Ole", FieldType::OleObject}}, {{u"Memo", {{u"Memo"}}}}});
  for (const size_t size : {10, 64, 65, 3000, 4076, 4077, 20000}) {
    std::u16string text(size, u'x');
    for (size_t n = 0; n < size; ++n) text[n] = static_cast<char16_t>(n % 3 == 0 ? u'é' : u'a' + n % 26);
    creator.InsertRow(u"Long", {Value::Text(text), Value::Binary(Main::Bytes(size, 0x5A))});
  }
  creator.AddTable({u"Pages",
                    {{u"Id", FieldType::AutoNumber}, {u"Label", FieldType::Text, 20}},
                    {{u"PrimaryKey", {{u"Id"}}, true}, {u"Label", {{u"Label", false}}}}});
  creator.InsertGenerated(u"Pages", 60000, [](size_t n, Row& row) {
    row.assign({Value(), Value::Text(u"row " + Main::FormatInteger(static_cast<int64_t>(n)))});
  });
  creator.AddSelectQuery({u"Names", u"Every Type", {u"Name"}});
  creator.AddLinkedTable({u"Elsewhere", u"C:\\Other.mdb", u"Remote"});
  creator.Close();

  EXPECT_EQ(Oracle::MdbVersion(file), GetParam() == FileFormat::Jet4 ? "JET4" : "ACE12");
  EXPECT_EQ(Oracle::MdbUserTables(file), (std::vector<std::string>{"Every Type", "Nothing", "Long", "Pages"}));
  for (const char16_t* table : {u"Every Type", u"Nothing", u"Long", u"Pages", u"MSysObjects", u"MSysQueries"})
    ExpectMdbToolsAgree(file, table);
}

TEST(CreatorAgainstMdbTools, APasswordProtectedFileIsReadable) {
  REQUIRE_MDBTOOLS();
  const auto file = Testing::CreatorScratchDir() / "secret.mdb";
  auto creator = CreateDatabase(file, FileFormat::Jet4, CreateOptions{u"Geheim"});
  creator.AddTable(Testing::EveryTypeTable(u"T"));
  creator.InsertRows(u"T", Testing::EveryTypeRows());
  creator.Close();
  EXPECT_EQ(Oracle::MdbVersion(file), "JET4");
  EXPECT_EQ(Oracle::MdbUserTables(file), (std::vector<std::string>{"T"}));
  ExpectMdbToolsAgree(file, u"T", OpenOptions{u"Geheim"});
}

TEST(CreatorAgainstMdbTools, TheSampleDatabase) {
  REQUIRE_MDBTOOLS();
  const auto file = Testing::CreatorScratchDir() / "sample.mdb";
  SampleMaker::MakeSampleDatabase(file);
  EXPECT_EQ(Oracle::MdbVersion(file), "JET4");
  EXPECT_EQ(Oracle::MdbUserTables(file),
            (std::vector<std::string>{"Customers", "Products", "Contact Log", "Archive"}));
  for (const char16_t* table :
       {SampleMaker::kCustomers, SampleMaker::kProducts, SampleMaker::kContacts, SampleMaker::kArchive})
    ExpectMdbToolsAgree(file, table);
}

}  // namespace
}  // namespace Jet
