#include "common/DateTime.h"

#include <cmath>
#include <cstdio>

namespace Main {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
// Days from 1970-01-01 back to the zero of stored dates, 1899-12-30.
constexpr int64_t kOleEpochDays = -25569;

std::u16string Ascii(const char* text) {
  std::u16string out;
  for (const char* p = text; *p != '\0'; ++p) out.push_back(static_cast<char16_t>(*p));
  return out;
}

}  // namespace

int64_t DaysFromCivil(int64_t year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yoe = year - era * 400;
  const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t days, int64_t& year, int& month, int& day) {
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t doe = days - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = yoe + era * 400 + (month <= 2 ? 1 : 0);
}

CivilDateTime CivilFromOleDate(double oleDate) {
  if (!std::isfinite(oleDate)) oleDate = 0;
  // Keep within what the calendar arithmetic handles; Access itself allows years 100 to 9999.
  oleDate = std::fmax(-1.0e9, std::fmin(1.0e9, oleDate));
  double whole = std::trunc(oleDate);
  auto seconds = static_cast<int64_t>(std::llround(std::fabs(oleDate - whole) * kSecondsPerDay));
  auto dayNumber = static_cast<int64_t>(whole);
  if (seconds >= kSecondsPerDay) {  // rounding reached the next midnight: the next calendar day
    seconds -= kSecondsPerDay;
    dayNumber += 1;
  }
  CivilDateTime parts;
  CivilFromDays(dayNumber + kOleEpochDays, parts.year, parts.month, parts.day);
  parts.hour = static_cast<int>(seconds / 3600);
  parts.minute = static_cast<int>(seconds / 60 % 60);
  parts.second = static_cast<int>(seconds % 60);
  return parts;
}

double OleDateFromCivil(const CivilDateTime& parts) {
  const int64_t dayNumber = DaysFromCivil(parts.year, parts.month, parts.day) - kOleEpochDays;
  const double fraction = (parts.hour * 3600.0 + parts.minute * 60.0 + parts.second) / kSecondsPerDay;
  return dayNumber >= 0 ? static_cast<double>(dayNumber) + fraction
                        : static_cast<double>(dayNumber) - fraction;
}

std::u16string FormatOleDate(double oleDate) {
  const CivilDateTime p = CivilFromOleDate(oleDate);
  const bool midnight = p.hour == 0 && p.minute == 0 && p.second == 0;
  const bool timeOnly = p.year == 1899 && p.month == 12 && p.day == 30;
  char buffer[64];
  if (timeOnly) {
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", p.hour, p.minute, p.second);
  } else if (midnight) {
    std::snprintf(buffer, sizeof buffer, "%04lld-%02d-%02d", static_cast<long long>(p.year), p.month,
                  p.day);
  } else {
    std::snprintf(buffer, sizeof buffer, "%04lld-%02d-%02d %02d:%02d:%02d",
                  static_cast<long long>(p.year), p.month, p.day, p.hour, p.minute, p.second);
  }
  return Ascii(buffer);
}

}  // namespace Main
