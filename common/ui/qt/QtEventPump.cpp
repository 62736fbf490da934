#include "common/ui/qt/QtEventPump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <ctime>

namespace Ui {
namespace {

constexpr double kLongestWaitSeconds = 3600.0;

// A monotonic clock that is cheap to read, since the pump reads it on every call. On Linux the
// coarse clock costs a few nanoseconds against some 40 for the precise one, and its resolution
// (a few milliseconds) is fine enough for the pump's interval.
std::chrono::nanoseconds CheapMonotonicTime() {
#ifdef CLOCK_MONOTONIC_COARSE
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
  return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
#else
  return std::chrono::steady_clock::now().time_since_epoch();
#endif
}

}  // namespace

EventPumpHooks QtEventPumpHooks(std::chrono::milliseconds pumpInterval) {
  auto pump = [pumpInterval, lastPumped = CheapMonotonicTime() - pumpInterval]() mutable {
    const std::chrono::nanoseconds now = CheapMonotonicTime();
    if (now - lastPumped < pumpInterval) return;
    lastPumped = now;
    QCoreApplication::processEvents();
  };
  return {pump, WaitForQtEvents};
}

void WaitForQtEvents(double maxSeconds) {
  if (!(maxSeconds > 0)) {
    QCoreApplication::processEvents();
    return;
  }
  // The timer only wakes the event loop when no other event comes first.
  QTimer wakeUp;
  wakeUp.setSingleShot(true);
  wakeUp.setTimerType(Qt::PreciseTimer);
  wakeUp.start(static_cast<int>(std::ceil(std::min(maxSeconds, kLongestWaitSeconds) * 1000)));
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

}  // namespace Ui
