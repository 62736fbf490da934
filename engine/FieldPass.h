#pragma once

#include "engine/PromptStage.h"
#include "engine/RunState.h"
#include "engine/RunTargets.h"
#include "engine/RunView.h"

// One selected field's pass through a cleaning run: its query, the Date warning, the operation
// looked up afresh, the prompt stage, the record loop, and the reset of pointer and progress.
namespace Engine {

// Runs the pass of one marked field of the table, both as read when the run started. A query
// that cannot be opened (or a name that could not be read) is reported once and the pass goes
// straight to its end. On a connection that takes no change (outside a trial run) a field with
// records is named in one message before anything is asked. When the program is ending the pass
// stops at the next yield and shows nothing more.
void RunFieldPass(RunState& run, const RunView& view, PromptDialogs dialogs,
                  const PauseFunction& pause, const ListText& table, const ListText& field);

}  // namespace Engine
