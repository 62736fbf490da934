#pragma once

#include "database/BuildConnectionString.h"
#include "engine/PromptStage.h"
#include "engine/RunObserver.h"
#include "engine/RunView.h"

// The cleaning run, the main window's "Start Removing": the operation named by the operation list
// applied to every record of every selected field of the current table, each record rewritten in
// place, with the progress bar following the field in hand and the preview refilled at the end.
// Every step runs under the handler's step trap (Form2.PushButton2_Click).
namespace Engine {

class CleaningRun {
 public:
  // The view, the dialogs and the database choice must outlive the run.
  CleaningRun(RunView view, PromptDialogs dialogs, const Access1::DatabaseChoice& database);

  // Runs the whole job and returns when "Done." has been closed. A Start while a run is in
  // progress (re-entered through the event pump) does nothing. When the program is asked to end
  // (Ui::RequestProgramEnd) during a yield, the run stops there: nothing more is written or
  // shown, the connection is closed, and Start returns.
  void Start();
  bool IsRunning() const { return running_; }

  // Replaces the 0.1 s pause at record 0, 500, 1000 ... (Main::PauseSeconds by default).
  void SetPause(PauseFunction pause) { pause_ = std::move(pause); }
  // For the runs started from now on; the window's runs keep the defaults.
  void SetOptions(const RunOptions& options) { options_ = options; }

 private:
  void Run();

  RunView view_;
  PromptDialogs dialogs_;
  const Access1::DatabaseChoice& database_;
  PauseFunction pause_;
  RunOptions options_;
  bool running_ = false;
};

}  // namespace Engine
