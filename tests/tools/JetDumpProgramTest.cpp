#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tools/jetdump/Commands.h"

namespace JetDump {
namespace {

// What one run of the program printed and returned.
struct ProgramRun {
  int status = -1;
  std::string out;
  std::string err;
};

ProgramRun RunWith(const std::vector<std::string>& arguments) {
  std::ostringstream out, err;
  ProgramRun run;
  run.status = RunJetDump(arguments, out, err);
  run.out = out.str();
  run.err = err.str();
  return run;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(JetDumpProgram, AMalformedCommandLineExplainsTheUsage) {
  const ProgramRun run = RunWith({"columns", "a.mdb"});
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(run.out.empty());
  EXPECT_TRUE(Contains(run.err, "jetdump: The command needs a file and a table.")) << run.err;
  EXPECT_TRUE(Contains(run.err, "Usage:")) << run.err;
}

TEST(JetDumpProgram, AFailureGivesTheEnginesDescriptionAndStatusOne) {
  const std::filesystem::path missing =
      std::filesystem::temp_directory_path() / "jetdump-no-such-file.mdb";
  const ProgramRun notFound = RunWith({"tables", missing.string()});
  EXPECT_EQ(notFound.status, 1);
  EXPECT_TRUE(notFound.out.empty());
  EXPECT_EQ(notFound.err, "jetdump: Could not find file '" + missing.string() + "'.\n");

  const std::filesystem::path text = std::filesystem::temp_directory_path() / "jetdump-text.mdb";
  std::ofstream(text) << std::string(8192, 'x');
  const ProgramRun foreign = RunWith({"export", text.string(), "T"});
  std::filesystem::remove(text);
  EXPECT_EQ(foreign.status, 1);
  EXPECT_TRUE(Contains(foreign.err, "Unrecognized database format")) << foreign.err;
  EXPECT_FALSE(Contains(foreign.err, "Usage:"));
}

// The rest needs a real file: testV2000.mdb of the corpus.
class JetDumpOnCorpus : public testing::Test {
 protected:
  void SetUp() override {
    const char* corpus = std::getenv("QUORVANE_CORPUS");
    if (corpus == nullptr) GTEST_SKIP() << "QUORVANE_CORPUS is not set";
    file_ = std::filesystem::path(corpus) / "V2000" / "testV2000.mdb";
    if (!std::filesystem::exists(file_)) GTEST_SKIP() << file_ << " is missing";
  }
  std::filesystem::path file_;
};

TEST_F(JetDumpOnCorpus, ListsTablesWithTheirTypes) {
  const ProgramRun run = RunWith({"tables", file_.string()});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Contains(run.out, "TABLE\tTable1\nTABLE\tTable2\nTABLE\tTable3\nTABLE\tTable4\n"));
  EXPECT_TRUE(Contains(run.out, "SYSTEM TABLE\tMSysObjects\n"));
}

TEST_F(JetDumpOnCorpus, DescribesColumnsAsTheDesignerDoes) {
  const ProgramRun run = RunWith({"columns", file_.string(), "table1"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "A\tText\t50\tindexed\n"
            "B\tText\t100\tindexed\n"
            "C\tByte\t0\t\n"
            "D\tInteger\t0\t\n"
            "E\tLong Integer\t0\t\n"
            "F\tDouble\t0\t\n"
            "G\tDate/Time\t0\t\n"
            "H\tCurrency\t0\t\n"
            "I\tYes/No\t0\t\n");
}

TEST_F(JetDumpOnCorpus, ExportsRowsAsCsv) {
  const ProgramRun run = RunWith({"export", file_.string(), "Table1", "--password", ""});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "A,B,C,D,E,F,G,H,I\r\n"
            "\"abcdefg\",\"hijklmnop\",2,222,333333333,444.555,1974-09-21 00:00:00,3.5,1\r\n"
            "\"a\",\"b\",0,0,0,0,1981-12-12 00:00:00,0,0\r\n");
}

TEST_F(JetDumpOnCorpus, NamesAMissingTable) {
  const ProgramRun run = RunWith({"export", file_.string(), "NoSuchTable"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Contains(run.err, "NoSuchTable")) << run.err;
}

// The columns' Required property is kept with the table's other properties in MSysObjects, not in
// the definition's column flags. mdb-schema declares all ten columns of this table NOT NULL.
TEST_F(JetDumpOnCorpus, MarksTheColumnsTheDesignerRequires) {
  const std::filesystem::path file = file_.parent_path() / "fixedTextTestV2000.mdb";
  const ProgramRun run = RunWith({"columns", file.string(), "users"});
  EXPECT_EQ(run.status, 0) << run.err;
  std::istringstream lines(run.out);
  int described = 0;
  for (std::string line; std::getline(lines, line); ++described) {
    EXPECT_TRUE(line.ends_with("required")) << line;
  }
  EXPECT_EQ(described, 10);
}

// MSysComplexColumns points attach-data at MSysComplexType_Attachment, multi-value-data at
// MSysComplexType_Text and the version history at a MSysComplexTypeVH_ table; none of them is an
// AutoNumber although Access flags complex columns as numbered.
TEST_F(JetDumpOnCorpus, NamesAttachmentColumnsAndNoComplexAutoNumbers) {
  const std::filesystem::path file = file_.parent_path().parent_path() / "V2007" / "complexDataTestV2007.accdb";
  if (!std::filesystem::exists(file)) GTEST_SKIP() << file << " is missing";
  const ProgramRun run = RunWith({"columns", file.string(), "Table1"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "id\tText\t255\tindexed\n"
            "VersionHistory_F5F8918F-0A3F-4DA9-AE71-184EE5012880\tComplex\t0\tindexed\n"
            "memo-data\tMemo\t0\t\n"
            "append-memo-data\tMemo\t0\t\n"
            "multi-value-data\tComplex\t0\tindexed\n"
            "attach-data\tAttachment\t0\tindexed\n");
}

// The corpus's composite index file: Table1's index on a descending Long, 512 rows on two leaves
// under one root.
TEST_F(JetDumpOnCorpus, ListsEachIndexWithItsFieldsFlagsAndSize) {
  const std::filesystem::path corpus = file_.parent_path().parent_path();
  const ProgramRun composite = RunWith({"indexes", (corpus / "V2007/compIndexTestV2007.accdb").string(), "Table1"});
  EXPECT_EQ(composite.status, 0) << composite.err;
  EXPECT_EQ(composite.out, "CD_AGENTE\tCD_AGENTE desc\t\t\t512\t3\n");

  const ProgramRun keyed = RunWith({"indexes", (corpus / "V2007/indexTestV2007.accdb").string(), "Table1"});
  EXPECT_EQ(keyed.status, 0) << keyed.err;
  EXPECT_TRUE(Contains(keyed.out, "PrimaryKey\tid asc\t\tprimary, unique, required\t")) << keyed.out;
  EXPECT_TRUE(Contains(keyed.out, "Table2Table1\totherfk1 asc\t\tforeign\t")) << keyed.out;

  const ProgramRun text = RunWith({"indexes", (corpus / "V1997/testIndexCodesV1997.mdb").string(), "Table1"});
  EXPECT_EQ(text.status, 0) << text.err;
  EXPECT_TRUE(Contains(text.out, "\tdata asc\tGeneral 97\t")) << text.out;

  const ProgramRun missing = RunWith({"indexes", file_.string(), "NoSuchTable"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_TRUE(missing.out.empty());
}

std::string LastLine(const std::string& text) {
  std::istringstream lines(text);
  std::string line, last;
  while (std::getline(lines, line)) last = line;
  return last;
}

TEST_F(JetDumpOnCorpus, ChecksEveryIndexAndReportsADamagedKey) {
  const std::filesystem::path original = file_.parent_path().parent_path() / "V2007/compIndexTestV2007.accdb";
  const ProgramRun clean = RunWith({"check", original.string()});
  EXPECT_EQ(clean.status, 0) << clean.out << clean.err;
  EXPECT_TRUE(LastLine(clean.out).starts_with("0 problems in ")) << clean.out;

  // The first entry of leaf 70 is stored whole at the start of its entry data (offset 480): five
  // key bytes, then its row. Its last key byte changes.
  std::vector<char> bytes(std::filesystem::file_size(original));
  std::ifstream(original, std::ios::binary).read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes[70 * 4096 + 480 + 4] ^= 0x01;
  const std::filesystem::path damaged = std::filesystem::temp_directory_path() / "jetdump-damaged-index.accdb";
  std::ofstream(damaged, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  const ProgramRun run = RunWith({"check", damaged.string()});
  std::filesystem::remove(damaged);
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_TRUE(Contains(run.out, "Table1: CD_AGENTE: page 70: the entry of row ")) << run.out;
  const std::string summary = LastLine(run.out);
  EXPECT_FALSE(summary.starts_with("0 problems")) << summary;
  EXPECT_TRUE(Contains(summary, " problem")) << summary;
}

}  // namespace
}  // namespace JetDump
