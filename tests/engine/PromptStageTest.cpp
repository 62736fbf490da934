#include "engine/PromptStage.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/ApplicationTitle.h"
#include "common/ErrorReport.h"
#include "tests/support/ScriptedDialogs.h"

namespace Engine {
namespace {

using Prompts = std::vector<std::u16string>;

// Runs prompt stages the way a cleaning run does: one set of answers for all its fields.
class PromptStageTest : public ::testing::Test {
 protected:
  PromptStageTest() {
    previousReporter_ = Main::InstallErrorReporter([this](std::u16string_view text) {
      reports.emplace_back(text);
    });
  }
  ~PromptStageTest() override { Main::InstallErrorReporter(previousReporter_); }

  PromptOutcome Field(int operationNumber) {
    return RunPromptStage(Operations()[operationNumber - 1], answers, {input, messages}, trap);
  }

  Testing::ScriptedInputBox input;
  Testing::ScriptedMessageBox messages;
  Answers answers;  // empty at the start of a run
  Main::StepTrap trap{Main::HandlerProcedure(u"Form2", u"PushButton2_Click")};
  std::vector<std::u16string> reports;

 private:
  Main::ErrorReporter previousReporter_;
};

TEST_F(PromptStageTest, NoPromptGoesOnAtOnce) {
  EXPECT_EQ(Field(1), PromptOutcome::GoOn);
  EXPECT_TRUE(input.asked.empty());
}

TEST_F(PromptStageTest, TextAnswerServesEveryLaterField) {
  input.Answer(u"_");
  EXPECT_EQ(Field(2), PromptOutcome::GoOn);
  EXPECT_EQ(Field(2), PromptOutcome::GoOn);
  EXPECT_EQ(input.Prompts(), Prompts{u"Replace With:"});
  EXPECT_EQ(answers.first, u"_");
  EXPECT_EQ(input.asked[0].title, Main::ApplicationTitle());
}

TEST_F(PromptStageTest, CancelLeavesTheFieldAndTheNextFieldAsksAgain) {
  input.Answer(std::nullopt);
  input.Answer(u"-");
  EXPECT_EQ(Field(2), PromptOutcome::EndFieldPass);
  EXPECT_EQ(Field(2), PromptOutcome::GoOn);
  EXPECT_EQ(input.Prompts(), (Prompts{u"Replace With:", u"Replace With:"}));
}

TEST_F(PromptStageTest, EmptyAnswerIsUsedButAskedAgainForTheNextField) {
  input.Answer(u"");
  input.Answer(u"");
  EXPECT_EQ(Field(2), PromptOutcome::GoOn);
  EXPECT_EQ(Operations()[1].Apply(u"a b", answers), u"ab");
  EXPECT_EQ(Field(2), PromptOutcome::GoOn);
  EXPECT_EQ(input.asked.size(), 2u);
}

TEST_F(PromptStageTest, UserDefinedCharactersAskTheirOwnPrompt) {
  input.Answer(u"x");
  EXPECT_EQ(Field(18), PromptOutcome::GoOn);
  input.Answer(u"=");
  Answers fresh;
  answers = fresh;
  EXPECT_EQ(Field(20), PromptOutcome::GoOn);
  EXPECT_EQ(input.Prompts(),
            (Prompts{u"Enter User-Defined Character(s):", u"Enter User-Defined Character(s):"}));
}

TEST_F(PromptStageTest, FindCancelledStillAsksReplacementAndTheNextFieldAsksBoth) {
  for (int op : {19, 21, 23}) {
    SCOPED_TRACE(op);
    answers = Answers{};
    input.asked.clear();
    input.Answer(std::nullopt);
    input.Answer(u"r");
    input.Answer(u"f");
    input.Answer(u"r");
    EXPECT_EQ(Field(op), PromptOutcome::EndFieldPass);
    EXPECT_EQ(Field(op), PromptOutcome::GoOn);
    EXPECT_EQ(input.Prompts(), (Prompts{u"Find What:", u"Replace With:", u"Find What:", u"Replace With:"}));
  }
}

TEST_F(PromptStageTest, ReplacementCancelledLeavesEveryLaterFieldWithoutAsking) {
  input.Answer(u"f");
  input.Answer(std::nullopt);
  EXPECT_EQ(Field(19), PromptOutcome::EndFieldPass);
  EXPECT_EQ(Field(19), PromptOutcome::EndFieldPass);
  EXPECT_EQ(Field(19), PromptOutcome::EndFieldPass);
  EXPECT_EQ(input.asked.size(), 2u);
}

TEST_F(PromptStageTest, NumberBoxComesBackUntilACountIsGiven) {
  input.Answer(u"");
  input.Answer(u"abc");
  input.Answer(u"-1");
  input.Answer(u"40000");
  input.Answer(u"2.5");
  EXPECT_EQ(Field(24), PromptOutcome::GoOn);
  EXPECT_EQ(input.asked.size(), 5u);
  for (const auto& box : input.asked) EXPECT_EQ(box.prompt, u"Enter Number:");
  EXPECT_EQ(Operations()[23].Apply(u"abcdef", answers), u"cdef");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PromptStageTest, CancelAtTheNumberEndsTheFieldsPassSilently) {
  input.Answer(u"x");
  input.Answer(std::nullopt);
  input.Answer(u"3");
  EXPECT_EQ(Field(25), PromptOutcome::EndFieldPass);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(Field(25), PromptOutcome::GoOn);  // the next field asks again
  EXPECT_EQ(input.asked.size(), 3u);
}

TEST_F(PromptStageTest, TextLeftByAnEarlierOperationIsNotANumber) {
  input.Answer(u"dash");
  EXPECT_EQ(Field(2), PromptOutcome::GoOn);  // the operation list changes during the run
  EXPECT_EQ(Field(26), PromptOutcome::EndFieldPass);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].prompt, u"Must enter number");
  EXPECT_EQ(messages.shown[0].style, Ui::kOkOnly);
  EXPECT_EQ(messages.shown[0].title, Main::ApplicationTitle());
  EXPECT_EQ(input.asked.size(), 1u);
}

TEST_F(PromptStageTest, FailingInputBoxIsReportedWithItsStepAndTheStageGoesOn) {
  // No answer queued: the scripted box fails like a broken dialog would.
  EXPECT_EQ(Field(2), PromptOutcome::GoOn);  // the answer kept its empty text
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find(u"PushButton2_Click at line 162\r\r"), std::u16string::npos);

  answers = Answers{};
  reports.clear();
  EXPECT_EQ(Field(27), PromptOutcome::EndFieldPass);  // a failing number box stops asking
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find(u"at line 838\r\r"), std::u16string::npos);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].prompt, u"Must enter number");
}

}  // namespace
}  // namespace Engine
