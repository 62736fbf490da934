#include "engine/RecordLoop.h"

#include <cstring>
#include <optional>
#include <string>

#include "common/ApplicationTitle.h"
#include "common/ui/EventPump.h"
#include "engine/FieldRefusal.h"

namespace Engine {
namespace {

using Main::Value;

// What the update step did with one record.
struct RecordResult {
  RecordOutcome outcome = RecordOutcome::kUnchanged;
  std::u16string newText;
  std::optional<std::u16string> fieldRefusal;  // the engine's reason when it refuses the whole field
};

// Whether two texts hold the same characters (compared as bytes: the character-by-character
// comparison of char16_t strings costs several times more).
bool SameText(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0;
}

// The update step of one record: the transform of the value as stored, written to this record
// itself when it differs (in a trial, checked by the engine instead). Nothing is written once
// the program is ending (the transforms yield too).
RecordResult UpdateRecord(const RecordLoopContext& context, const Value& old) {
  Access::RecordSet& records = context.run.Records();
  std::u16string convertedText;  // a value of another kind, as text
  if (old.kind() != Value::Kind::Text) convertedText = old.ToText();
  const std::u16string_view oldText = old.kind() == Value::Kind::Text ? old.AsText() : convertedText;
  RecordResult result;
  result.newText = context.operation.Apply(oldText, context.run.answers);
  if (SameText(result.newText, oldText) || Ui::ProgramEndRequested()) return result;
  try {
    if (context.run.options.trialOnly) {
      records.CheckText(0, result.newText);
    } else {
      records.SetValue(0, Value::Text(result.newText));
      records.Update();
    }
  } catch (const Main::Error& error) {
    if (!IsFieldRefusal(error)) throw;
    result.outcome = RecordOutcome::kRefused;
    result.fieldRefusal = error.Description();
    return result;
  }
  result.outcome = RecordOutcome::kChanged;
  return result;
}

}  // namespace

// The loop's start and end steps (S and S+18) only count r from 0 to the bound fixed here; they
// have nothing that can fail. Once the program is ending the loop stops at its next yield,
// before anything more is written or shown.
void RunRecordLoop(const RecordLoopContext& context) {
  RunState& run = context.run;
  Main::StepTrap& trap = run.trap;
  const RecordLoopSteps& steps = context.operation.loopSteps;
  const int32_t last = run.lastRecord;
  for (int32_t r = 0; r <= last; ++r) {
    trap.step(steps.yield, [] { Ui::PumpEvents(); });
    if (Ui::ProgramEndRequested()) return;
    if (trap.test(steps.zeroTest, [&] { return last == 0; })) {
      trap.step(steps.progressFull, [&] { context.progress.SetValue(100); });
    } else {
      trap.step(steps.progressPercent,
                [&] { context.progress.SetValue(static_cast<double>(r) / last * 100); });
    }
    std::optional<Value> old;
    if (trap.test(steps.nullTest, [&] { return !old.emplace(run.Records().Value(0)).IsNull(); })) {
      RecordResult result;
      result.outcome = RecordOutcome::kRefused;  // unless the step finishes
      trap.step(steps.update, [&] {
        // After a failed Null test the value is read again, so that its failure is reported here.
        result = UpdateRecord(context, old ? *old : run.Records().Value(0));
      });
      if (Ui::ProgramEndRequested()) return;
      run.Notify([&](RunObserver& observer) {
        static const Value kNull = Value::Null();
        observer.RecordHandled(result.outcome, old ? *old : kNull, result.newText);
      });
      if (result.fieldRefusal) {
        run.Notify([&](RunObserver& observer) { observer.FieldRefused(*result.fieldRefusal); });
        trap.step(steps.update, [&] {
          context.messageBox.Show(
              FieldLeftUnchangedMessage(context.field.table, context.field.field, *result.fieldRefusal),
              Ui::kOkOnly, Main::ApplicationTitle());
        });
        return;
      }
    } else {
      run.Notify([&](RunObserver& observer) { observer.RecordHandled(RecordOutcome::kUnchanged, *old, {}); });
    }
    trap.step(steps.pauseTest, [&] {
      if (r % kRecordsBetweenPauses == 0) context.pause(kPauseSeconds);
    });
    if (Ui::ProgramEndRequested()) return;
    trap.step(steps.moveNext, [&] { run.Records().MoveNext(); });
  }
}

}  // namespace Engine
