#include "engine/PromptStage.h"

#include "common/ApplicationTitle.h"
#include "common/ui/EventPump.h"
#include "engine/NumberAnswer.h"

namespace Engine {
namespace {

// Shows an input box and stores its result; a box that fails leaves the answer as it was. Once
// the program is ending no box is shown and the answer is a Cancel.
bool Ask(Main::StepTrap& trap, int step, Ui::InputBoxService& box, std::u16string_view prompt,
         AnswerSlot& answer) {
  if (Ui::ProgramEndRequested()) {
    answer.reset();
    return false;
  }
  return trap.step(step, [&] { answer = box.Ask(prompt, Main::ApplicationTitle()); });
}

PromptOutcome TextStage(const Operation& op, Answers& answers, PromptDialogs dialogs,
                        Main::StepTrap& trap) {
  const PromptSteps& s = op.promptSteps;
  if (trap.test(s.emptyTest, [&] { return IsEmptyOrAbsent(answers.first); })) {
    Ask(trap, s.firstBox, dialogs.inputBox, op.promptText, answers.first);
  }
  if (trap.test(s.firstAbsentTest, [&] { return !answers.first.has_value(); })) {
    return PromptOutcome::EndFieldPass;
  }
  return PromptOutcome::GoOn;
}

PromptOutcome FindReplaceStage(const Operation& op, Answers& answers, PromptDialogs dialogs,
                               Main::StepTrap& trap) {
  const PromptSteps& s = op.promptSteps;
  if (trap.test(s.emptyTest, [&] { return IsEmptyOrAbsent(answers.first); })) {
    Ask(trap, s.firstBox, dialogs.inputBox, kFindWhatPrompt, answers.first);
    // The second box comes even when the first was cancelled.
    Ask(trap, s.secondBox, dialogs.inputBox, kReplaceWithPrompt, answers.second);
  }
  if (trap.test(s.firstAbsentTest, [&] { return !answers.first.has_value(); })) {
    return PromptOutcome::EndFieldPass;
  }
  if (trap.test(s.secondAbsentTest, [&] { return !answers.second.has_value(); })) {
    return PromptOutcome::EndFieldPass;
  }
  return PromptOutcome::GoOn;
}

PromptOutcome NumberStage(const Operation& op, Answers& answers, PromptDialogs dialogs,
                          Main::StepTrap& trap) {
  const PromptSteps& s = op.promptSteps;
  if (trap.test(s.emptyTest, [&] { return IsEmptyOrAbsent(answers.first); })) {
    // Ask until a number is given or the box is cancelled; a box that fails stops asking.
    while (Ask(trap, s.firstBox, dialogs.inputBox, kEnterNumberPrompt, answers.first) &&
           trap.test(s.repeatTest,
                     [&] { return answers.first.has_value() && !IsAcceptedCount(*answers.first); })) {
    }
  }
  if (!answers.first.has_value()) return PromptOutcome::EndFieldPass;  // cancelled
  // Reached with text only when an earlier text prompt of the run filled the first answer.
  if (trap.test(s.numberTest, [&] { return !IsAcceptedCount(*answers.first); })) {
    trap.step(s.mustEnterNumber, [&] {
      dialogs.messageBox.Show(kMustEnterNumberMessage, Ui::kOkOnly, Main::ApplicationTitle());
    });
    return PromptOutcome::EndFieldPass;
  }
  return PromptOutcome::GoOn;
}

}  // namespace

PromptOutcome RunPromptStage(const Operation& operation, Answers& answers, PromptDialogs dialogs,
                             Main::StepTrap& trap) {
  switch (operation.promptKind) {
    case PromptKind::NoPrompt: return PromptOutcome::GoOn;
    case PromptKind::TextPrompt: return TextStage(operation, answers, dialogs, trap);
    case PromptKind::FindReplacePrompt: return FindReplaceStage(operation, answers, dialogs, trap);
    case PromptKind::NumberPrompt: return NumberStage(operation, answers, dialogs, trap);
  }
  return PromptOutcome::GoOn;
}

}  // namespace Engine
