#pragma once

#include "common/ui/Dialogs.h"
#include "common/ui/ProgressView.h"
#include "engine/FieldQuery.h"
#include "engine/OperationCatalogue.h"
#include "engine/RunState.h"
#include "engine/RunView.h"

// The record loop of one field: every record from 0 to N, each rewritten in place with the
// operation's transform, under the operation's own step numbers.
namespace Engine {

struct RecordLoopContext {
  RunState& run;                  // its record set stands on the field's first record
  const Operation& operation;
  const FieldInHand& field;
  Ui::ProgressView& progress;
  Ui::MessageBoxService& messageBox;
  const PauseFunction& pause;
};

// Runs records 0 to run.lastRecord. A Null value is skipped but counted; a record whose new value
// equals its old one is not written; a record the engine refuses for a cause of its own (its
// value, its size) is reported with the update step and the loop goes on. A field the engine
// cannot change at all is named in one message and the loop ends there. When the program is
// ending the loop stops at its next yield.
void RunRecordLoop(const RecordLoopContext& context);

// Records between two pauses: the run pauses at record 0, 500, 1000 ...
inline constexpr int32_t kRecordsBetweenPauses = 500;
inline constexpr double kPauseSeconds = 0.1;

}  // namespace Engine
