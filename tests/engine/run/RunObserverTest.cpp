// What a front end hears of a run through its observer, and the trial run that writes nothing.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "common/Text.h"
#include "database/access/Connection.h"
#include "engine/RunObserver.h"
#include "tests/engine/run/RunFixture.h"

namespace Engine::Testing {
namespace {

constexpr int kRemoveAllSpaces = 1;
constexpr int kReplaceAllSpaces = 2;

// Everything the observer hears, as lines: "start A 3", "changed a a|aa", "unchanged <null>",
// "refused x", "field refused <reason>", "finish".
class RecordingObserver : public RunObserver {
 public:
  void FieldStarted(const FieldInHand& field, int64_t records) override {
    heard.push_back(u"start " + field.field + u" " + Main::FromUtf8(std::to_string(records)));
  }
  void RecordHandled(RecordOutcome outcome, const Value& old, std::u16string_view newText) override {
    const std::u16string oldText = old.IsNull() ? u"<null>" : old.ToText();
    switch (outcome) {
      case RecordOutcome::kUnchanged: heard.push_back(u"unchanged " + oldText); break;
      case RecordOutcome::kChanged: heard.push_back(u"changed " + oldText + u"|" + std::u16string(newText)); break;
      case RecordOutcome::kRefused: heard.push_back(u"refused " + oldText); break;
    }
  }
  void FieldRefused(std::u16string_view reason) override { heard.push_back(u"field refused " + std::u16string(reason)); }
  void FieldFinished() override { heard.push_back(u"finish"); }

  Texts heard;
};

std::string Bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ObservedRunTest : public RunTest {
 protected:
  void Observe(bool trialOnly) { run.SetOptions({trialOnly, &observer}); }
  RecordingObserver observer;
};

TEST_F(ObservedRunTest, EachRecordIsHeardOnceWithWhatBecameOfIt) {
  MakeDatabase([](Jet::DatabaseCreator& db) {
    db.AddTable({u"T", {{u"A", Jet::FieldType::Text, 5}, {u"B", Jet::FieldType::Text, 20}}});
    db.InsertRows(u"T", {{Value::Text(u"a a"), Value::Text(u"b")},
                         {Value::Null(), Value::Text(u"c c")},
                         {Value::Text(u"aa"), Value::Null()}});
  });
  ShowTable(u"T", {u"A", u"B"});
  MarkFields({u"A", u"B"});
  ChooseOperation(kReplaceAllSpaces);
  input.Answer(u"----");  // "a a" becomes "a----a", too long for A's 5 characters
  Observe(false);
  Start();
  EXPECT_EQ(observer.heard, (Texts{u"start A 3", u"refused a a", u"unchanged <null>", u"unchanged aa", u"finish",
                                   u"start B 3", u"unchanged b", u"changed c c|c----c", u"unchanged <null>",
                                   u"finish"}));
  EXPECT_EQ(ReportedSteps().size(), 1u);  // the refused record, reported as in the window
  EXPECT_EQ(StoredTexts(u"T", u"A"), (Texts{u"a a", u"<null>", u"aa"}));
  EXPECT_EQ(StoredTexts(u"T", u"B"), (Texts{u"b", u"c----c", u"<null>"}));
}

TEST_F(ObservedRunTest, AFieldRefusedAsAWholeIsHeardWithItsReason) {
  MakeDatabase([](Jet::DatabaseCreator& db) {
    db.AddTable({u"T", {{u"Id", Jet::FieldType::AutoNumber}, {u"Data", Jet::FieldType::OleObject}}});
    db.InsertRows(u"T", {{Value::Null(), Value::Null()}, {Value::Null(), Value::Null()}});
  });
  ShowTable(u"T", {u"Id", u"Data"});
  MarkFields({u"Id", u"Data"});
  ChooseOperation(kRemoveAllSpaces);
  Observe(false);
  Start();
  ASSERT_EQ(observer.heard.size(), 7u) << Main::ToUtf8(observer.heard.back());
  EXPECT_EQ(observer.heard[0], u"start Id 2");
  // AutoNumbers hold no spaces: nothing to write, nothing refused.
  EXPECT_EQ(observer.heard[1], u"unchanged 1");
  EXPECT_EQ(observer.heard[3], u"finish");
  EXPECT_EQ(observer.heard[4], u"start Data 2");
  EXPECT_EQ(observer.heard[5], u"field refused it holds OLE objects.");
  EXPECT_EQ(observer.heard[6], u"finish");
}

TEST_F(ObservedRunTest, ATrialWritesNothingAndReportsWhatTheRealRunWould) {
  MakeDatabase([](Jet::DatabaseCreator& db) {
    db.AddTable({u"T", {{u"A", Jet::FieldType::Text, 5}}});
    db.InsertRows(u"T", {{Value::Text(u"a a")}, {Value::Text(u"b b b")}, {Value::Text(u"cc")}});
  });
  const std::string before = Bytes(file);
  ShowTable(u"T", {u"A"});
  MarkFields({u"A"});
  ChooseOperation(kReplaceAllSpaces);
  input.Answer(u"--");  // "b b b" would become "b--b--b", too long
  Observe(true);
  Start();
  EXPECT_EQ(observer.heard, (Texts{u"start A 3", u"changed a a|a--a", u"refused b b b", u"unchanged cc", u"finish"}));
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(Main::ToUtf8(reports[0]).find("too small"), std::string::npos);
  EXPECT_TRUE(Bytes(file) == before);  // byte for byte
  EXPECT_EQ(Messages().back(), u"Done.");
}

TEST_F(ObservedRunTest, ATrialRunsWhileAnotherProgramWritesTheFile) {
  MakeTextTable({Value::Text(u"x y")});
  auto writer = Access::CreateConnection();
  writer->SetMode(Access::kModeReadWrite);
  writer->Open(Access1::BuildConnectionString(choice));
  ShowTable(u"T", {u"V"});
  MarkFields({u"V"});
  ChooseOperation(kRemoveAllSpaces);
  Observe(true);
  Start();
  writer->Close();
  EXPECT_TRUE(reports.empty()) << Main::ToUtf8(reports.front());
  EXPECT_EQ(observer.heard, (Texts{u"start V 1", u"changed x y|xy", u"finish"}));
  EXPECT_EQ(StoredTexts(u"T", u"V"), Texts{u"x y"});
}

}  // namespace
}  // namespace Engine::Testing
