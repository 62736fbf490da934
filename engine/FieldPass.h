#pragma once

#include "engine/PromptStage.h"
#include "engine/RunState.h"
#include "engine/RunView.h"

// One selected field's pass through a cleaning run: its query, the Date warning, the operation
// looked up afresh, the prompt stage, the record loop, and the reset of pointer and progress.
namespace Engine {

// Runs the pass of the field list's entry at `index` (1-based). A query that cannot be opened is
// reported once and the pass goes straight to its end.
void RunFieldPass(RunState& run, const RunView& view, PromptDialogs dialogs,
                  const PauseFunction& pause, int index);

}  // namespace Engine
