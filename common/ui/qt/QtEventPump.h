#pragma once

#include <chrono>

#include "common/ui/EventPump.h"

// The event pump over Qt's event loop.
namespace Ui {

// Hooks for InstallEventPump. The pump processes the pending events at most once per
// `pumpInterval` and returns at once between, so that a loop may call it for every character.
// The wait processes events, sleeping in the event loop until one arrives or the time is up.
EventPumpHooks QtEventPumpHooks(std::chrono::milliseconds pumpInterval = std::chrono::milliseconds(10));

// Processes events, waiting at most `maxSeconds` for one to arrive; 0 or less processes what is
// pending and returns.
void WaitForQtEvents(double maxSeconds);

}  // namespace Ui
