#include "jet/row/ExtendedDateFormat.h"

#include <cstdio>
#include <cstring>

namespace Jet {
namespace {

constexpr size_t kDayDigits = 19;
constexpr size_t kSecondsAt = 20;
constexpr size_t kSecondDigits = 12;
constexpr size_t kFractionAt = 32;
constexpr size_t kFractionDigits = 7;
constexpr size_t kTrailerAt = 39;
constexpr int64_t kSecondsPerDay = 86'400;

// The number of `count` decimal digits at `at`; nothing when another byte is among them. 19 digits
// can exceed int64_t, so the value stops growing once it passes `limit`.
std::optional<int64_t> Digits(ByteSpan stored, size_t at, size_t count, int64_t limit) {
  int64_t value = 0;
  for (size_t n = at; n < at + count; ++n) {
    if (stored[n] < '0' || stored[n] > '9') return std::nullopt;
    if (value <= limit) value = value * 10 + (stored[n] - '0');
  }
  if (value > limit) return std::nullopt;
  return value;
}

}  // namespace

std::array<uint8_t, kExtendedDateBytes> EncodeExtendedDate(Main::ExtendedDateTime when) {
  const long long days = when.ticks / Main::kTicksPerDay;
  const long long withinDay = when.ticks % Main::kTicksPerDay;
  char text[kExtendedDateBytes + 1];
  std::snprintf(text, sizeof text, "%019lld:%012lld%07lld:7", days, withinDay / Main::kTicksPerSecond,
                withinDay % Main::kTicksPerSecond);
  std::array<uint8_t, kExtendedDateBytes> bytes{};
  std::memcpy(bytes.data(), text, kExtendedDateBytes);  // the last byte is the text's terminating 0
  return bytes;
}

std::optional<Main::ExtendedDateTime> DecodeExtendedDate(ByteSpan stored) {
  if (stored.size() != kExtendedDateBytes) return std::nullopt;
  if (stored[kDayDigits] != ':' || stored[kTrailerAt] != ':' || stored[kTrailerAt + 1] != '7' ||
      stored[kTrailerAt + 2] != 0)
    return std::nullopt;
  const auto days = Digits(stored, 0, kDayDigits, Main::kExtendedDays - 1);
  const auto seconds = Digits(stored, kSecondsAt, kSecondDigits, kSecondsPerDay - 1);
  const auto fraction = Digits(stored, kFractionAt, kFractionDigits, Main::kTicksPerSecond - 1);
  if (!days || !seconds || !fraction) return std::nullopt;
  return Main::ExtendedDateTime{*days * Main::kTicksPerDay + *seconds * Main::kTicksPerSecond + *fraction};
}

}  // namespace Jet
