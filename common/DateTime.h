#pragma once

#include <cstdint>
#include <string>

// Date/time values as Access stores them: days since 1899-12-30 as a double, the fraction being
// the time of day (for days before 1899-12-30 the fraction still counts forwards from midnight).
namespace Main {

struct CivilDateTime {
  int64_t year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Splits a stored date into calendar parts, rounded to the nearest second.
CivilDateTime CivilFromOleDate(double oleDate);

// The stored form of calendar parts (the inverse of CivilFromOleDate).
double OleDateFromCivil(const CivilDateTime& parts);

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
int64_t DaysFromCivil(int64_t year, int month, int day);
void CivilFromDays(int64_t days, int64_t& year, int& month, int& day);

// "YYYY-MM-DD HH:MM:SS", leaving out the time at midnight and the date for a time-only value
// (day 1899-12-30 with a time); midnight of 1899-12-30 is "00:00:00".
std::u16string FormatOleDate(double oleDate);

}  // namespace Main
