#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <ctime>
#include <thread>

#include "common/Pause.h"
#include "common/ui/qt/QtEventPump.h"

namespace Ui {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Counts the calls that reach it through the event queue.
struct QueuedCalls {
  QObject receiver;
  int arrived = 0;
  void Post() {
    QMetaObject::invokeMethod(&receiver, [this] { ++arrived; }, Qt::QueuedConnection);
  }
};

TEST(QtEventPump, PumpProcessesPostedEventsAtMostOncePerInterval) {
  QCoreApplication::processEvents();
  EventPumpHooks hooks = QtEventPumpHooks(50ms);
  QueuedCalls calls;
  calls.Post();
  hooks.pump();
  EXPECT_EQ(calls.arrived, 1);
  calls.Post();
  hooks.pump();  // too soon: returns at once
  EXPECT_EQ(calls.arrived, 1);
  std::this_thread::sleep_for(60ms);
  hooks.pump();
  EXPECT_EQ(calls.arrived, 2);
}

TEST(QtEventPump, WaitSleepsInTheEventLoopUntilAnEventArrivesOrTheTimeIsUp) {
  QueuedCalls calls;
  QTimer::singleShot(30, &calls.receiver, [&] { calls.Post(); });
  auto start = Clock::now();
  while (calls.arrived == 0 && SecondsSince(start) < 5) WaitForQtEvents(5.0);
  EXPECT_EQ(calls.arrived, 1);
  EXPECT_LT(SecondsSince(start), 1.0);  // woken by the event, not by the five seconds

  start = Clock::now();
  WaitForQtEvents(0.2);
  EXPECT_LT(SecondsSince(start), 0.5);

  calls.Post();
  start = Clock::now();
  WaitForQtEvents(0);  // what is pending, and back at once
  EXPECT_EQ(calls.arrived, 2);
  EXPECT_LT(SecondsSince(start), 0.1);
}

TEST(QtEventPump, PauseKeepsTheWindowsAnsweringWithoutSpinningTheProcessor) {
  const EventPumpHooks previous = InstallEventPump(QtEventPumpHooks());
  QueuedCalls calls;
  QTimer::singleShot(50, &calls.receiver, [&] { calls.Post(); });
  const std::clock_t processorStart = std::clock();
  const auto start = Clock::now();
  Main::PauseSeconds(0.3);
  const double seconds = SecondsSince(start);
  const double processorSeconds = static_cast<double>(std::clock() - processorStart) / CLOCKS_PER_SEC;
  InstallEventPump(previous);
  EXPECT_EQ(calls.arrived, 1);
  EXPECT_GE(seconds, 0.29);
  EXPECT_LT(seconds, 1.0);
  EXPECT_LT(processorSeconds, 0.1);  // a busy loop would use the whole 0.3 s
}

}  // namespace
}  // namespace Ui
