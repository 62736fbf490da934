#include "common/Pause.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "common/ui/EventPump.h"

namespace Main {
namespace {

// A clock that moves only when the pause waits: each wait advances it by a fixed step (or by
// what was asked, when that is less), wrapping at midnight like the real one.
struct SteppingClock {
  double now;
  double step;
  int waits = 0;
  double advanced = 0;

  MidnightClock Clock() {
    return [this] { return now; };
  }
  EventWaiter Waiter() {
    return [this](double maxSeconds) {
      ++waits;
      const double by = maxSeconds < step ? maxSeconds : step;
      advanced += by;
      now += by;
      if (now >= kSecondsPerDay) now -= kSecondsPerDay;
    };
  }
};

TEST(PauseSeconds, WaitsForTheRequestedTime) {
  SteppingClock clock{1000.0, 0.03};
  PauseSeconds(0.1, clock.Clock(), clock.Waiter());
  EXPECT_NEAR(clock.advanced, 0.1, 1e-9);
  EXPECT_EQ(clock.waits, 4);  // 0.03 + 0.03 + 0.03 + the remaining 0.01
}

TEST(PauseSeconds, AcrossMidnightEndsAboutTheRequestedTimeLater) {
  SteppingClock clock{kSecondsPerDay - 0.03, 0.01};
  PauseSeconds(0.1, clock.Clock(), clock.Waiter());
  EXPECT_NEAR(clock.advanced, 0.1, 1e-6);  // neither a day later nor at once
  EXPECT_NEAR(clock.now, 0.07, 1e-6);
}

TEST(PauseSeconds, ZeroOrLessReturnsWithoutProcessingEvents) {
  for (const double seconds : {0.0, -1.0, -0.0}) {
    SteppingClock clock{500.0, 0.01};
    PauseSeconds(seconds, clock.Clock(), clock.Waiter());
    EXPECT_EQ(clock.waits, 0);
  }
}

TEST(PauseSeconds, RealPauseProcessesEventsThroughTheInstalledPump) {
  int waits = 0;
  const auto previous = Ui::InstallEventPump(
      {nullptr, [&](double maxSeconds) {
         ++waits;
         EXPECT_GT(maxSeconds, 0.0);
         EXPECT_LE(maxSeconds, 0.05);
         std::this_thread::sleep_for(std::chrono::duration<double>(maxSeconds));
       }});
  const auto start = std::chrono::steady_clock::now();
  PauseSeconds(0.05);
  const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  Ui::InstallEventPump(previous);
  EXPECT_GE(took, 0.045);
  EXPECT_LT(took, 1.0);
  EXPECT_GE(waits, 1);
}

TEST(SecondsSinceMidnight, IsWithinADay) {
  const double now = SecondsSinceMidnight();
  EXPECT_GE(now, 0.0);
  EXPECT_LT(now, kSecondsPerDay);
}

}  // namespace
}  // namespace Main
