#pragma once

#include <functional>

// The event pump: long loops call PumpEvents() once per item so that the windows stay
// responsive. Without a window system both hooks do nothing (WaitForEvents just sleeps).
namespace Ui {

// Processes all pending window events once and returns. Called very often (once per character
// in some transforms), so an installed hook should be cheap when nothing is pending.
void PumpEvents();

// Processes window events, waiting at most `maxSeconds` for one to arrive.
void WaitForEvents(double maxSeconds);

struct EventPumpHooks {
  std::function<void()> pump;                 // process pending events once
  std::function<void(double)> waitForEvents;  // process events, waiting at most that long
};

// Installs the window system's hooks and returns the previous ones. An empty hook means the
// default behaviour (no-op pump, sleeping wait).
EventPumpHooks InstallEventPump(EventPumpHooks hooks);

// The program is ending (a window was closed, the session ends) while a long loop may be
// yielding: such a loop checks this after each yield, finishes the item in hand, writes nothing
// more and shows nothing more.
void RequestProgramEnd();
bool ProgramEndRequested();
// Withdraws the request (tests that end the program more than once in one process).
void WithdrawProgramEndRequest();

}  // namespace Ui
