#include "common/ExtendedDateTime.h"

#include <cstdio>

namespace Main {
namespace {

// Days from 1970-01-01 back to 0001-01-01.
const int64_t kDayOne = DaysFromCivil(1, 1, 1);

}  // namespace

bool InExtendedRange(ExtendedDateTime when) { return when.ticks >= 0 && when.ticks <= kMaxExtendedTicks; }

ExtendedDateTime ExtendedFromCivil(const CivilDateTime& parts, int64_t fractionTicks) {
  const int64_t days = DaysFromCivil(parts.year, parts.month, parts.day) - kDayOne;
  const int64_t seconds = parts.hour * int64_t{3600} + parts.minute * int64_t{60} + parts.second;
  return ExtendedDateTime{days * kTicksPerDay + seconds * kTicksPerSecond + fractionTicks};
}

CivilDateTime CivilFromExtended(ExtendedDateTime when, int64_t& fractionTicks) {
  int64_t days = when.ticks / kTicksPerDay;
  int64_t withinDay = when.ticks % kTicksPerDay;
  if (withinDay < 0) {  // before day one: the time still counts forwards from midnight
    withinDay += kTicksPerDay;
    days -= 1;
  }
  CivilDateTime parts;
  CivilFromDays(days + kDayOne, parts.year, parts.month, parts.day);
  const int64_t seconds = withinDay / kTicksPerSecond;
  parts.hour = static_cast<int>(seconds / 3600);
  parts.minute = static_cast<int>(seconds / 60 % 60);
  parts.second = static_cast<int>(seconds % 60);
  fractionTicks = withinDay % kTicksPerSecond;
  return parts;
}

std::u16string FormatExtendedDateTime(ExtendedDateTime when) {
  int64_t fraction = 0;
  const CivilDateTime p = CivilFromExtended(when, fraction);
  char buffer[64];
  int length = std::snprintf(buffer, sizeof buffer, "%d/%d/%04lld", p.month, p.day, static_cast<long long>(p.year));
  if (p.hour != 0 || p.minute != 0 || p.second != 0 || fraction != 0) {
    const int hour12 = p.hour % 12 == 0 ? 12 : p.hour % 12;
    length += std::snprintf(buffer + length, sizeof buffer - static_cast<size_t>(length), " %d:%02d:%02d", hour12,
                            p.minute, p.second);
    if (fraction != 0)
      length += std::snprintf(buffer + length, sizeof buffer - static_cast<size_t>(length), ".%07lld",
                              static_cast<long long>(fraction));
    length += std::snprintf(buffer + length, sizeof buffer - static_cast<size_t>(length), " %s",
                            p.hour < 12 ? "AM" : "PM");
  }
  return std::u16string(buffer, buffer + length);
}

}  // namespace Main
