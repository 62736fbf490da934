#include "common/ui/EventPump.h"

#include <chrono>
#include <thread>
#include <utility>

namespace Ui {
namespace {

EventPumpHooks& InstalledHooks() {
  static EventPumpHooks hooks;
  return hooks;
}

bool& EndRequested() {
  static bool requested = false;
  return requested;
}

}  // namespace

void PumpEvents() {
  const auto& pump = InstalledHooks().pump;
  if (pump) pump();
}

void WaitForEvents(double maxSeconds) {
  const auto& wait = InstalledHooks().waitForEvents;
  if (wait) {
    wait(maxSeconds);
  } else if (maxSeconds > 0) {
    std::this_thread::sleep_for(std::chrono::duration<double>(maxSeconds));
  }
}

EventPumpHooks InstallEventPump(EventPumpHooks hooks) {
  return std::exchange(InstalledHooks(), std::move(hooks));
}

void RequestProgramEnd() { EndRequested() = true; }

bool ProgramEndRequested() { return EndRequested(); }

void WithdrawProgramEndRequest() { EndRequested() = false; }

}  // namespace Ui
