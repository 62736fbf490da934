// The frame of a run: its messages, the lists it reads, the pointer, the progress bar, the pause
// and the preview, on small generated tables.
#include <gtest/gtest.h>

#include "common/ApplicationTitle.h"
#include "common/ui/WindowPointer.h"
#include "engine/RunMessages.h"
#include "tests/engine/run/RunFixture.h"

namespace Engine::Testing {
namespace {

constexpr int kRemoveAllSpaces = 1;
constexpr int kReplaceAllSpaces = 2;

TEST_F(RunTest, EmptyFieldListSaysPleaseSelectAndTouchesNothing) {
  MakeTextTable({Value::Text(u"a b")});
  fields.Clear();
  Start();
  EXPECT_EQ(Messages(), Texts{u"Please select a field."});
  EXPECT_EQ(messages.shown[0].style, Ui::kOkOnly);
  EXPECT_EQ(messages.shown[0].title, Main::ApplicationTitle());
  EXPECT_TRUE(pointer.settings.empty());
  EXPECT_TRUE(progress.values.empty());
  EXPECT_TRUE(reports.empty());
  EXPECT_EQ(StoredTexts(u"T", u"V"), Texts{u"a b"});
}

TEST_F(RunTest, EntriesWithoutMarksChangeNothingAndRefillThePreview) {
  MakeTextTable({Value::Text(u"a b"), Value::Text(u"c d")});
  fields.SetEntrySelected(1, false);  // still the current entry
  preview.AddEntry(u"stale");
  Start();
  EXPECT_EQ(StoredTexts(u"T", u"V"), (Texts{u"a b", u"c d"}));
  EXPECT_EQ(Messages(), Texts{u"Done."});
  EXPECT_EQ(preview.Count(), 2);
  EXPECT_EQ(preview.EntryText(1), u"a b");
  EXPECT_EQ(pointer.settings, (std::vector<int>{Ui::kPointerBusy, Ui::kPointerBusy, Ui::kPointerDefault}));
  EXPECT_TRUE(reports.empty());
}

TEST_F(RunTest, FieldWithoutRecordsAsksNothingAndResetsTheProgress) {
  MakeTextTable({});
  ChooseOperation(kReplaceAllSpaces);
  Start();
  EXPECT_TRUE(input.asked.empty());
  EXPECT_EQ(progress.values, (std::vector<double>{0, 0}));  // end of the field, end of the run
  EXPECT_EQ(progress.captions, (Texts{u"Progress Bar", u"Progress Bar"}));
  EXPECT_EQ(Messages(), Texts{u"Done."});
  EXPECT_TRUE(reports.empty());
}

TEST_F(RunTest, OneRecordSetsTheProgressTo100) {
  MakeTextTable({Value::Text(u"a b")});
  Start();
  EXPECT_EQ(progress.values, (std::vector<double>{100, 0, 0}));
  EXPECT_EQ(StoredTexts(u"T", u"V"), Texts{u"ab"});
}

TEST_F(RunTest, ProgressFollowsEveryRecordUnroundedAndPointerGoesBusyThenDefault) {
  MakeDatabase([](Jet::DatabaseCreator& db) {
    db.AddTable({u"T", {{u"A", Jet::FieldType::Text, 20}, {u"B", Jet::FieldType::Text, 20}}});
    for (const char16_t* text : {u"1 1", u"2 2", u"3 3", u"4 4"}) {
      db.InsertRow(u"T", {Value::Text(text), Value::Text(text)});
    }
  });
  ShowTable(u"T", {u"A", u"B"});
  MarkFields({u"A", u"B"});
  Start();
  const double third = 1.0 / 3 * 100;
  EXPECT_EQ(progress.values,
            (std::vector<double>{0, third, 2.0 / 3 * 100, 100, 0, 0, third, 2.0 / 3 * 100, 100, 0, 0}));
  EXPECT_EQ(progress.captions, (Texts{u"Progress Bar", u"Progress Bar", u"Progress Bar"}));
  // Hourglass at the start, default after each field, hourglass for the refill, default at the end.
  EXPECT_EQ(pointer.settings, (std::vector<int>{11, 0, 0, 11, 0}));
  EXPECT_EQ(StoredTexts(u"T", u"A"), (Texts{u"11", u"22", u"33", u"44"}));
  EXPECT_EQ(StoredTexts(u"T", u"B"), (Texts{u"11", u"22", u"33", u"44"}));
}

TEST_F(RunTest, NullsAreSkippedButCountForProgressAndPause) {
  std::vector<Value> values(1001, Value::Null());
  values[0] = Value::Text(u"x y");
  values[500] = Value::Text(u"p q");
  values[1000] = Value::Text(u"m n");
  MakeTextTable(values);
  Start();
  EXPECT_EQ(pauses, (std::vector<double>{0.1, 0.1, 0.1}));  // records 0, 500 and 1000
  ASSERT_EQ(progress.values.size(), 1003u);
  EXPECT_EQ(progress.values[500], 50.0);
  EXPECT_EQ(progress.values[1000], 100.0);
  const Texts stored = StoredTexts(u"T", u"V");
  EXPECT_EQ(stored[0], u"xy");
  EXPECT_EQ(stored[1], u"<null>");
  EXPECT_EQ(stored[500], u"pq");
  EXPECT_EQ(stored[1000], u"mn");
  EXPECT_TRUE(reports.empty());
}

TEST_F(RunTest, OperationTextMatchingNoEntryOpensAndClosesEachFieldAndSaysDone) {
  MakeTextTable({Value::Text(u"a b")});
  operations.SetSelectedIndex(-1);  // the list shows no text
  Start();
  EXPECT_EQ(StoredTexts(u"T", u"V"), Texts{u"a b"});
  EXPECT_EQ(Messages(), Texts{u"Done."});
  EXPECT_TRUE(reports.empty());
}

TEST_F(RunTest, DateFieldIsWarnedAboutAndProcessed) {
  MakeDatabase([](Jet::DatabaseCreator& db) {
    db.AddTable({u"T", {{u"When", Jet::FieldType::DateTime}}});
    db.InsertRow(u"T", {Value::Date({45000.5})});
  });
  ShowTable(u"T", {u"When"});
  MarkFields({u"When"});
  Start();
  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_EQ(Messages()[0], kDateFieldWarning);
  EXPECT_EQ(Messages()[1], u"Done.");
  // Removing the blank between date and time leaves a text the field cannot take: reported with
  // the operation's update step, the value kept.
  EXPECT_EQ(ReportedSteps(), std::vector<int>{150});
  EXPECT_EQ(Stored(u"T", u"When")[0], Value::Date({45000.5}));
}

TEST_F(RunTest, SecondStartDuringARunDoesNothing) {
  MakeTextTable({Value::Text(u"a b"), Value::Text(u"c d")});
  int yields = 0;
  onYield = [&] {
    ++yields;
    EXPECT_TRUE(run.IsRunning());
    run.Start();
  };
  Start();
  EXPECT_GT(yields, 0);
  EXPECT_FALSE(run.IsRunning());
  EXPECT_EQ(Messages(), Texts{u"Done."});
  EXPECT_EQ(StoredTexts(u"T", u"V"), (Texts{u"ab", u"cd"}));
}

TEST_F(RunTest, OperationChangedDuringARunTakesEffectAtTheNextField) {
  MakeDatabase([](Jet::DatabaseCreator& db) {
    db.AddTable({u"T", {{u"A", Jet::FieldType::Text, 20}, {u"B", Jet::FieldType::Text, 20}}});
    db.InsertRows(u"T", {{Value::Text(u" a b "), Value::Text(u" c d ")}});
  });
  ShowTable(u"T", {u"A", u"B"});
  MarkFields({u"A", u"B"});
  ChooseOperation(kRemoveAllSpaces);
  int yields = 0;
  // The second yield is the first record's, after field A has looked its operation up.
  onYield = [&] {
    if (++yields == 2) ChooseOperation(4);  // Remove Extra Spaces at End
  };
  Start();
  EXPECT_EQ(StoredTexts(u"T", u"A"), Texts{u"ab"});
  EXPECT_EQ(StoredTexts(u"T", u"B"), Texts{u" c d"});
}

TEST_F(RunTest, PreviewShowsAtMost101ValuesAsStored) {
  std::vector<Value> values;
  for (int i = 0; i < 150; ++i) values.push_back(Value::Text(u"O' " + std::u16string(1, u'a' + i % 26)));
  MakeTextTable(values);
  Start();
  ASSERT_EQ(preview.Count(), 101);
  EXPECT_EQ(preview.EntryText(1), u"O'a");
  EXPECT_EQ(preview.EntryText(101), u"O'w");
}

TEST_F(RunTest, FailuresAreReportedWithTheirStepNumbersAndTheRunGoesOn) {
  MakeTextTable({Value::Text(u"a b")});
  ShowTable(u"T", {u"Missing", u"V"});
  MarkFields({u"Missing", u"V"});
  Start();
  // The missing field's query (122) fails once and the next field is still cleaned; the refill,
  // which shows the missing field (the current entry), fails at its query (874).
  EXPECT_EQ(ReportedSteps(), (std::vector<int>{122, 874}));
  EXPECT_NE(reports[0].find(u"in Tivelbrook2021/08/31.Form2.PushButton2_Click at line 122"), std::u16string::npos);
  EXPECT_EQ(StoredTexts(u"T", u"V"), Texts{u"ab"});
  EXPECT_EQ(Messages(), Texts{u"Done."});
}

TEST_F(RunTest, MissingDatabaseIsReportedAtTheOpenAndEveryLaterDatabaseStep) {
  MakeTextTable({Value::Text(u"a b")});
  choice.path = u"/nonexistent/none.mdb";
  Start();
  // Open (110), the field's query (122), the refill's query (874).
  EXPECT_EQ(ReportedSteps(), (std::vector<int>{110, 122, 874}));
  EXPECT_EQ(pointer.settings, (std::vector<int>{11, 0, 0}));
  EXPECT_EQ(Messages(), Texts{u"Done."});
}

TEST_F(RunTest, ListChangesDuringYieldsDoNotRedirectTheFieldInHand) {
  MakeDatabase([](Jet::DatabaseCreator& db) {
    for (const char16_t* table : {u"T", u"U"}) {
      db.AddTable({table, {{u"A", Jet::FieldType::Text, 20}}});
      db.InsertRows(table, {{Value::Text(u"1 1")}, {Value::Text(u"3 3")}});
    }
  });
  ShowTable(u"T", {u"A"});
  MarkFields({u"A"});
  int yields = 0;
  onYield = [&] {
    if (++yields != 2) return;  // the first record's yield: the field's query is open
    tables.Clear();
    tables.AddEntry(u"U");
    fields.SetEntrySelected(1, false);
  };
  Start();
  EXPECT_EQ(StoredTexts(u"T", u"A"), (Texts{u"11", u"33"}));
  EXPECT_EQ(StoredTexts(u"U", u"A"), (Texts{u"1 1", u"3 3"}));
  EXPECT_EQ(preview.EntryText(1), u"1 1");  // the refill reads the lists as they are at its turn
  EXPECT_TRUE(reports.empty());
}

// The table and the marked fields are read once, when the field loop starts: neither another
// table, nor marks taken away or added, nor new entries change what the run cleans.
TEST_F(RunTest, ListsChangedBeforeTheFirstFieldDoNotRedirectTheRun) {
  MakeDatabase([](Jet::DatabaseCreator& db) {
    db.AddTable({u"T", {{u"A", Jet::FieldType::Text, 20}, {u"B", Jet::FieldType::Text, 20}, {u"C", Jet::FieldType::Text, 20}}});
    db.InsertRows(u"T", {{Value::Text(u"a a"), Value::Text(u"b b"), Value::Text(u"c c")}});
    db.AddTable({u"U", {{u"A", Jet::FieldType::Text, 20}}});
    db.InsertRows(u"U", {{Value::Text(u"u u")}});
  });
  ShowTable(u"T", {u"A", u"B", u"C"});
  MarkFields({u"A", u"B"});
  int yields = 0;
  onYield = [&] {
    if (++yields != 1) return;  // the field loop's yield before field A
    tables.Clear();
    tables.AddEntry(u"U");
    fields.SetEntrySelected(1, false);
    fields.SetEntrySelected(2, false);
    fields.SetEntrySelected(3, true);
    fields.AddEntry(u"A");
    fields.SetEntrySelected(4, true);
  };
  Start();
  EXPECT_EQ(StoredTexts(u"T", u"A"), Texts{u"aa"});
  EXPECT_EQ(StoredTexts(u"T", u"B"), Texts{u"bb"});
  EXPECT_EQ(StoredTexts(u"T", u"C"), Texts{u"c c"});
  EXPECT_EQ(StoredTexts(u"U", u"A"), Texts{u"u u"});
  EXPECT_TRUE(reports.empty());
  EXPECT_EQ(Messages(), Texts{u"Done."});
}

TEST_F(RunTest, FieldListEmptiedDuringTheRunStillHasItsMarkedFieldsCleaned) {
  MakeDatabase([](Jet::DatabaseCreator& db) {
    db.AddTable({u"T", {{u"A", Jet::FieldType::Text, 20}, {u"B", Jet::FieldType::Text, 20}}});
    db.InsertRows(u"T", {{Value::Text(u"a a"), Value::Text(u"b b")}, {Value::Text(u"c c"), Value::Text(u"d d")}});
  });
  ShowTable(u"T", {u"A", u"B"});
  MarkFields({u"A", u"B"});
  int yields = 0;
  onYield = [&] {
    if (++yields == 2) {  // field A's first record
      fields.Clear();
      tables.Clear();
    }
  };
  Start();
  EXPECT_EQ(StoredTexts(u"T", u"A"), (Texts{u"aa", u"cc"}));
  EXPECT_EQ(StoredTexts(u"T", u"B"), (Texts{u"bb", u"dd"}));
  EXPECT_EQ(ReportedSteps(), std::vector<int>{874});  // only the refill reads the lists again
}

TEST_F(RunTest, MissingTableEntryIsReportedForEachMarkedField) {
  MakeDatabase([](Jet::DatabaseCreator& db) {
    db.AddTable({u"T", {{u"A", Jet::FieldType::Text, 20}, {u"B", Jet::FieldType::Text, 20}}});
    db.InsertRows(u"T", {{Value::Text(u"a a"), Value::Text(u"b b")}});
  });
  ShowTable(u"T", {u"A", u"B"});
  MarkFields({u"A", u"B"});
  tables.Clear();
  Start();
  EXPECT_EQ(ReportedSteps(), (std::vector<int>{122, 122, 874}));
  EXPECT_EQ(StoredTexts(u"T", u"A"), Texts{u"a a"});
  EXPECT_EQ(Messages(), Texts{u"Done."});
}

TEST_F(RunTest, RefillWithoutCurrentFieldEntryStopsAtItsFirstFailure) {
  MakeTextTable({Value::Text(u"a b")});
  int yields = 0;
  onYield = [&] {
    if (++yields == 2) fields.Clear();  // during the record loop: no current entry left
  };
  Start();
  EXPECT_EQ(ReportedSteps(), std::vector<int>{874});
  EXPECT_EQ(StoredTexts(u"T", u"V"), Texts{u"ab"});
  EXPECT_EQ(Messages(), Texts{u"Done."});
  EXPECT_EQ(pointer.settings, (std::vector<int>{11, 0, 0}));  // no hourglass for a refill that stopped
}

}  // namespace
}  // namespace Engine::Testing
