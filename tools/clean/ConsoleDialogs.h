#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/ui/Dialogs.h"
#include "engine/OperationCatalogue.h"
#include "tools/clean/CommandLine.h"
#include "tools/clean/Console.h"

// The modal boxes of a cleaning run on the command line: messages go to standard error, and the
// input boxes are answered from the options.
namespace Clean {

// Writes each message on standard error and answers OK (Yes to a question).
class ConsoleMessages : public Ui::MessageBoxService {
 public:
  explicit ConsoleMessages(Console& console) : console_(console) {}
  int Show(std::u16string_view prompt, int style, std::u16string_view title) override;

 private:
  Console& console_;
};

// Answers the operation's prompts with the options given for them: a text prompt with --answer,
// "Find What:" and "Replace With:" with --find and --replace, "Enter Number:" with --number. A
// prompt the operation does not ask is cancelled.
class OptionAnswers : public Ui::InputBoxService {
 public:
  OptionAnswers(const Engine::Operation& operation, PromptAnswers answers)
      : operation_(operation), answers_(std::move(answers)) {}
  std::optional<std::u16string> Ask(std::u16string_view prompt, std::u16string_view title) override;

  // Every prompt asked, in order.
  const std::vector<std::u16string>& Asked() const { return asked_; }

 private:
  const Engine::Operation& operation_;
  PromptAnswers answers_;
  std::vector<std::u16string> asked_;
};

}  // namespace Clean
