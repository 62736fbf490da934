#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tools/clean/Console.h"

// How the command line shows a field's progress on standard error.
namespace Clean {

// The progress line of a terminal: "[#####---------------]  25.0%  60 of 240  Name".
std::u16string ProgressLineText(double percent, int64_t done, int64_t total, std::u16string_view field);

// Draws a field's progress: on a terminal one line redrawn at most every tenth of a second (and
// always at 100%); elsewhere a plain line "Name: 30%" at every tenth of the way.
class ProgressPrinter {
 public:
  using Clock = std::chrono::steady_clock;

  explicit ProgressPrinter(Console& console) : console_(console) {}

  // A new field's progress starts.
  void Restart();
  // `now` defaults to the clock, read only when a terminal's line may be redrawn.
  void Show(double percent, int64_t done, int64_t total, std::u16string_view field,
            std::optional<Clock::time_point> now = std::nullopt);

 private:
  Console& console_;
  std::optional<Clock::time_point> lastDrawn_;
  int lastTenth_ = -1;  // the last tenth of the way printed as a plain line
};

}  // namespace Clean
