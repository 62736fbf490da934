// Every operation through the whole run, with its prompts answered, cancelled or confirmed empty.
#include <gtest/gtest.h>

#include "common/Text.h"
#include "tests/engine/run/RunFixture.h"

namespace Engine::Testing {
namespace {

const std::vector<Value> kSample = {
    Value::Text(u"  Ab c'd  12\t"), Value::Text(u"x\r\ny 7  "), Value::Null(), Value::Text(u""),
    Value::Text(u"O'Neil, #42c")};

// The answers given at the operation's prompts (OK every time).
Answers ScriptAnswers(const Operation& operation, ::Testing::ScriptedInputBox& input) {
  Answers answers;
  switch (operation.promptKind) {
    case PromptKind::NoPrompt: break;
    case PromptKind::TextPrompt: answers.first = u"c"; break;
    case PromptKind::FindReplacePrompt: answers = {u"c", u"#"}; break;
    case PromptKind::NumberPrompt: answers.first = u"3"; break;
  }
  if (operation.promptKind != PromptKind::NoPrompt) input.Answer(answers.first);
  if (operation.promptKind == PromptKind::FindReplacePrompt) input.Answer(answers.second);
  return answers;
}

class EveryOperationTest : public RunTest, public ::testing::WithParamInterface<int> {};

TEST_P(EveryOperationTest, RewritesEachValueAsStoredWithTheAnswersGiven) {
  const Operation& operation = Operations()[GetParam() - 1];
  MakeTextTable(kSample);
  ChooseOperation(operation.number);
  const Answers answers = ScriptAnswers(operation, input);
  Start();
  EXPECT_TRUE(input.AllAnswersUsed());
  EXPECT_TRUE(reports.empty()) << Main::ToUtf8(reports.empty() ? u"" : reports[0]);
  const std::vector<Value> stored = Stored(u"T", u"V");
  ASSERT_EQ(stored.size(), kSample.size());
  int changed = 0;
  for (size_t i = 0; i < kSample.size(); ++i) {
    if (kSample[i].IsNull()) {
      EXPECT_TRUE(stored[i].IsNull());
      continue;
    }
    EXPECT_EQ(stored[i].ToText(), operation.Apply(kSample[i].AsText(), answers)) << "row " << i;
    changed += stored[i] != kSample[i];
  }
  EXPECT_GT(changed, 0) << "the sample should show the operation at work";
  EXPECT_EQ(Messages().back(), u"Done.");
}

INSTANTIATE_TEST_SUITE_P(AllOperations, EveryOperationTest, ::testing::Range(1, 28));

// Values written by hand for the operations whose effect is easy to get wrong.
TEST_F(RunTest, ApostrophesCountAsOneCharacter) {
  MakeTextTable({Value::Text(u"O'Brien"), Value::Text(u"''x")});
  ChooseOperation(24);  // Remove First x Character(s)
  input.Answer(u"2");
  Start();
  EXPECT_EQ(StoredTexts(u"T", u"V"), (Texts{u"Brien", u"x"}));
}

TEST_F(RunTest, ReplaceNonAlphanumericPutsTheReplacementOnceForAnApostrophe) {
  MakeTextTable({Value::Text(u"O'Brien & co")});
  ChooseOperation(17);
  input.Answer(u"_");
  Start();
  EXPECT_EQ(StoredTexts(u"T", u"V"), Texts{u"O_Brien _ co"});
}

TEST_F(RunTest, AnApostropheInTheReplacementIsStoredAsTyped) {
  MakeTextTable({Value::Text(u"a b")});
  ChooseOperation(2);
  input.Answer(u"'");
  Start();
  EXPECT_EQ(StoredTexts(u"T", u"V"), Texts{u"a'b"});
  EXPECT_TRUE(reports.empty());
}

TEST_F(RunTest, EachRecordIsRewrittenItselfWithoutChainsOrEqualNeighbours) {
  MakeTextTable({Value::Text(u"abc"), Value::Text(u"bc"), Value::Text(u"abc"), Value::Text(u"ABC")});
  ChooseOperation(24);  // Remove First x Character(s), x = 1
  input.Answer(u"1");
  Start();
  EXPECT_EQ(StoredTexts(u"T", u"V"), (Texts{u"bc", u"c", u"bc", u"BC"}));
}

TEST_F(RunTest, EmptyTextStaysEmpty) {
  MakeTextTable({Value::Text(u""), Value::Text(u" ")});
  ChooseOperation(2);
  input.Answer(u"-");
  Start();
  EXPECT_EQ(StoredTexts(u"T", u"V"), (Texts{u"", u"-"}));
  EXPECT_TRUE(reports.empty());
}

// Two fields of one table, both marked, for the prompts across fields.
class TwoFieldRunTest : public RunTest {
 protected:
  void SetUp() override {
    MakeDatabase([](Jet::DatabaseCreator& db) {
      db.AddTable({u"T", {{u"A", Jet::FieldType::Text, 50}, {u"B", Jet::FieldType::Text, 50}}});
      db.InsertRows(u"T", {{Value::Text(u"a b.c"), Value::Text(u"d e.f")}});
    });
    ShowTable(u"T", {u"A", u"B"});
    MarkFields({u"A", u"B"});
  }
  Texts Both() const {
    Texts both = StoredTexts(u"T", u"A");
    both.push_back(StoredTexts(u"T", u"B")[0]);
    return both;
  }
};

TEST_F(TwoFieldRunTest, AnswersOfTheFirstFieldServeTheNext) {
  ChooseOperation(19);  // Replace User-Defined Character(s)
  input.Answer(u".");
  input.Answer(u"!");
  Start();
  EXPECT_EQ(input.Prompts(), (Texts{u"Find What:", u"Replace With:"}));
  EXPECT_EQ(Both(), (Texts{u"a b!c", u"d e!f"}));
}

TEST_F(TwoFieldRunTest, CancelAtATextPromptLeavesTheFieldAndTheNextAsksAgain) {
  ChooseOperation(2);
  input.Answer(std::nullopt);
  input.Answer(u"_");
  Start();
  EXPECT_EQ(input.Prompts(), (Texts{u"Replace With:", u"Replace With:"}));
  EXPECT_EQ(Both(), (Texts{u"a b.c", u"d_e.f"}));
}

TEST_F(TwoFieldRunTest, EmptyAnswerIsUsedAndAskedAgainForTheNextField) {
  ChooseOperation(2);
  input.Answer(u"");
  input.Answer(u"+");
  Start();
  EXPECT_EQ(input.Prompts(), (Texts{u"Replace With:", u"Replace With:"}));
  EXPECT_EQ(Both(), (Texts{u"ab.c", u"d+e.f"}));
}

TEST_F(TwoFieldRunTest, CancelAtFindWhatStillAsksReplaceWithAndLeavesTheField) {
  ChooseOperation(21);  // Replace All Text After User-Defined Character(s)
  input.Answer(std::nullopt);
  input.Answer(u"x");
  input.Answer(u".");
  input.Answer(u"!");
  Start();
  EXPECT_EQ(input.Prompts(), (Texts{u"Find What:", u"Replace With:", u"Find What:", u"Replace With:"}));
  EXPECT_EQ(Both(), (Texts{u"a b.c", u"d e.!"}));
}

TEST_F(TwoFieldRunTest, CancelAtReplaceWithLeavesEveryFieldWithoutAskingAgain) {
  ChooseOperation(23);
  input.Answer(u".");
  input.Answer(std::nullopt);
  Start();
  EXPECT_EQ(input.Prompts(), (Texts{u"Find What:", u"Replace With:"}));
  EXPECT_EQ(Both(), (Texts{u"a b.c", u"d e.f"}));
}

TEST_F(TwoFieldRunTest, EnterNumberComesBackUntilANumberAndCancelLeavesTheField) {
  ChooseOperation(25);  // Remove Last x Character(s)
  input.Answer(u"");
  input.Answer(u"two");
  input.Answer(std::nullopt);  // the first field's pass ends
  input.Answer(u"2.5");        // the count 2 for the second
  Start();
  EXPECT_EQ(input.Prompts(), (Texts(4, u"Enter Number:")));
  EXPECT_EQ(Both(), (Texts{u"a b.c", u"d e"}));
}

TEST_F(TwoFieldRunTest, MustEnterNumberWhenTheListTurnsToANumberOperationDuringAYield) {
  ChooseOperation(18);  // Remove User-Defined Character(s): its answer is a text
  input.Answer(u".");
  int yields = 0;
  onYield = [&] {
    if (++yields == 2) ChooseOperation(26);  // during field A's record: Remove All Text After x Position
  };
  Start();
  EXPECT_EQ(StoredTexts(u"T", u"A"), Texts{u"a bc"});
  EXPECT_EQ(StoredTexts(u"T", u"B"), Texts{u"d e.f"});
  EXPECT_EQ(Messages(), (Texts{u"Must enter number", u"Done."}));
  EXPECT_TRUE(reports.empty());
}

}  // namespace
}  // namespace Engine::Testing
