#pragma once

#include <cstdint>
#include <string>

#include "common/DateTime.h"

// Date and time of an Access 2019 "Date/Time Extended" field: a count of 100-nanosecond ticks
// since 0001-01-01 00:00:00 (proleptic Gregorian, no time zone), years 1 to 9999.
namespace Main {

// 100-nanosecond ticks since 0001-01-01 00:00:00.
struct ExtendedDateTime {
  int64_t ticks = 0;
  friend bool operator==(const ExtendedDateTime&, const ExtendedDateTime&) = default;
};

constexpr int64_t kTicksPerSecond = 10'000'000;
constexpr int64_t kTicksPerDay = 86'400 * kTicksPerSecond;
// 0001-01-01 to 9999-12-31: 3,652,059 days.
constexpr int64_t kExtendedDays = 3'652'059;
constexpr int64_t kMaxExtendedTicks = kExtendedDays * kTicksPerDay - 1;  // 9999-12-31 23:59:59.9999999

// Whether the value lies in 0001-01-01 00:00:00 .. 9999-12-31 23:59:59.9999999.
bool InExtendedRange(ExtendedDateTime when);

// Calendar parts (seconds whole) plus the ticks within the second, and back. The parts must
// name a real day of years 1 to 9999 and a time of day; `fractionTicks` lies in 0 .. 9,999,999.
ExtendedDateTime ExtendedFromCivil(const CivilDateTime& parts, int64_t fractionTicks);
CivilDateTime CivilFromExtended(ExtendedDateTime when, int64_t& fractionTicks);

// As Access shows it in the US locale: "M/D/YYYY" at midnight, "M/D/YYYY h:mm:ss AM" for whole
// seconds, "M/D/YYYY h:mm:ss.fffffff AM" otherwise (seven fraction digits).
std::u16string FormatExtendedDateTime(ExtendedDateTime when);

}  // namespace Main
