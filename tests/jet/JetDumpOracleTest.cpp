// jetdump's CSV against mdb-export's for tables that hold every kind of value the corpus has.
#include <gtest/gtest.h>

#include <sstream>

#include "common/Text.h"
#include "jet/Database.h"
#include "tests/jet/oracle/Corpus.h"
#include "tests/jet/oracle/JetDumpField.h"
#include "tests/jet/oracle/MdbExportCell.h"
#include "tests/jet/oracle/MdbTools.h"
#include "tools/jetdump/Commands.h"

namespace Oracle {
namespace {

struct ExportedTable {
  const char* file;
  const char* table;
};

// Text, numbers of every size, currency, dates, Yes/No, memo, OLE, binary, replication ids,
// decimals, dates before 1900, Jet3 code-page text.
constexpr ExportedTable kTables[] = {
    {"V1997/testV1997.mdb", "Table1"},
    {"V1997/testIndexCodesV1997.mdb", "Table5"},
    {"V2000/testV2000.mdb", "Table1"},
    {"V2000/testV2000.mdb", "Table4"},
    {"V2000/test2V2000.mdb", "MSP_PROJECTS"},
    {"V2000/fixedNumericTestV2000.mdb", "test"},
    {"V2007/oldDatesV2007.accdb", "Table1"},
    {"V2007/compIndexTestV2007.accdb", "MSysCompactError"},
};

std::string JetDumpExport(const std::filesystem::path& file, const std::string& table) {
  JetDump::Command command;
  command.action = JetDump::Command::Action::Export;
  command.file = file;
  command.table = Main::FromUtf8(table);
  std::ostringstream out;
  JetDump::RunCommand(command, out);
  return out.str();
}

TEST(JetDumpOracle, ExportEqualsMdbExport) {
  const auto folder = CorpusFolder();
  if (!folder) GTEST_SKIP() << "QUORVANE_CORPUS does not name a folder";
  if (!MdbToolsPresent()) GTEST_SKIP() << "mdbtools is not installed";
  for (const ExportedTable& exported : kTables) {
    const std::filesystem::path file = *folder / exported.file;
    SCOPED_TRACE(file.string() + " " + exported.table);
    if (!std::filesystem::exists(file)) continue;

    const std::string csv = JetDumpExport(file, exported.table);
    EXPECT_TRUE(csv.ends_with("\r\n"));
    const std::vector<CsvRecord> ours = ParseCsv(csv);
    const std::vector<CsvRecord> theirs = MdbExport(file, exported.table);
    ASSERT_FALSE(ours.empty());
    ASSERT_EQ(ours.size(), theirs.size()) << "records";
    ASSERT_EQ(ours.front(), theirs.front()) << "header";

    const auto database = Jet::Database::Open(file);
    const auto table = database->Table(Main::FromUtf8(exported.table));
    for (size_t row = 1; row < ours.size(); ++row) {
      ASSERT_EQ(ours[row].size(), table->columns.size()) << "row " << row;
      for (size_t column = 0; column < ours[row].size(); ++column) {
        const Jet::Column& definition = table->columns[column];
        EXPECT_EQ(CellMismatch(definition, theirs[row][column],
                               ValueFromJetDumpField(definition, ours[row][column]),
                               database->Info().format),
                  "")
            << "row " << row << ", column " << Main::ToUtf8(definition.name);
      }
    }
  }
}

}  // namespace
}  // namespace Oracle
