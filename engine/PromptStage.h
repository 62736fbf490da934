#pragma once

#include "common/StepTrap.h"
#include "common/ui/Dialogs.h"
#include "engine/Answers.h"
#include "engine/OperationCatalogue.h"

// The prompt stage an operation runs for each field that has records, before its record loop:
// it asks for the inputs while the first answer is still empty or cancelled, and decides whether
// the field's records are worked.
namespace Engine {

enum class PromptOutcome {
  GoOn,          // run the record loop with the answers
  EndFieldPass,  // leave this field unchanged and go on with the next
};

struct PromptDialogs {
  Ui::InputBoxService& inputBox;
  Ui::MessageBoxService& messageBox;
};

// Runs the stage under the run's step trap, each step with the operation's own step number. A
// Cancel ends the field's pass (also at "Enter Number:"); "Enter Number:" comes back until a
// number from 0 to 32767 is given.
PromptOutcome RunPromptStage(const Operation& operation, Answers& answers, PromptDialogs dialogs,
                             Main::StepTrap& trap);

}  // namespace Engine
