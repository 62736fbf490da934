#pragma once

#include <functional>

// A pause that keeps the windows responsive.
namespace Main {

// Seconds since local midnight, starting again at 0 at midnight.
using MidnightClock = std::function<double()>;

// Processes window events, waiting at most the given seconds for one to arrive.
using EventWaiter = std::function<void(double maxSeconds)>;

inline constexpr double kSecondsPerDay = 86400.0;

// The real clock: seconds since local midnight, with fractions.
double SecondsSinceMidnight();

// Waits until `seconds` have passed on the clock (across midnight too), processing window events
// meanwhile. It waits for events with a timeout instead of polling in a busy loop. A pause of 0 or
// fewer seconds returns at once without processing events.
void PauseSeconds(double seconds);

// The same with an injected clock and waiter (tests).
void PauseSeconds(double seconds, const MidnightClock& clock, const EventWaiter& waitForEvents);

}  // namespace Main
