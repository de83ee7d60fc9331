// Date values: floating day numbers in the automation convention (day 0 = 30 December 1899,
// the fraction is the time of day). The value 0 also stands for "no date" in the module.
//
// Plain arithmetic shared by the variant type, the support library and the calendar rules.
#pragma once

namespace automation {

// Whether (year, month, day) is a real date of the proleptic Gregorian calendar, years 1..9999.
bool IsValidDate(int year, int month, int day);

// Whether (hour, minute, second, millisecond) is a real time of day.
bool IsValidTime(int hour, int minute, int second, int millisecond);

// Whether the year is a leap year.
bool IsLeapYear(int year);

// Days of the month (0 for a month outside 1..12).
int MonthDays(int year, int month);

// The day number of a date; throws automation::Error for an impossible date.
double EncodeDate(int year, int month, int day);

// The day number of a date, or false when it is impossible.
bool TryEncodeDate(int year, int month, int day, double& value);

// The fraction of a day for a time; throws automation::Error for an impossible time.
double EncodeTime(int hour, int minute, int second, int millisecond);

// Year, month and day of a day number (the fraction is ignored).
void DecodeDate(double value, int& year, int& month, int& day);

// Hour, minute, second and millisecond of a day number's fraction.
void DecodeTime(double value, int& hour, int& minute, int& second, int& millisecond);

// Weekday of a day number: 1 = Sunday ... 7 = Saturday.
int DayOfWeek(double value);

// The current local date and time, and today's date (no fraction).
double Now();
double Today();

}  // namespace automation
