// What a run leaves in the file: field types, long values, rows that move, refused records and
// refused fields, checked through the engine and through mdbtools.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/Text.h"
#include "tests/engine/run/RunFixture.h"
#include "tests/jet/oracle/MdbTools.h"

namespace Engine::Testing {
namespace {

constexpr int kRemoveAllSpaces = 1;
constexpr int kReplaceAllSpaces = 2;
constexpr int kReplaceNumeric = 13;

// Column `column` of every row of `table` as mdb-export prints it.
std::vector<std::string> ExportedColumn(const std::filesystem::path& file, const std::string& table,
                                        size_t column) {
  std::vector<std::string> cells;
  const auto records = Oracle::MdbExport(file, table);
  for (size_t i = 1; i < records.size(); ++i) cells.push_back(records[i].at(column).text);
  return cells;
}

TEST_F(RunTest, OtherFieldsAndTablesKeepTheirData) {
  MakeDatabase([](Jet::DatabaseCreator& db) {
    db.AddTable({u"T", {{u"A", Jet::FieldType::Text, 20}, {u"B", Jet::FieldType::Text, 20}}});
    db.AddTable({u"Other", {{u"A", Jet::FieldType::Text, 20}}});
    db.InsertRows(u"T", {{Value::Text(u"a a"), Value::Text(u"b b")}, {Value::Null(), Value::Text(u"c c")}});
    db.InsertRows(u"Other", {{Value::Text(u"o o")}});
  });
  ShowTable(u"T", {u"A", u"B"});
  MarkFields({u"A"});
  Start();
  EXPECT_EQ(StoredTexts(u"T", u"A"), (Texts{u"aa", u"<null>"}));
  EXPECT_EQ(StoredTexts(u"T", u"B"), (Texts{u"b b", u"c c"}));
  EXPECT_EQ(StoredTexts(u"Other", u"A"), Texts{u"o o"});
  if (!Oracle::MdbToolsPresent()) GTEST_SKIP() << "mdbtools is not installed";
  EXPECT_EQ(ExportedColumn(file, "T", 0), (std::vector<std::string>{"aa", ""}));
  EXPECT_EQ(ExportedColumn(file, "T", 1), (std::vector<std::string>{"b b", "c c"}));
  EXPECT_EQ(ExportedColumn(file, "Other", 0), std::vector<std::string>{"o o"});
}

TEST_F(RunTest, MemoValuesGrowIntoLongValuePages) {
  const std::u16string base(3000, u' ');
  MakeDatabase([&](Jet::DatabaseCreator& db) {
    db.AddTable({u"T", {{u"Notes", Jet::FieldType::Memo}}});
    db.InsertRows(u"T", {{Value::Text(u"a" + base + u"b")}, {Value::Text(u"short one")}});
  });
  ShowTable(u"T", {u"Notes"});
  MarkFields({u"Notes"});
  ChooseOperation(kReplaceAllSpaces);
  input.Answer(u"<->");
  Start();
  const std::u16string grown = u"a" + std::u16string() + [] {
    std::u16string text;
    for (int i = 0; i < 3000; ++i) text += u"<->";
    return text;
  }() + u"b";
  EXPECT_EQ(StoredTexts(u"T", u"Notes"), (Texts{grown, u"short<->one"}));
  EXPECT_TRUE(reports.empty());
  if (!Oracle::MdbToolsPresent()) GTEST_SKIP() << "mdbtools is not installed";
  EXPECT_EQ(ExportedColumn(file, "T", 0), (std::vector<std::string>{Main::ToUtf8(grown), "short<->one"}));
}

TEST_F(RunTest, ValuesThatGrowMoveRowsToOtherPagesAndAllReadBack) {
  std::vector<Value> values;
  for (int i = 0; i < 600; ++i) values.push_back(Value::Text(u"r" + Main::FromUtf8(std::to_string(i)) + u" x y z"));
  MakeDatabase([&](Jet::DatabaseCreator& db) {
    db.AddTable({u"T", {{u"V", Jet::FieldType::Text, 255}, {u"Keep", Jet::FieldType::LongInteger}}});
    for (int i = 0; i < 600; ++i) db.InsertRow(u"T", {values[i], Value::Integer(i)});
  });
  ShowTable(u"T", {u"V", u"Keep"});
  MarkFields({u"V"});
  ChooseOperation(kReplaceAllSpaces);
  const std::u16string filler(60, u'=');
  input.Answer(filler);
  Start();
  EXPECT_TRUE(reports.empty());
  Texts expected;
  std::vector<std::string> expectedUtf8;
  for (int i = 0; i < 600; ++i) {
    std::u16string text = values[i].AsText();
    std::u16string grown;
    for (char16_t c : text) grown += c == u' ' ? filler : std::u16string(1, c);
    expected.push_back(grown);
    expectedUtf8.push_back(Main::ToUtf8(grown));
  }
  EXPECT_EQ(StoredTexts(u"T", u"V"), expected);
  const std::vector<Value> keep = Stored(u"T", u"Keep");
  for (int i = 0; i < 600; ++i) ASSERT_EQ(keep[i], Value::Integer(i));
  if (!Oracle::MdbToolsPresent()) GTEST_SKIP() << "mdbtools is not installed";
  std::vector<std::string> exported = ExportedColumn(file, "T", 0);
  std::sort(exported.begin(), exported.end());  // mdbtools may list moved rows elsewhere
  std::sort(expectedUtf8.begin(), expectedUtf8.end());
  EXPECT_EQ(exported, expectedUtf8);
}

TEST_F(RunTest, NumberFieldIsRewrittenFromItsText) {
  MakeDatabase([](Jet::DatabaseCreator& db) {
    db.AddTable({u"T", {{u"N", Jet::FieldType::LongInteger}}});
    db.InsertRows(u"T", {{Value::Integer(1203)}, {Value::Integer(-45)}, {Value::Null()}, {Value::Integer(7)}});
  });
  ShowTable(u"T", {u"N"});
  MarkFields({u"N"});
  ChooseOperation(24);  // Remove First x Character(s)
  input.Answer(u"1");
  Start();
  // "7" becomes the empty text, which a number field cannot take: reported, the value kept.
  EXPECT_EQ(Stored(u"T", u"N"), (std::vector<Value>{Value::Integer(203), Value::Integer(45), Value::Null(), Value::Integer(7)}));
  EXPECT_EQ(ReportedSteps(), std::vector<int>{756});
  if (!Oracle::MdbToolsPresent()) GTEST_SKIP() << "mdbtools is not installed";
  EXPECT_EQ(ExportedColumn(file, "T", 0), (std::vector<std::string>{"203", "45", "", "7"}));
}

TEST_F(RunTest, FieldTooSmallIsReportedRecordByRecordAndThoseRecordsKeepTheirValues) {
  MakeDatabase([](Jet::DatabaseCreator& db) {
    db.AddTable({u"T", {{u"Code", Jet::FieldType::Text, 6}}});
    db.InsertRows(u"T", {{Value::Text(u"a1")}, {Value::Text(u"b22")}, {Value::Text(u"c")}, {Value::Text(u"d4444")}});
  });
  ShowTable(u"T", {u"Code"});
  MarkFields({u"Code"});
  ChooseOperation(kReplaceNumeric);
  input.Answer(u"###");
  Start();
  // a1 -> a### fits; b22 -> b###### and d4444 -> d############ do not.
  EXPECT_EQ(StoredTexts(u"T", u"Code"), (Texts{u"a###", u"b22", u"c", u"d4444"}));
  EXPECT_EQ(ReportedSteps(), (std::vector<int>{444, 444}));
  EXPECT_NE(reports[0].find(u"too small"), std::u16string::npos);
  EXPECT_EQ(Messages(), Texts{u"Done."});
}

TEST_F(RunTest, BinaryFieldIsRefusedOnceWithItsDataUntouched) {
  const Main::Bytes blob{0x20, 0x41, 0x20, 0x42};
  MakeDatabase([&](Jet::DatabaseCreator& db) {
    db.AddTable({u"T", {{u"Blob", Jet::FieldType::OleObject}, {u"Id", Jet::FieldType::ReplicationId}, {u"V", Jet::FieldType::Text, 20}}});
    for (int i = 0; i < 3; ++i) db.InsertRow(u"T", {Value::Binary(blob), Value::ReplicationId({}), Value::Text(u"a b")});
  });
  ShowTable(u"T", {u"Blob", u"Id", u"V"});
  MarkFields({u"Blob", u"Id", u"V"});
  ChooseOperation(kRemoveAllSpaces);
  Start();
  EXPECT_EQ(Messages(), (Texts{u"The field 'Blob' of table 'T' is left unchanged: it holds OLE objects.",
                               u"The field 'Id' of table 'T' is left unchanged: it holds replication IDs.",
                               u"Done."}));
  EXPECT_TRUE(reports.empty());
  EXPECT_EQ(Stored(u"T", u"Blob"), std::vector<Value>(3, Value::Binary(blob)));
  EXPECT_EQ(StoredTexts(u"T", u"V"), Texts(3, u"ab"));
}

TEST_F(RunTest, AutoNumberFieldIsRefusedOnceByTheEngine) {
  MakeDatabase([](Jet::DatabaseCreator& db) {
    db.AddTable({u"T", {{u"Id", Jet::FieldType::AutoNumber}, {u"V", Jet::FieldType::Text, 20}}});
    for (int i = 0; i < 12; ++i) db.InsertRow(u"T", {Value::Null(), Value::Text(u"v")});
  });
  ShowTable(u"T", {u"Id", u"V"});
  MarkFields({u"Id"});
  ChooseOperation(kReplaceNumeric);
  input.Answer(u"9");
  Start();
  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_EQ(Messages()[0].rfind(u"The field 'Id' of table 'T' is left unchanged: ", 0), 0u);
  EXPECT_NE(Messages()[0].find(u"AutoNumber"), std::u16string::npos);
  EXPECT_TRUE(reports.empty());
  const std::vector<Value> ids = Stored(u"T", u"Id");
  for (int i = 0; i < 12; ++i) EXPECT_EQ(ids[i], Value::Integer(i + 1));
}

}  // namespace
}  // namespace Engine::Testing
