// Records and fields the engine refuses during a run: a refused record is reported and the field
// goes on; a database that takes no change is named once per field and left as it was.
#include <gtest/gtest.h>

#include <filesystem>

#include "database/access/Connection.h"
#include "tests/support/RefusingConnection.h"
#include "tests/engine/run/RunFixture.h"
#include "tests/jet/CorpusFiles.h"
#include "tests/jet/write/IndexProblems.h"

namespace Engine::Testing {
namespace {

constexpr int kRemoveAllSpaces = 1;
constexpr int kReplaceAllSpaces = 2;

TEST_F(RunTest, ARecordRefusedForItsStorageIsReportedAndTheRecordsAfterItAreCleaned) {
  MakeTextTable({Value::Text(u"a b"), Value::Text(u"x y refused"), Value::Text(u"c d"), Value::Text(u"e f")});
  ChooseOperation(kRemoveAllSpaces);
  const auto previous = Access::InstallConnectionFactory([] { return std::make_unique<::Testing::RefusingConnection>(u"x y refused"); });
  Start();
  Access::InstallConnectionFactory(previous);
  EXPECT_EQ(StoredTexts(u"T", u"V"), (Texts{u"ab", u"x y refused", u"cd", u"ef"}));
  ASSERT_EQ(ReportedSteps(), std::vector<int>{Operations()[kRemoveAllSpaces - 1].loopSteps.update});
  EXPECT_NE(reports[0].find(u"usage maps"), std::u16string::npos);
  EXPECT_EQ(Messages(), Texts{u"Done."});  // no "left unchanged"
}

// An indexed field is cleaned like any other; a record whose cleaned value another record's key
// already holds in a unique index is refused with the Access engine's words and the update step,
// and the records after it are cleaned.
TEST_F(RunTest, AnIndexedFieldIsCleanedAndADuplicateKeyIsReportedAsARefusedRecord) {
  MakeDatabase([](Jet::DatabaseCreator& db) {
    Jet::TableSpec table{u"Customers", {{u"Code", Jet::FieldType::Text, 20}, {u"Name", Jet::FieldType::Text, 40}}};
    table.indexes = {Jet::IndexSpec{u"Code", {{u"Code"}}, false, true}, Jet::IndexSpec{u"Name", {{u"Name"}}}};
    db.AddTable(table);
    db.InsertRows(u"Customers", {{Value::Text(u"A 1"), Value::Text(u"Ann  Lee")},
                                 {Value::Text(u"a1"), Value::Text(u"Bo")},
                                 {Value::Text(u"C 3"), Value::Text(u"Cy  Young")}});
  });
  ShowTable(u"Customers", {u"Code", u"Name"});
  MarkFields({u"Code", u"Name"});
  ChooseOperation(kRemoveAllSpaces);
  Start();
  // "A 1" would become "A1", which "a1" holds already (keys ignore case).
  EXPECT_EQ(StoredTexts(u"Customers", u"Code"), (Texts{u"A 1", u"a1", u"C3"}));
  EXPECT_EQ(StoredTexts(u"Customers", u"Name"), (Texts{u"AnnLee", u"Bo", u"CyYoung"}));
  ASSERT_EQ(ReportedSteps(), std::vector<int>{Operations()[kRemoveAllSpaces - 1].loopSteps.update});
  EXPECT_NE(reports[0].find(u"would create duplicate values in the index, primary key, or relationship"),
            std::u16string::npos);
  EXPECT_EQ(Messages(), Texts{u"Done."});
  EXPECT_EQ(Jet::Testing::IndexProblems(file), std::vector<std::string>{});
}

// A database the user may only read: every marked field is named once with the Access engine's
// words, nothing is asked, nothing reported, and the file stays as it was.
TEST_F(RunTest, ReadOnlyDatabaseIsNamedOncePerFieldAndLeftByteIdentical) {
  MakeDatabase([](Jet::DatabaseCreator& db) {
    db.AddTable({u"People", {{u"Name", Jet::FieldType::Text, 20}, {u"City", Jet::FieldType::Text, 20},
                             {u"Born", Jet::FieldType::DateTime}, {u"Empty", Jet::FieldType::Text, 20}}});
    for (int i = 0; i < 30; ++i)
      db.InsertRow(u"People", {Value::Text(u"A n"), Value::Text(u"B c"), Value::Date({30000.5}), Value::Null()});
  });
  ShowTable(u"People", {u"Name", u"City", u"Born", u"Empty"});
  MarkFields({u"Name", u"City", u"Born", u"Empty"});
  ChooseOperation(kReplaceAllSpaces);
  std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                         std::filesystem::perms::others_read);
  const auto before = Jet::Testing::ReadBytes(file);
  Start();
  const auto left = [](const char16_t* field) {
    return u"The field '" + std::u16string(field) +
           u"' of table 'People' is left unchanged: Cannot update. Database or object is read-only.";
  };
  // The Date field gets no warning about a change that will not happen; a field of Nulls is
  // read, and refused like the others.
  EXPECT_EQ(Messages(), (Texts{left(u"Name"), left(u"City"), left(u"Born"), left(u"Empty"), u"Done."}));
  EXPECT_TRUE(input.asked.empty());
  EXPECT_TRUE(reports.empty());
  EXPECT_EQ(Jet::Testing::ReadBytes(file), before);
  EXPECT_EQ(preview.Count(), 30);  // the preview is refilled from the file as it is
  EXPECT_EQ(preview.EntryText(1), u"A n");
}

// A trial run opens read-only on purpose: it checks every record as on any file.
TEST_F(RunTest, TrialRunOnAReadOnlyFileChecksEveryRecord) {
  MakeDatabase([](Jet::DatabaseCreator& db) {
    db.AddTable({u"T", {{u"V", Jet::FieldType::Text, 5}}});
    db.InsertRows(u"T", {{Value::Text(u"a a")}, {Value::Text(u"b")}});
  });
  ShowTable(u"T", {u"V"});
  MarkFields({u"V"});
  ChooseOperation(kReplaceAllSpaces);
  input.Answer(u"----");  // "a a" becomes "a----a", too long for 5 characters
  std::filesystem::permissions(file, std::filesystem::perms::owner_read);
  const auto before = Jet::Testing::ReadBytes(file);
  run.SetOptions({true, nullptr});
  Start();
  EXPECT_EQ(input.Prompts(), Texts{u"Replace With:"});
  EXPECT_EQ(ReportedSteps(), std::vector<int>{Operations()[kReplaceAllSpaces - 1].loopSteps.update});
  EXPECT_EQ(Messages(), Texts{u"Done."});
  EXPECT_EQ(Jet::Testing::ReadBytes(file), before);
}

// A field refused before its records are tried asks nothing; the next field asks as usual.
TEST_F(RunTest, AFieldRefusedAsAWholeAsksNothingAndTheNextFieldStillAsks) {
  MakeDatabase([](Jet::DatabaseCreator& db) {
    db.AddTable({u"T", {{u"Blob", Jet::FieldType::OleObject}, {u"V", Jet::FieldType::Text, 20}}});
    db.InsertRows(u"T", {{Value::Binary({0x20}), Value::Text(u"a b")}});
  });
  ShowTable(u"T", {u"Blob", u"V"});
  MarkFields({u"Blob", u"V"});
  ChooseOperation(kReplaceAllSpaces);
  input.Answer(u"_");
  Start();
  EXPECT_EQ(input.Prompts(), Texts{u"Replace With:"});
  EXPECT_EQ(StoredTexts(u"T", u"V"), Texts{u"a_b"});
  EXPECT_EQ(Messages().size(), 2u);
}

}  // namespace
}  // namespace Engine::Testing
