// The program ending while a run yields (a window closed, the session ending): the run stops at
// its next yield, writes nothing more, shows nothing more and lets the file go.
#include <gtest/gtest.h>

#include <filesystem>

#include "database/access/Connection.h"
#include "engine/RunObserver.h"
#include "tests/engine/run/RunFixture.h"
#include "tests/jet/CorpusFiles.h"
#include "tests/jet/oracle/MdbTools.h"
#include "tests/support/DatabaseFiles.h"

namespace Engine::Testing {
namespace {

constexpr int kRemoveAllSpaces = 1;
constexpr int kReplaceAllSpaces = 2;

// Asks the program to end once `records` records have been handled, as the window does from
// inside the run's yield.
class EndAfter : public RunObserver {
 public:
  explicit EndAfter(int records) : records_(records) {}
  void FieldStarted(const FieldInHand&, int64_t) override {}
  void RecordHandled(RecordOutcome, const Value&, std::u16string_view) override {
    if (++handled == records_) Ui::RequestProgramEnd();
  }
  void FieldRefused(std::u16string_view) override {}
  void FieldFinished() override { ++finished; }

  int handled = 0;
  int finished = 0;

 private:
  int records_;
};

class RunEndingTest : public RunTest {
 protected:
  // Table T: fields A and B, `rows` rows of "a a" and "b b", both fields marked.
  void MakeTwoFields(int rows) {
    MakeDatabase([&](Jet::DatabaseCreator& db) {
      db.AddTable({u"T", {{u"A", Jet::FieldType::Text, 20}, {u"B", Jet::FieldType::Text, 20}}});
      for (int i = 0; i < rows; ++i) db.InsertRow(u"T", {Value::Text(u"a a"), Value::Text(u"b b")});
    });
    ShowTable(u"T", {u"A", u"B"});
    MarkFields({u"A", u"B"});
    preview.AddEntry(u"stale");
  }

  // The file is free again: a writer gets it, and it is not opened read-only.
  void ExpectFileReleased() const {
    Access::Connection writer;
    writer.SetMode(Access::kModeReadWrite);
    ASSERT_NO_THROW(writer.Open(Access1::BuildConnectionString(choice)));
    EXPECT_FALSE(writer.IsReadOnly());
    writer.Close();
  }

  // Nothing shown after the end: no "Done.", no report, the preview as it was.
  void ExpectNothingShown() const {
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(preview.Count(), 1);
    EXPECT_FALSE(run.IsRunning());
  }
};

TEST_F(RunEndingTest, EndAfterSomeRecordsKeepsThoseAndChangesNothingMore) {
  constexpr int kRows = 40;
  constexpr int kHandled = 7;
  MakeTwoFields(kRows);
  ChooseOperation(kRemoveAllSpaces);
  EndAfter observer(kHandled);
  run.SetOptions({false, &observer});
  Start();
  ExpectNothingShown();
  EXPECT_EQ(observer.handled, kHandled);
  EXPECT_EQ(observer.finished, 1);  // field B was never started
  Texts expected(kRows, u"a a");
  std::fill_n(expected.begin(), kHandled, u"aa");
  EXPECT_EQ(StoredTexts(u"T", u"A"), expected);
  EXPECT_EQ(StoredTexts(u"T", u"B"), Texts(kRows, u"b b"));
  ExpectFileReleased();
  if (!Oracle::MdbToolsPresent()) GTEST_SKIP() << "mdbtools is not installed";
  const auto exported = Oracle::MdbExport(file, "T");
  ASSERT_EQ(exported.size(), size_t{kRows} + 1);  // the heading and every row
  for (int i = 0; i < kRows; ++i) {
    EXPECT_EQ(exported[i + 1].at(0).text, i < kHandled ? "aa" : "a a") << i;
    EXPECT_EQ(exported[i + 1].at(1).text, "b b") << i;
  }
}

TEST_F(RunEndingTest, EndDuringThePauseStopsBeforeTheNextRecord) {
  MakeTwoFields(5);
  ChooseOperation(kRemoveAllSpaces);
  run.SetPause([](double) { Ui::RequestProgramEnd(); });  // the pause at record 0
  Start();
  ExpectNothingShown();
  EXPECT_EQ(StoredTexts(u"T", u"A"), (Texts{u"aa", u"a a", u"a a", u"a a", u"a a"}));
  EXPECT_EQ(StoredTexts(u"T", u"B"), Texts(5, u"b b"));
  ExpectFileReleased();
}

// Ended at the field loop's first yield: nothing is asked, not even the prompt of the operation,
// and the file is as it was.
TEST_F(RunEndingTest, EndBeforeTheFirstFieldAsksNothingAndWritesNothing) {
  MakeTwoFields(3);
  ChooseOperation(kReplaceAllSpaces);
  const auto before = Jet::Testing::ReadBytes(file);
  onYield = [] { Ui::RequestProgramEnd(); };
  Start();
  ExpectNothingShown();
  EXPECT_TRUE(input.asked.empty());
  EXPECT_EQ(Jet::Testing::ReadBytes(file), before);
  ExpectFileReleased();
}

// A Date field's warning is a yield too: ended there, the field's records are not touched.
TEST_F(RunEndingTest, EndDuringTheDateWarningLeavesTheFieldAlone) {
  MakeDatabase([](Jet::DatabaseCreator& db) {
    db.AddTable({u"T", {{u"When", Jet::FieldType::DateTime}}});
    db.InsertRow(u"T", {Value::Date({45000.5})});
  });
  ShowTable(u"T", {u"When"});
  MarkFields({u"When"});
  struct EndingMessageBox : Ui::MessageBoxService {
    int Show(std::u16string_view, int, std::u16string_view) override {
      ++shown;
      Ui::RequestProgramEnd();
      return Ui::kAnswerOk;
    }
    int shown = 0;
  } box;
  CleaningRun ending({tables, fields, operations, pointer, progress, preview}, {input, box}, choice);
  ending.SetPause([](double) {});
  ending.Start();
  EXPECT_EQ(box.shown, 1);  // the warning, and neither a report box nor "Done."
  EXPECT_TRUE(reports.empty());
  EXPECT_EQ(Stored(u"T", u"When"), std::vector<Value>{Value::Date({45000.5})});
  ExpectFileReleased();
}

}  // namespace
}  // namespace Engine::Testing
