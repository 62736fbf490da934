#pragma once

#include "engine/RunState.h"
#include "engine/RunView.h"

// The end of a run: the preview list filled afresh with the first values of the field list's
// current entry, as the run left them.
namespace Engine {

// At most this many preview rows (one more than the column header promises).
inline constexpr int kPreviewRows = 101;

// Steps 874 to 898. The refill stops at its first failure (no current field entry, a table that
// is gone, a value that cannot be read) instead of failing again row after row. Values are shown
// as stored.
void RefillPreview(RunState& run, const RunView& view);

}  // namespace Engine
