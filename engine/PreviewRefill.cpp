#include "engine/PreviewRefill.h"

#include "common/ui/EventPump.h"
#include "engine/FieldQuery.h"

namespace Engine {

// The row counter and the record index (steps 880, 882, 894 and 896) are plain counters that
// cannot fail.
void RefillPreview(RunState& run, const RunView& view) {
  Main::StepTrap& trap = run.trap;
  const bool opened = trap.step(874, [&] {
    const FieldInHand field{view.tables.CurrentEntryText(), view.fields.CurrentEntryText()};
    run.Records().Open(FieldQueryText(field), run.Connection(), Access::kCursorStatic,
                       Access::kLockOptimistic);
  });
  if (!opened) return;
  bool going = trap.step(876, [&] { view.preview.Clear(); }) &&
               trap.step(878, [&] { view.pointer.SetPointer(Ui::kPointerBusy); }) &&
               trap.step(884, [] { Ui::PumpEvents(); }) && !Ui::ProgramEndRequested();
  for (int rows = 0; going && rows < kPreviewRows; ++rows) {
    bool atEnd = true;
    going = trap.step(886, [&] { atEnd = run.Records().Eof(); }) && !atEnd &&
            trap.step(888, [] { Ui::PumpEvents(); }) && !Ui::ProgramEndRequested() &&
            trap.step(890, [&] { view.preview.AddEntry(run.Records().Value(0).ToText()); }) &&
            trap.step(892, [&] { run.Records().MoveNext(); });
  }
  if (Ui::ProgramEndRequested()) return;  // the run closes the record set
  trap.step(898, [&] { run.Records().Close(); });
}

}  // namespace Engine
