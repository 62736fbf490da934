// quorvane-clean on an Access 97 file whose text is Shift-JIS (code page 932): a corpus copy made
// to name 932, Japanese text written into it by the engine, then cleaned by the program. Removing
// a backslash or spaces must leave every double-byte character whole, trail bytes 0x5C included.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "common/Text.h"
#include "jet/Database.h"
#include "tests/jet/CodePageCopy.h"
#include "tests/jet/oracle/MdbTools.h"
#include "tools/clean/ExitStatus.h"
#include "tools/clean/Program.h"

namespace Clean {
namespace {

using Bytes = std::vector<uint8_t>;

// A table without indexes: a and b Text(50), 2 rows.
constexpr const char* kFile = "V1997/delTestV1997.mdb";

bool Holds(const Bytes& file, const Bytes& part) {
  return std::search(file.begin(), file.end(), part.begin(), part.end()) != file.end();
}

std::vector<std::u16string> Column(const std::filesystem::path& file, size_t column) {
  const auto database = Jet::Database::Open(file);
  auto cursor = database->Scan(database->Table(u"Table"));
  std::vector<std::u16string> values;
  while (cursor->Next()) values.push_back(cursor->Get(column).ToText());
  return values;
}

int RunClean(const std::filesystem::path& file, std::vector<std::u16string> operation, std::string& err) {
  std::vector<std::u16string> arguments{Main::FromUtf8(file.string()), u"--table", u"Table", u"--field", u"a",
                                        u"--operation"};
  arguments.insert(arguments.end(), operation.begin(), operation.end());
  std::ostringstream out, errors;
  Console console(out, errors, false);
  const int status = RunProgram(arguments, console);
  err = errors.str();
  return status;
}

TEST(CleanDoubleByte, CleaningShiftJisTextKeepsEveryCharacterWhole) {
  QUORVANE_REQUIRE_CORPUS();
  const auto file = Jet::Testing::ScratchDir() / "japanese.mdb";
  Jet::Testing::WriteBytes(file, Jet::Testing::ReadBytes(Jet::Testing::CorpusDir() / kFile));
  Jet::Testing::DeclareJet3CodePage(file, 932, {u"Table"});
  {
    Jet::OpenOptions options;
    options.readWrite = true;
    auto database = Jet::Database::Open(file, options);
    const auto table = database->Table(u"Table");
    auto cursor = database->Scan(table);
    const std::u16string values[] = {u"表\\ ソ ｱｲｳ\\", u"日本語 テキスト"};
    for (const std::u16string& value : values) {
      ASSERT_TRUE(cursor->Next());
      database->UpdateText(*table, cursor->Id(), 0, value);
    }
    database->Close();
  }
  std::string err;
  EXPECT_EQ(RunClean(file, {u"Remove User-Defined Character(s) In Selected Field", u"--answer", u"\\"}, err),
            kExitDone)
      << err;
  EXPECT_EQ(Column(file, 0), (std::vector<std::u16string>{u"表 ソ ｱｲｳ", u"日本語 テキスト"}));
  EXPECT_EQ(RunClean(file, {u"Remove All Spaces In Selected Field"}, err), kExitDone) << err;
  EXPECT_EQ(Column(file, 0), (std::vector<std::u16string>{u"表ソｱｲｳ", u"日本語テキスト"}));

  // The Shift-JIS bytes: 表 95 5C and ソ 83 5C kept their trail bytes, the katakana one byte each.
  const Bytes stored = Jet::Testing::ReadBytes(file);
  EXPECT_TRUE(Holds(stored, Bytes{0x95, 0x5C, 0x83, 0x5C, 0xB1, 0xB2, 0xB3}));
  EXPECT_TRUE(Holds(stored, Bytes{0x93, 0xFA, 0x96, 0x7B, 0x8C, 0xEA, 0x83, 0x65, 0x83, 0x4C, 0x83, 0x58, 0x83, 0x67}));
  if (!Oracle::MdbToolsPresent()) return;
  setenv("MDB_JET3_CHARSET", "CP932", 1);
  const std::vector<Oracle::CsvRecord> exported = Oracle::MdbExport(file, "Table");
  unsetenv("MDB_JET3_CHARSET");
  ASSERT_EQ(exported.size(), 3u);
  EXPECT_EQ(exported[1][0].text, "表ソｱｲｳ");
  EXPECT_EQ(exported[2][0].text, "日本語テキスト");
}

}  // namespace
}  // namespace Clean
