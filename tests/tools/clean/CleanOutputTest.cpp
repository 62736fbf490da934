#include <gtest/gtest.h>

#include <sstream>

#include "common/Text.h"
#include "engine/OperationCatalogue.h"
#include "tools/clean/Console.h"
#include "tools/clean/ConsoleDialogs.h"
#include "tools/clean/ProgressPrinter.h"

namespace Clean {
namespace {

using namespace std::chrono_literals;

TEST(CleanOutput, AValueStaysOnItsLineAndInItsColumn) {
  EXPECT_EQ(OneLine(u"plain text"), u"plain text");
  EXPECT_EQ(OneLine(u"a\tb\r\nc\\d\n"), u"a\\tb\\r\\nc\\\\d\\n");
  EXPECT_EQ(OneLine(u""), u"");
}

TEST(CleanOutput, MessagesGoBelowTheProgressLineOfATerminal) {
  std::ostringstream out, err;
  Console console(out, err, true);
  console.Progress(u"one");
  console.Progress(u"two");
  console.Message(u"first\r\nsecond\r\rthird");
  console.Result(u"result");
  EXPECT_EQ(err.str(), "\r\x1b[Kone\r\x1b[Ktwo\nfirst\nsecond\n\nthird\n");
  EXPECT_EQ(out.str(), "result\n");
}

TEST(CleanOutput, ProgressLinesElsewhereAreLinesOfTheirOwn) {
  std::ostringstream out, err;
  Console console(out, err, false);
  console.Progress(u"one");
  console.Message(u"note");
  console.EndProgress();
  EXPECT_EQ(err.str(), "one\nnote\n");
}

TEST(CleanOutput, TheProgressLineShowsBarPercentCountAndField) {
  EXPECT_EQ(ProgressLineText(0, 1, 240, u"Name"), u"[--------------------]   0.0%  1 of 240  Name");
  EXPECT_EQ(ProgressLineText(50, 121, 240, u"Name"), u"[##########----------]  50.0%  121 of 240  Name");
  EXPECT_EQ(ProgressLineText(100, 240, 240, u"Zoë"), u"[####################] 100.0%  240 of 240  Zoë");
}

TEST(CleanOutput, ATerminalIsRedrawnAtMostEveryTenthOfASecondAndAlwaysAtTheEnd) {
  std::ostringstream out, err;
  Console console(out, err, true);
  ProgressPrinter printer(console);
  const ProgressPrinter::Clock::time_point start{};
  printer.Show(0, 1, 4, u"F", start);
  printer.Show(25, 2, 4, u"F", start + 50ms);   // too soon
  printer.Show(50, 3, 4, u"F", start + 150ms);
  printer.Show(100, 4, 4, u"F", start + 160ms);  // the end is always shown
  const std::string text = err.str();
  EXPECT_NE(text.find("1 of 4"), std::string::npos);
  EXPECT_EQ(text.find("2 of 4"), std::string::npos);
  EXPECT_NE(text.find("3 of 4"), std::string::npos);
  EXPECT_NE(text.find("4 of 4"), std::string::npos);
}

TEST(CleanOutput, PlainProgressIsALineAtEveryTenthOfTheWay) {
  std::ostringstream out, err;
  Console console(out, err, false);
  ProgressPrinter printer(console);
  for (const double percent : {0.0, 5.0, 9.9, 10.0, 10.5, 35.0, 99.9, 100.0}) printer.Show(percent, 1, 1, u"F");
  printer.Restart();
  printer.Show(100, 1, 1, u"G");
  EXPECT_EQ(err.str(), "F: 0%\nF: 10%\nF: 30%\nF: 90%\nF: 100%\nG: 100%\n");
}

TEST(CleanOutput, ThePromptsAreAnsweredFromTheOptionsOfTheOperationsKind) {
  const auto& operations = Engine::Operations();
  PromptAnswers answers{u"text", u"find", u"replace", u"7"};
  OptionAnswers replaceSpaces(operations[1], answers);  // a text prompt: "Replace With:"
  EXPECT_EQ(replaceSpaces.Ask(Engine::kReplaceWithPrompt, u"Quorvane"), u"text");
  EXPECT_EQ(replaceSpaces.Ask(Engine::kFindWhatPrompt, u"Quorvane"), std::nullopt);

  OptionAnswers replaceCharacters(operations[18], answers);  // "Find What:", then "Replace With:"
  EXPECT_EQ(replaceCharacters.Ask(Engine::kFindWhatPrompt, u"Quorvane"), u"find");
  EXPECT_EQ(replaceCharacters.Ask(Engine::kReplaceWithPrompt, u"Quorvane"), u"replace");

  OptionAnswers firstCharacters(operations[23], answers);
  EXPECT_EQ(firstCharacters.Ask(Engine::kEnterNumberPrompt, u"Quorvane"), u"7");
  EXPECT_EQ(firstCharacters.Ask(Engine::kReplaceWithPrompt, u"Quorvane"), std::nullopt);
  EXPECT_EQ(firstCharacters.Asked(), (std::vector<std::u16string>{u"Enter Number:", u"Replace With:"}));
}

TEST(CleanOutput, MessageBoxesAreWrittenAndAnswered) {
  std::ostringstream out, err;
  Console console(out, err, false);
  ConsoleMessages messages(console);
  EXPECT_EQ(messages.Show(u"Done.", Ui::kOkOnly, u"Quorvane"), Ui::kAnswerOk);
  EXPECT_EQ(messages.Show(u"Go on?", Ui::kYesNo, u"Quorvane"), Ui::kAnswerYes);
  EXPECT_EQ(err.str(), "Done.\nGo on?\n");
}

}  // namespace
}  // namespace Clean
