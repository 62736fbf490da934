#include "tools/clean/ProgressPrinter.h"

#include <cmath>
#include <cstdio>

#include "common/Text.h"

namespace Clean {
namespace {

constexpr int kBarWidth = 20;
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

}  // namespace

std::u16string ProgressLineText(double percent, int64_t done, int64_t total, std::u16string_view field) {
  const int filled = static_cast<int>(std::floor(percent / 100 * kBarWidth));
  std::u16string line = u"[";
  line.append(static_cast<size_t>(filled), u'#');
  line.append(static_cast<size_t>(kBarWidth - filled), u'-');
  char numbers[80];
  std::snprintf(numbers, sizeof numbers, "] %5.1f%%  %lld of %lld  ", percent, static_cast<long long>(done),
                static_cast<long long>(total));
  line += Main::FromUtf8(numbers);
  line += field;
  return line;
}

void ProgressPrinter::Restart() {
  lastDrawn_.reset();
  lastTenth_ = -1;
}

void ProgressPrinter::Show(double percent, int64_t done, int64_t total, std::u16string_view field,
                           std::optional<Clock::time_point> now) {
  if (console_.ErrIsTerminal()) {
    const Clock::time_point when = now ? *now : Clock::now();
    if (percent < 100 && lastDrawn_ && when - *lastDrawn_ < kRedrawInterval) return;
    lastDrawn_ = when;
    console_.Progress(ProgressLineText(percent, done, total, field));
    return;
  }
  const int tenth = static_cast<int>(std::floor(percent / 10));
  if (tenth <= lastTenth_) return;
  lastTenth_ = tenth;
  console_.Progress(std::u16string(field) + u": " + Main::FromUtf8(std::to_string(tenth * 10)) + u"%");
}

}  // namespace Clean
