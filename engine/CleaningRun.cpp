#include "engine/CleaningRun.h"

#include "common/ApplicationTitle.h"
#include "common/Pause.h"
#include "common/ui/EventPump.h"
#include "engine/FieldPass.h"
#include "engine/PreviewRefill.h"
#include "engine/RunMessages.h"
#include "engine/RunState.h"
#include "engine/RunTargets.h"

namespace Engine {

CleaningRun::CleaningRun(RunView view, PromptDialogs dialogs, const Access1::DatabaseChoice& database)
    : view_(view), dialogs_(dialogs), database_(database),
      pause_([](double seconds) { Main::PauseSeconds(seconds); }) {}

void CleaningRun::Start() {
  if (running_) return;
  running_ = true;
  struct Finished {
    bool& running;
    ~Finished() { running = false; }
  } finished{running_};
  Run();
}

// Step 872 (on to the next field) is the loop's own count and cannot fail.
void CleaningRun::Run() {
  RunState run;
  run.options = options_;
  Main::StepTrap& trap = run.trap;
  const auto show = [&](std::u16string_view text) {
    dialogs_.messageBox.Show(text, Ui::kOkOnly, Main::ApplicationTitle());
  };

  trap.step(100, [&] { run.connection = Access::CreateConnection(); });
  trap.step(102, [&] { run.records.emplace(); });
  if (trap.test(104, [&] { return view_.fields.Count() == 0; })) {
    trap.step(908, [&] { show(kPleaseSelectFieldMessage); });
    return;
  }
  trap.step(106, [&] { view_.pointer.SetPointer(Ui::kPointerBusy); });
  trap.step(108, [&] {
    run.Connection().SetMode(options_.trialOnly ? Access::kModeRead : Access::kModeReadWrite);
  });
  trap.step(110, [&] { run.Connection().Open(Access1::BuildConnectionString(database_)); });
  trap.step(112, [&] { run.answers.first = std::u16string(); });
  trap.step(114, [&] { run.answers.second = std::u16string(); });

  const RunTargets targets = ReadRunTargets(trap, view_.tables, view_.fields);
  for (const ListText& field : targets.fields) {
    trap.step(118, [] { Ui::PumpEvents(); });
    if (Ui::ProgramEndRequested()) break;
    RunFieldPass(run, view_, dialogs_, pause_, targets.table, field);
    if (Ui::ProgramEndRequested()) break;
  }
  // The program is ending (a window was closed while the run yielded): nothing more is written
  // or shown.
  if (Ui::ProgramEndRequested()) return run.CloseQuietly();

  RefillPreview(run, view_);
  if (Ui::ProgramEndRequested()) return run.CloseQuietly();
  trap.step(900, [&] {
    view_.pointer.SetPointer(Ui::kPointerDefault);
    view_.progress.SetValue(0);
    view_.progress.SetCaption(kProgressCaption);
  });
  // The connection goes (its changes made durable) before "Done." so that the file is free when
  // the user reads it.
  if (run.connection && run.connection->IsOpen()) trap.step(900, [&] { run.connection->Close(); });
  trap.step(906, [&] { show(kDoneMessage); });
}

}  // namespace Engine
