#include "engine/FieldPass.h"

#include <limits>

#include "common/ApplicationTitle.h"
#include "common/ui/EventPump.h"
#include "database/access/AdoDataType.h"
#include "engine/FieldQuery.h"
#include "engine/FieldRefusal.h"
#include "engine/RecordLoop.h"
#include "engine/RunMessages.h"

namespace Engine {
namespace {

void ShowMessage(Ui::MessageBoxService& box, std::u16string_view text) {
  box.Show(text, Ui::kOkOnly, Main::ApplicationTitle());
}

int32_t LastRecordIndex(Access::RecordSet& records) {
  const size_t count = records.RecordCount();
  if (count > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
    throw Main::Error(Main::ErrorNumber::kOverflow, "Overflow");
  }
  return static_cast<int32_t>(count) - 1;
}

// The operation whose list text equals the operation list's text, compared entry by entry in list
// order, each comparison under the entry's own test step.
const Operation* LookUpOperation(Main::StepTrap& trap, const Ui::DropDownList& operations) {
  for (const Operation& operation : Operations()) {
    if (trap.test(operation.testStep, [&] { return operations.Text() == operation.listText; })) {
      return &operation;
    }
  }
  return nullptr;
}

// True when the run would write to a database that takes no change (a trial run only checks).
bool WritesRefused(RunState& run) { return !run.options.trialOnly && run.Connection().IsReadOnly(); }

// Why no record of the field will be written, before any is tried: a type never rewritten as
// text, or a database that takes no change.
std::optional<std::u16string> WholeFieldRefusal(RunState& run) {
  if (const auto reason = NeverRewrittenReason(run.Records().FieldType(0))) return std::u16string(*reason);
  if (WritesRefused(run)) return run.Connection().ReadOnlyReason();
  return std::nullopt;
}

// Steps 124 to the end of the record loop, on the field's open record set.
void WorkField(RunState& run, const RunView& view, PromptDialogs dialogs,
               const PauseFunction& pause, const FieldInHand& field) {
  Main::StepTrap& trap = run.trap;
  // No warning about changing a Date field that will not be changed.
  if (trap.test(124, [&] { return run.Records().FieldType(0) == Access::AdoType::kDate && !WritesRefused(run); })) {
    trap.step(124, [&] { ShowMessage(dialogs.messageBox, kDateFieldWarning); });
    if (Ui::ProgramEndRequested()) return;
  }
  if (trap.step(132, [&] { run.lastRecord = LastRecordIndex(run.Records()); })) {
    run.Notify([&](RunObserver& observer) { observer.FieldStarted(field, int64_t{run.lastRecord} + 1); });
  }
  if (trap.test(134, [&] { return run.Records().Eof(); })) return;

  const Operation* operation = LookUpOperation(trap, view.operations);
  if (operation == nullptr) return;
  const int updateStep = operation->loopSteps.update;
  std::optional<std::u16string> refusal;
  trap.step(updateStep, [&] { refusal = WholeFieldRefusal(run); });
  if (refusal) {
    run.Notify([&](RunObserver& observer) { observer.FieldRefused(*refusal); });
    trap.step(updateStep, [&] {
      ShowMessage(dialogs.messageBox, FieldLeftUnchangedMessage(field.table, field.field, *refusal));
    });
    return;
  }
  const PromptOutcome prompted = RunPromptStage(*operation, run.answers, dialogs, trap);
  if (prompted == PromptOutcome::EndFieldPass || Ui::ProgramEndRequested()) return;
  RunRecordLoop({run, *operation, field, view.progress, dialogs.messageBox, pause});
}

}  // namespace

void RunFieldPass(RunState& run, const RunView& view, PromptDialogs dialogs,
                  const PauseFunction& pause, const ListText& table, const ListText& fieldName) {
  Main::StepTrap& trap = run.trap;
  FieldInHand field;
  const bool opened = trap.step(122, [&] {
    field = {table.Get(), fieldName.Get()};
    run.Records().Open(FieldQueryText(field), run.Connection(), Access::kCursorStatic,
                       Access::kLockOptimistic);
  });
  if (opened) WorkField(run, view, dialogs, pause, field);
  if (Ui::ProgramEndRequested()) {
    if (opened) run.Notify([](RunObserver& observer) { observer.FieldFinished(); });
    return;  // the run closes the record set
  }
  trap.step(866, [&] { view.pointer.SetPointer(Ui::kPointerDefault); });
  trap.step(868, [&] {
    view.progress.SetValue(0);
    view.progress.SetCaption(kProgressCaption);
  });
  if (opened) {
    trap.step(870, [&] { run.Records().Close(); });
    run.Notify([](RunObserver& observer) { observer.FieldFinished(); });
  }
}

}  // namespace Engine
