#include "common/ui/qt/QtEventPump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace Ui {
namespace {

constexpr double kLongestWaitSeconds = 3600.0;

}  // namespace

EventPumpHooks QtEventPumpHooks(std::chrono::milliseconds pumpInterval) {
  using Clock = std::chrono::steady_clock;
  auto pump = [pumpInterval, lastPumped = Clock::time_point()]() mutable {
    const Clock::time_point now = Clock::now();
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
