// Jet3 text in the double-byte code pages through the update path: Access 97 files of the corpus
// made to name 932, 936, 949 or 950 for their text, written, read back by the engine and by
// mdb-export, and refused where the bytes or the keys cannot be kept.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "jet/JetError.h"
#include "tests/jet/CodePageCopy.h"
#include "tests/jet/text/DoubleByteSamples.h"
#include "tests/jet/write/WriterFixture.h"

namespace Jet {
namespace {

using Bytes = std::vector<uint8_t>;
using Testing::OpenForWriting;
using Testing::RefusalNumber;
using Testing::RowAt;

// A table without indexes: a and b Text(50), 2 rows.
constexpr const char* kTextFile = "V1997/delTestV1997.mdb";
constexpr const char16_t* kTable = u"Table";

bool Holds(const Bytes& file, const Bytes& part) {
  return std::search(file.begin(), file.end(), part.begin(), part.end()) != file.end();
}

// mdb-export reading Jet3 text in `charset` (mdbtools takes it from the environment only).
std::vector<Oracle::CsvRecord> ExportIn(const std::filesystem::path& file, const std::string& table,
                                        const std::string& charset) {
  setenv("MDB_JET3_CHARSET", charset.c_str(), 1);
  std::vector<Oracle::CsvRecord> records = Oracle::MdbExport(file, table);
  unsetenv("MDB_JET3_CHARSET");
  return records;
}

std::filesystem::path CopyInCodePage(const std::string& relative, uint16_t codePage,
                                     const std::vector<std::u16string>& tables) {
  const std::filesystem::path copy = Testing::WritableCopy(relative);
  Testing::DeclareJet3CodePage(copy, codePage, tables);
  return copy;
}

TEST(DoubleByteText, CorpusColumnsNameTheirDatabasesCodePage) {
  QUORVANE_REQUIRE_CORPUS();
  size_t columns = 0;
  for (const auto& file : Testing::PlainCorpusFiles()) {
    const auto database = Database::Open(file);
    if (database->Info().format != FileFormat::Jet3) continue;
    for (const CatalogEntry& entry : database->TablesRowset()) {
      if (entry.type != u"TABLE" && entry.type != u"SYSTEM TABLE") continue;
      for (const Column& column : database->Table(entry.name)->columns)
        if (column.type == ColumnType::Text || column.type == ColumnType::Memo) {
          EXPECT_EQ(column.codePage, database->Info().codePage) << file << " " << Testing::Utf8(column.name);
          ++columns;
        }
    }
  }
  EXPECT_GT(columns, 0u);
}

TEST(DoubleByteText, WrittenTextIsStoredInTheCodePageAndReadsBack) {
  QUORVANE_REQUIRE_CORPUS();
  for (const Testing::DoubleByteSample& sample : Testing::DoubleByteSamples()) {
    const auto file = CopyInCodePage(kTextFile, sample.codePage, {kTable});
    {
      auto database = OpenForWriting(file);
      EXPECT_EQ(database->Info().codePage, sample.codePage);
      const auto table = database->Table(kTable);
      database->UpdateText(*table, RowAt(*database, table, 1), 0, sample.text);
      database->UpdateText(*table, RowAt(*database, table, 0), 1, u"a" + sample.text + u"z");
      database->Close();
    }
    const Bytes stored = Testing::ReadBytes(file);
    EXPECT_TRUE(Holds(stored, sample.bytes)) << sample.codePage;
    const auto database = Database::Open(file);
    const auto table = database->Table(kTable);
    EXPECT_EQ(database->ReadRow(*table, RowAt(*database, table, 1))[0], Main::Value::Text(sample.text));
    EXPECT_EQ(database->ReadRow(*table, RowAt(*database, table, 0))[1], Main::Value::Text(u"a" + sample.text + u"z"));
    if (!Oracle::MdbToolsPresent()) continue;
    const auto exported = ExportIn(file, "Table", "CP" + std::to_string(sample.codePage));
    ASSERT_EQ(exported.size(), 3u);
    EXPECT_EQ(exported[2][0].text, Testing::Utf8(sample.text)) << sample.codePage;
    EXPECT_EQ(exported[1][1].text, "a" + Testing::Utf8(sample.text) + "z") << sample.codePage;
  }
}

TEST(DoubleByteText, RefusalsLeaveTheFileAsItWas) {
  QUORVANE_REQUIRE_CORPUS();
  const auto file = CopyInCodePage(kTextFile, 932, {kTable});
  const Bytes before = Testing::ReadBytes(file);
  auto database = OpenForWriting(file);
  const auto table = database->Table(kTable);
  const RowId row = RowAt(*database, table, 0);
  std::u16string description;
  // 26 double-byte characters are 52 bytes for a Text(50) field that takes 50 single-byte ones.
  const std::u16string kanji26(26, u'漢');
  EXPECT_EQ(RefusalNumber([&] { database->UpdateText(*table, row, 0, kanji26); }), JetErrorNumber::kFieldTooSmall);
  EXPECT_EQ(RefusalNumber([&] { database->CheckText(*table, 0, kanji26); }), JetErrorNumber::kFieldTooSmall);
  EXPECT_EQ(RefusalNumber([&] { database->CheckText(*table, 0, kanji26.substr(1)); }), 0);
  // Characters Shift-JIS lacks, or would store as a backslash.
  for (const std::u16string text : {u"\u20AC", u"\u00A5100", u"\uFFFD"}) {
    EXPECT_EQ(RefusalNumber([&] { database->UpdateText(*table, row, 0, text); }, &description),
              Main::ErrorNumber::kTypeMismatch);
    EXPECT_NE(description.find(u"whose text is in code page 932"), std::u16string::npos) << Testing::Utf8(description);
  }
  database->Close();
  EXPECT_EQ(Testing::ReadBytes(file), before);
}

TEST(DoubleByteText, ColumnsOfAnotherOrAnUnknownCodePageAreRefusedAsAWhole) {
  QUORVANE_REQUIRE_CORPUS();
  // The database names 932, its columns keep 1252.
  const auto mixed = CopyInCodePage(kTextFile, 932, {});
  // Code page 1200 is not one iconv converts: the text reads as 1252 and is not written.
  const auto unknown = CopyInCodePage(kTextFile, 1200, {kTable});
  for (const auto& [file, tableName, column, codePage] :
       {std::tuple{mixed, kTable, size_t{1}, 932}, std::tuple{unknown, kTable, size_t{0}, 1200}}) {
    const Bytes before = Testing::ReadBytes(file);
    auto database = OpenForWriting(file);
    const auto table = database->Table(tableName);
    try {
      database->UpdateText(*table, RowAt(*database, table, 0), column, u"x");
      ADD_FAILURE() << codePage;
    } catch (const JetError& refusal) {
      EXPECT_EQ(refusal.Cause(), Main::ErrorCause::kFieldCannotChange) << codePage;
      EXPECT_NE(refusal.Description().find(u"code page"), std::u16string::npos);
    }
    // Read as 1252: as the corpus file reads.
    const auto original = Database::Open(Testing::CorpusDir() / kTextFile);
    const auto originalTable = original->Table(tableName);
    for (size_t n = 0; n < 2; ++n)
      EXPECT_EQ(database->ReadRow(*table, RowAt(*database, table, n)),
                original->ReadRow(*originalTable, RowAt(*original, originalTable, n)));
    database->Close();
    EXPECT_EQ(Testing::ReadBytes(file), before) << codePage;
  }
}

TEST(DoubleByteText, StoredBytesTheCodePageDoesNotDefineAreNotRewritten) {
  QUORVANE_REQUIRE_CORPUS();
  // Written while the file was in code page 1252: U+0081 is the byte 0x81, in Shift-JIS a lead
  // byte with nothing after it.
  const auto file = Testing::WritableCopy(kTextFile);
  {
    auto database = OpenForWriting(file);
    const auto table = database->Table(kTable);
    database->UpdateText(*table, RowAt(*database, table, 0), 0, u"ab\u0081");
    database->Close();
  }
  Testing::DeclareJet3CodePage(file, 932, {kTable});
  const Bytes before = Testing::ReadBytes(file);
  auto database = OpenForWriting(file);
  const auto table = database->Table(kTable);
  const RowId row = RowAt(*database, table, 0);
  EXPECT_EQ(database->ReadRow(*table, row)[0], Main::Value::Text(u"ab\uFFFD"));
  // Not even the text without the replacement character: that would drop the byte unseen.
  for (const std::u16string text : {u"ab", u"ab\uFFFD", u"日本"}) {
    try {
      database->UpdateText(*table, row, 0, text);
      ADD_FAILURE() << Testing::Utf8(text);
    } catch (const JetError& refusal) {
      EXPECT_EQ(refusal.Cause(), Main::ErrorCause::kRecordValue) << Testing::Utf8(text);
    }
  }
  database->Close();
  EXPECT_EQ(Testing::ReadBytes(file), before);
  // The record's other field still changes, and the undefined byte stays as it was.
  database = OpenForWriting(file);
  database->UpdateText(*table, RowAt(*database, table, 0), 1, u"表");
  database->Close();
  EXPECT_TRUE(Holds(Testing::ReadBytes(file), Bytes{'a', 'b', 0x81}));
  EXPECT_EQ(Database::Open(file)->ReadRow(*table, row)[1], Main::Value::Text(u"表"));
}

// A table with an indexed Text field: its other text fields, Memo among them, still change (the
// index, whose keys cannot be made, is left out of the check before a table's first change).
TEST(DoubleByteText, MemoAndTextBesideAnIndexedFieldChange) {
  QUORVANE_REQUIRE_CORPUS();
  const std::u16string tableName = u"MSP_PROJECTS";
  const auto file = CopyInCodePage("V1997/test2V1997.mdb", 932, {tableName});
  std::u16string memo;
  for (int n = 0; n < 300; ++n) memo += u"日本語テキスト表ソ\\ｱ";
  {
    auto database = OpenForWriting(file);
    const auto table = database->Table(tableName);
    const RowId row = RowAt(*database, table, 0);
    const auto column = [&](std::u16string_view name) {
      return static_cast<size_t>(std::find_if(table->columns.begin(), table->columns.end(),
                                              [&](const Column& c) { return c.name == name; }) -
                                 table->columns.begin());
    };
    database->UpdateText(*table, row, column(u"PROJ_PROP_AUTHOR"), memo);
    database->UpdateText(*table, row, column(u"PROJ_OPT_CURRENCY_SYMBOL"), u"￥円");
    EXPECT_EQ(RefusalNumber([&] { database->UpdateText(*table, row, column(u"PROJ_NAME"), u"計画"); }),
              JetErrorNumber::kNotSupported);
    database->Close();
  }
  const auto database = Database::Open(file);
  const auto table = database->Table(tableName);
  const auto values = database->ReadRow(*table, RowAt(*database, table, 0));
  EXPECT_NE(std::find(values.begin(), values.end(), Main::Value::Text(memo)), values.end());
  EXPECT_NE(std::find(values.begin(), values.end(), Main::Value::Text(u"￥円")), values.end());
  if (!Oracle::MdbToolsPresent()) return;
  const auto exported = ExportIn(file, "MSP_PROJECTS", "CP932");
  ASSERT_EQ(exported.size(), 2u);
  EXPECT_NE(std::find_if(exported[1].begin(), exported[1].end(),
                         [&](const Oracle::CsvField& field) { return field.text == Testing::Utf8(memo); }),
            exported[1].end());
}

TEST(DoubleByteText, IndexedTextOutsideWindowsLatinIsRefusedAsAWhole) {
  QUORVANE_REQUIRE_CORPUS();
  const std::string relative = "V1997/testIndexCodesV1997.mdb";
  // The first table with a Text field in an index.
  std::u16string tableName;
  size_t column = 0;
  {
    const auto database = Database::Open(Testing::CorpusDir() / relative);
    for (const CatalogEntry& entry : database->TablesRowset()) {
      if (entry.type != u"TABLE") continue;
      const auto table = database->Table(entry.name);
      for (size_t n = 0; n < table->columns.size() && tableName.empty(); ++n)
        for (const Index& index : table->indexes)
          if (table->columns[n].type == ColumnType::Text &&
              std::any_of(index.columns.begin(), index.columns.end(),
                          [&](const IndexColumn& part) { return part.columnNumber == table->columns[n].number; })) {
            tableName = entry.name;
            column = n;
          }
      if (!tableName.empty()) break;
    }
  }
  ASSERT_FALSE(tableName.empty());
  const auto file = CopyInCodePage(relative, 932, {tableName});
  const Bytes before = Testing::ReadBytes(file);
  auto database = OpenForWriting(file);
  const auto table = database->Table(tableName);
  try {
    database->UpdateText(*table, RowAt(*database, table, 0), column, u"日本");
    ADD_FAILURE();
  } catch (const JetError& refusal) {
    EXPECT_EQ(refusal.Cause(), Main::ErrorCause::kFieldCannotChange);
    EXPECT_NE(refusal.Description().find(u"code page other than 1252"), std::u16string::npos);
  }
  database->Close();
  EXPECT_EQ(Testing::ReadBytes(file), before);
}

}  // namespace
}  // namespace Jet
