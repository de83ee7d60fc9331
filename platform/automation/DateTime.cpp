#include "automation/DateTime.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include "automation/Variant.h"

namespace automation {
namespace {

// Days from 0001-01-01 to 1899-12-30, the automation epoch.
constexpr long kEpochOffset = 693593;

long DaysBeforeYear(int year) {
  const long y = year - 1;
  return y * 365 + y / 4 - y / 100 + y / 400;
}

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int MonthDays(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool IsValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= MonthDays(year, month);
}

bool IsValidTime(int hour, int minute, int second, int millisecond) {
  return hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60 &&
         millisecond >= 0 && millisecond < 1000;
}

bool TryEncodeDate(int year, int month, int day, double& value) {
  if (!IsValidDate(year, month, day)) return false;
  long days = DaysBeforeYear(year);
  for (int m = 1; m < month; ++m) days += MonthDays(year, m);
  days += day - 1;
  value = static_cast<double>(days - kEpochOffset);
  return true;
}

double EncodeDate(int year, int month, int day) {
  double value = 0;
  if (!TryEncodeDate(year, month, day, value)) throw Error("Invalid argument to date encode");
  return value;
}

double EncodeTime(int hour, int minute, int second, int millisecond) {
  if (!IsValidTime(hour, minute, second, millisecond))
    throw Error("Invalid argument to time encode");
  return (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond) / 86400000.0;
}

void DecodeDate(double value, int& year, int& month, int& day) {
  long days = static_cast<long>(std::trunc(value)) + kEpochOffset;  // days since 0001-01-01
  if (days < 0) {
    year = month = day = 0;
    return;
  }
  // 400-, 100-, 4- and 1-year cycles of the Gregorian calendar.
  long n400 = days / 146097;
  days %= 146097;
  long n100 = days / 36524;
  if (n100 == 4) n100 = 3;
  days -= n100 * 36524;
  long n4 = days / 1461;
  days %= 1461;
  long n1 = days / 365;
  if (n1 == 4) n1 = 3;
  days -= n1 * 365;
  year = static_cast<int>(n400 * 400 + n100 * 100 + n4 * 4 + n1 + 1);
  month = 1;
  while (days >= MonthDays(year, month)) {
    days -= MonthDays(year, month);
    ++month;
  }
  day = static_cast<int>(days) + 1;
}

void DecodeTime(double value, int& hour, int& minute, int& second, int& millisecond) {
  double fraction = std::fabs(value - std::trunc(value));
  long ms = std::lround(fraction * 86400000.0);
  if (ms >= 86400000) ms = 86399999;
  hour = static_cast<int>(ms / 3600000);
  minute = static_cast<int>(ms / 60000 % 60);
  second = static_cast<int>(ms / 1000 % 60);
  millisecond = static_cast<int>(ms % 1000);
}

int DayOfWeek(double value) {
  // 1899-12-30 was a Saturday (7).
  long days = static_cast<long>(std::trunc(value));
  long r = ((days % 7) + 7 + 6) % 7;  // 0 = Sunday
  return static_cast<int>(r) + 1;
}

double Now() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t t = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  const int ms = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
  return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
         EncodeTime(local.tm_hour, local.tm_min, local.tm_sec == 60 ? 59 : local.tm_sec, ms);
}

double Today() { return std::trunc(Now()); }

}  // namespace automation
