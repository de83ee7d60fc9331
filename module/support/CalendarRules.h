// Calendar rules of periodic jobs and relative dates: date arithmetic on date texts, the first
// run date of a period, and the re-basing of a job's relative date options on its run date.
//
// Dates travel as date texts "yyyymmdd" (year-month texts "yyyymm"); weekdays are numbered
// 1 = Sunday ... 7 = Saturday, weekday indexes of the windows 0 = Sunday ... 6 = Saturday.
// Numeric texts are read as integers (blanks around them allowed); a text that is not an
// integer is an error. No function shows anything or raises: what cannot be computed gives "".
//
// Users: the schedule option window (first run preview, request assembly) and the scheme save
// dialog (single rules).
#pragma once

#include <string>
#include <string_view>

#include "automation/Variant.h"

// ---- Period of a periodic job -----------------------------------------------------------------

// A two-element variant array 0..1: [kind, detail] with
//   kind 0 every N days:    detail = the day interval (text)
//   kind 1 every N weeks:   detail = [weeks (text), weekday index 0..6]
//   kind 2 every N months:  detail = [0, months (text), day of month (text)]
//                                 or [1, months (text), week position 0..3 first..fourth or
//                                     4 last, weekday index 0..6]
//   kind 3 every N hours:   detail = the hour interval (number)
using PeriodSpec = automation::Variant;

PeriodSpec MakeDayPeriod(std::string_view days);
PeriodSpec MakeWeekPeriod(std::string_view weeks, int weekdayIndex);
PeriodSpec MakeMonthDayPeriod(std::string_view months, std::string_view day);
PeriodSpec MakeMonthWeekdayPeriod(std::string_view months, int position, int weekdayIndex);
PeriodSpec MakeHourPeriod(double hours);

// ---- Relative-date rules ----------------------------------------------------------------------

// One rule: fields separated by the character with code 3, counted from 1.
//   single date: "1", control name, flag, count, unit, adjustment, days, kind [, position]
//   range:       "0", control name, begin flag, count, unit, adjustment, days,
//                end flag, count, unit, adjustment, days, kind [, position]
// flag "Y": recomputed from the run date; count may be negative; unit "0" weeks, else months;
// adjustment "0" add days, "1" first day, "2" last day of the week or month; kind "D" a full
// date text, else a year-month text; position: where the value sits in the value list.
using DateRuleEntry = std::string;

inline constexpr char kDateRuleSeparator = '\x03';

// The shift of one date of a rule, as its five fields.
struct DateShift {
  std::string flag = "Y";
  std::string count = "0";
  std::string unit = "0";
  std::string adjustment = "0";
  std::string days = "0";
};

// A single-date rule; `position` is left out when empty.
DateRuleEntry MakeSingleDateRule(std::string_view control, const DateShift& shift,
                                 std::string_view kind, std::string_view position = {});
// A range rule; `position` is left out when empty.
DateRuleEntry MakeRangeDateRule(std::string_view control, const DateShift& begin,
                                const DateShift& end, std::string_view kind,
                                std::string_view position = {});

// ---- Computations -----------------------------------------------------------------------------

// The date moved by `count` units: unit "D" days, "M" months (a day the new month lacks steps
// back to its last day: 31 March + 1 month = 30 April), "Y" years (29 February of a common
// year becomes the 28th); the unit is read without regard to case. `date` is a date text
// (8-bit or wide) or a date value. "" for an unreadable date, a date of 0, another unit or a
// result outside the years 1..9999.
std::string DateAddText(const automation::Variant& date, std::string_view unit, int count);

// Days of the month (28..31), 0 for a month outside 1..12.
int DaysInMonth(int year, int month);

// The first run date of the period from `start` (a date text): every N days the start itself;
// every W weeks on a weekday the occurrence in the week W-1 weeks on (W weeks when the weekday
// lies earlier in the week than the start's); every M months on day d that day M-1 months on
// (M when d is before the start's day), the month's last day when the month is shorter; every
// M months on a week position the matching day M-1 months on, or M months on when that lies
// before the start. With an interval of 1 this is the first matching date on or after the
// start. "" for hourly and unknown kinds; an error leaves what was computed so far.
std::string NextScheduleDate(std::string_view start, const PeriodSpec& period);

// The run after `previousRun` (a date text) of a periodic job, the way the job server repeats
// a period: every N days N days later, every W weeks 7W days later, every M months the
// matching day (the day of month, or the month's last day when it is shorter; or the week
// position's weekday) of the month M months on. "" for hourly and unknown kinds.
std::string FollowingRunDate(std::string_view previousRun, const PeriodSpec& period);

// The base moved by `weeks` weeks, then the Sunday of that week (adjustment "1") or its
// Saturday (anything else).
std::string WeekEdgeDate(std::string_view base, std::string_view weeks,
                         std::string_view adjustment);

// One date of a rule applied to a base: a year-month base (shorter than 7 characters) moves by
// `count` months whatever the unit; unit "0" moves by weeks (then to the first or last day of
// that week, or by `days` days), any other unit by months (then by `days` days, or to the first
// or last day of that month). Throws automation::Error for a count, adjustment or days that is
// not an integer.
std::string ShiftDateByRule(std::string_view base, std::string_view count, std::string_view unit,
                            std::string_view adjustment, std::string_view days);

// The rule set [.., value list, period, rule list] with every relative rule applied to `base`
// (a date text): element 1 of the set is the value list, element 3 the rule list whose element
// 0 holds the number n of rules and elements 1..n the rules (DateRuleEntry with positions).
// Answers the updated value list, or the empty text when any rule cannot be applied (a missing
// element, a field that is not a number).
automation::Variant ApplyDateRules(const automation::Variant& ruleSet, std::string_view base);
