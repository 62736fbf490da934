#include "common/Pause.h"

#include <chrono>
#include <ctime>

#include "common/ui/EventPump.h"

namespace Main {

double SecondsSinceMidnight() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t whole = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &whole);
#else
  localtime_r(&whole, &local);
#endif
  const auto sinceSecond =
      now - std::chrono::system_clock::from_time_t(whole);
  return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec +
         std::chrono::duration<double>(sinceSecond).count();
}

void PauseSeconds(double seconds) {
  PauseSeconds(seconds, SecondsSinceMidnight, Ui::WaitForEvents);
}

void PauseSeconds(double seconds, const MidnightClock& clock, const EventWaiter& waitForEvents) {
  const double start = clock();
  if (!(seconds > 0)) return;
  for (;;) {
    const double now = clock();
    const double elapsed = now >= start ? now - start : now + kSecondsPerDay - start;
    if (elapsed >= seconds) return;
    waitForEvents(seconds - elapsed);
  }
}

}  // namespace Main
