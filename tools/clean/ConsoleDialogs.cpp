#include "tools/clean/ConsoleDialogs.h"

namespace Clean {

int ConsoleMessages::Show(std::u16string_view prompt, int style, std::u16string_view /*title*/) {
  console_.Message(prompt);
  return style == Ui::kYesNo ? Ui::kAnswerYes : Ui::kAnswerOk;
}

std::optional<std::u16string> OptionAnswers::Ask(std::u16string_view prompt, std::u16string_view /*title*/) {
  asked_.emplace_back(prompt);
  switch (operation_.promptKind) {
    case Engine::PromptKind::NoPrompt: return std::nullopt;
    case Engine::PromptKind::TextPrompt:
      return prompt == operation_.promptText ? answers_.answer : std::nullopt;
    case Engine::PromptKind::FindReplacePrompt:
      if (prompt == Engine::kFindWhatPrompt) return answers_.find;
      return prompt == Engine::kReplaceWithPrompt ? answers_.replace : std::nullopt;
    case Engine::PromptKind::NumberPrompt:
      return prompt == Engine::kEnterNumberPrompt ? answers_.number : std::nullopt;
  }
  return std::nullopt;
}

}  // namespace Clean
