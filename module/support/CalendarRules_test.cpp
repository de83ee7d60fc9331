#include "support/CalendarRules.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "automation/DateTime.h"

namespace automation {
// Variants in failure messages as their text.
void PrintTo(const Variant& value, std::ostream* out) {
  if (value.IsArray()) {
    *out << "[";
    for (const Variant& element : value.Array().Elements()) {
      PrintTo(element, out);
      *out << ";";
    }
    *out << "]";
  } else {
    *out << "'" << VarToStr(value) << "'";
  }
}
}  // namespace automation

namespace {

using automation::VarArrayOf;
using automation::Variant;
namespace chr = std::chrono;

TEST(DateAddText, MonthEndArithmetic) {
  struct {
    Variant date;
    const char* unit;
    int count;
    const char* expected;
  } cases[] = {
      {"20040131", "M", 1, "20040229"},
      {"20040229", "Y", 1, "20050228"},
      {"20041231", "M", 1, "20050131"},
      {"20041231", "M", -12, "20031231"},
      {"20041231", "x", 1, ""},
      {"20040331", "M", 1, "20040430"},
      {"20050131", "m", 1, "20050228"},  // units without regard to case
      {"20040229", "y", 4, "20080229"},
      {"20040229", "Y", -100, "19040229"},
      {"19000228", "D", 1, "19000301"},
      {"20041231", "D", 1, "20050101"},
      {"20040301", "d", -1, "20040229"},
      {"20040115", "M", -13, "20021215"},
      {"20041115", "M", 2, "20050115"},
      {"20040115", "M", 0, "20040115"},
      {"20040115", "D", 0, "20040115"},
      {u"20040131", "M", 1, "20040229"},  // wide text
      {Variant::FromDate(automation::EncodeDate(2004, 1, 31) + 0.75), "M", 1, "20040229"},
      {Variant::FromDate(0), "D", 1, ""},
      {"", "D", 1, ""},
      {"2004013", "D", 1, ""},
      {"20040230", "D", 1, ""},
      {"abcdefgh", "D", 1, ""},
      {20040131, "D", 1, ""},  // an integer is not a date
      {Variant(), "D", 1, ""},
      {"99991231", "D", 1, ""},  // past the year 9999
      {"99991215", "M", 1, ""},
      {"00010101", "D", -1, ""},
      {"99990101", "Y", 1, ""},
      {"00010115", "M", -1, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DateAddText(c.date, c.unit, c.count), c.expected)
        << automation::VarToStr(c.date) << " " << c.unit << " " << c.count;
}

TEST(DaysInMonth, LeapYearsAndBadMonths) {
  struct {
    int year, month, days;
  } cases[] = {{1900, 2, 28}, {2000, 2, 29}, {2004, 2, 29}, {2003, 2, 28},  {2004, 13, 0},
               {2004, 0, 0},  {2004, 1, 31}, {2004, 4, 30}, {2004, 12, 31}, {2100, 2, 28}};
  for (const auto& c : cases)
    EXPECT_EQ(DaysInMonth(c.year, c.month), c.days) << c.year << "-" << c.month;
}

TEST(NextScheduleDate, EveryPeriodKind) {
  struct {
    const char* start;
    PeriodSpec period;
    const char* expected;
  } cases[] = {
      {"20040105", MakeDayPeriod("3"), "20040105"},
      {"20040105", MakeDayPeriod("x"), "20040105"},  // the interval is not read
      {"2004010", MakeDayPeriod("1"), ""},
      // Monday 5 January 2004, every week.
      {"20040105", MakeWeekPeriod("1", 3), "20040107"},
      {"20040105", MakeWeekPeriod("1", 0), "20040111"},
      {"20040105", MakeWeekPeriod("1", 1), "20040105"},
      {"20040105", MakeWeekPeriod("1", 6), "20040110"},
      // Every two and three weeks: the occurrence in the week that many weeks on, less one.
      {"20040105", MakeWeekPeriod("2", 3), "20040114"},
      {"20040105", MakeWeekPeriod("2", 0), "20040118"},  // Sunday opens the next week
      {"20040105", MakeWeekPeriod("2", 1), "20040112"},
      {"20040105", MakeWeekPeriod(" 3 ", 6), "20040124"},
      {"20040111", MakeWeekPeriod("1", 0), "20040111"},  // a Sunday start
      {"20040111", MakeWeekPeriod("1", 6), "20040117"},
      {"20041231", MakeWeekPeriod("1", 0), "20050102"},  // across the year
      // Monthly on a day.
      {"20040215", MakeMonthDayPeriod("1", "31"), "20040229"},
      {"20040215", MakeMonthDayPeriod("1", "10"), "20040310"},
      {"20040215", MakeMonthDayPeriod("1", "15"), "20040215"},
      {"20040131", MakeMonthDayPeriod("1", "30"), "20040229"},
      {"20040415", MakeMonthDayPeriod("1", "31"), "20040430"},
      {"20041215", MakeMonthDayPeriod("1", "5"), "20050105"},
      {"20040215", MakeMonthDayPeriod("2", "20"), "20040320"},
      {"20040215", MakeMonthDayPeriod("2", "10"), "20040410"},
      {"20040215", MakeMonthDayPeriod("3", "31"), "20040430"},
      {"20040215", MakeMonthDayPeriod("12", "29"), "20050129"},
      {"20040301", MakeMonthDayPeriod("12", "29"), "20050228"},  // 2005 has no 29 February
      // Monthly on a week position.
      {"20040102", MakeMonthWeekdayPeriod("1", 4, 5), "20040130"},  // last Friday
      {"20040110", MakeMonthWeekdayPeriod("1", 0, 1), "20040202"},  // first Monday
      {"20040101", MakeMonthWeekdayPeriod("1", 0, 4), "20040101"},  // first Thursday itself
      {"20040101", MakeMonthWeekdayPeriod("1", 1, 4), "20040108"},
      {"20040101", MakeMonthWeekdayPeriod("1", 2, 3), "20040121"},
      {"20040101", MakeMonthWeekdayPeriod("1", 3, 0), "20040125"},
      {"20040101", MakeMonthWeekdayPeriod("1", 4, 6), "20040131"},  // last day is a Saturday
      {"20040201", MakeMonthWeekdayPeriod("1", 4, 0), "20040229"},
      {"20040201", MakeMonthWeekdayPeriod("1", 3, 0), "20040222"},
      {"20041230", MakeMonthWeekdayPeriod("1", 4, 5), "20041231"},
      {"20041231", MakeMonthWeekdayPeriod("1", 0, 5), "20050107"},
      {"20040102", MakeMonthWeekdayPeriod("2", 0, 1), "20040202"},
      {"20040110", MakeMonthWeekdayPeriod("2", 0, 1), "20040202"},
      {"20040110", MakeMonthWeekdayPeriod("3", 4, 1), "20040329"},
      // What the job server repeats by the hour, and what the page never builds.
      {"20040105", MakeHourPeriod(2), ""},
      {"20040105", VarArrayOf({7, "1"}), ""},
      {"20040105", VarArrayOf({1}), ""},
      {"20040105", VarArrayOf({1, VarArrayOf({"x", 3})}), ""},
      {"20040105", MakeMonthWeekdayPeriod("1", 5, 1), ""},
      {"20040105", Variant(), ""},
      {"junk", MakeWeekPeriod("1", 3), ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(NextScheduleDate(c.start, c.period), c.expected)
        << c.start << " " << automation::VarToStr(c.period[0]);
}

TEST(NextScheduleDate, ReadsPeriodElementsAsTextOrNumber) {
  const PeriodSpec textual = VarArrayOf({"1", VarArrayOf({"1", "3"})});
  EXPECT_EQ(NextScheduleDate("20040105", textual), "20040107");
  const PeriodSpec numeric = VarArrayOf({2, VarArrayOf({0, 1, 31})});
  EXPECT_EQ(NextScheduleDate("20040215", numeric), "20040229");
}

// ---- The first run against a plain calendar walk -------------------------------------------

std::string Text(chr::year_month_day d) {
  char text[16];
  std::snprintf(text, sizeof text, "%.4d%.2u%.2u", static_cast<int>(d.year()),
                static_cast<unsigned>(d.month()), static_cast<unsigned>(d.day()));
  return text;
}

unsigned LastDayOf(chr::year_month_day d) {
  return static_cast<unsigned>(chr::year_month_day_last(d.year(), d.month() / chr::last).day());
}

// Weekday index 0 = Sunday ... 6 = Saturday.
unsigned WeekdayIndex(chr::sys_days d) {
  return chr::weekday(d).c_encoding();
}

// The first day on or after `from` that satisfies `matches`.
template <typename Match>
std::string FirstMatch(chr::sys_days from, Match matches) {
  for (chr::sys_days d = from;; d += chr::days(1))
    if (matches(d)) return Text(chr::year_month_day(d));
}

TEST(NextScheduleDate, AgreesWithACalendarWalkForEveryStartFrom2000To2030) {
  const chr::sys_days first = chr::year(2000) / 1 / 1;
  const chr::sys_days last = chr::year(2030) / 12 / 31;
  int mismatches = 0;
  for (chr::sys_days start = first; start <= last && mismatches < 20; start += chr::days(1)) {
    const std::string startText = Text(chr::year_month_day(start));
    for (int k = 0; k < 7; ++k) {
      auto weekday = [&](chr::sys_days d) { return WeekdayIndex(d) == static_cast<unsigned>(k); };
      const std::string expected = FirstMatch(start, weekday);
      if (NextScheduleDate(startText, MakeWeekPeriod("1", k)) != expected) {
        ++mismatches;
        ADD_FAILURE() << "weekly " << k << " from " << startText;
      }
      // Every two weeks: one week after the first occurrence.
      chr::sys_days occurrence = start;
      while (!weekday(occurrence)) occurrence += chr::days(1);
      if (NextScheduleDate(startText, MakeWeekPeriod("2", k)) !=
          Text(chr::year_month_day(occurrence + chr::days(7)))) {
        ++mismatches;
        ADD_FAILURE() << "two-weekly " << k << " from " << startText;
      }
    }
    for (int day = 1; day <= 31; ++day) {
      const std::string expected = FirstMatch(start, [&](chr::sys_days d) {
        const chr::year_month_day ymd(d);
        return static_cast<unsigned>(ymd.day()) == std::min<unsigned>(day, LastDayOf(ymd));
      });
      if (NextScheduleDate(startText, MakeMonthDayPeriod("1", std::to_string(day))) != expected) {
        ++mismatches;
        ADD_FAILURE() << "monthly day " << day << " from " << startText;
      }
    }
    for (int position = 0; position <= 4; ++position) {
      for (int k = 0; k < 7; ++k) {
        const std::string expected = FirstMatch(start, [&](chr::sys_days d) {
          if (WeekdayIndex(d) != static_cast<unsigned>(k)) return false;
          const unsigned dayOfMonth = static_cast<unsigned>(chr::year_month_day(d).day());
          if (position == 4) return dayOfMonth + 7 > LastDayOf(chr::year_month_day(d));
          return (dayOfMonth - 1) / 7 == static_cast<unsigned>(position);
        });
        if (NextScheduleDate(startText, MakeMonthWeekdayPeriod("1", position, k)) != expected) {
          ++mismatches;
          ADD_FAILURE() << "monthly position " << position << " weekday " << k << " from "
                        << startText;
        }
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(FollowingRunDate, RepeatsThePeriodFromTheRunBefore) {
  struct {
    const char* previous;
    PeriodSpec period;
    const char* expected;
  } cases[] = {
      {"20040105", MakeDayPeriod("3"), "20040108"},
      {"20040228", MakeDayPeriod("1"), "20040229"},
      {"20040107", MakeWeekPeriod("1", 3), "20040114"},
      {"20040107", MakeWeekPeriod("2", 3), "20040121"},
      {"20040110", MakeWeekPeriod("2", 6), "20040124"},  // Saturday: the week ends there
      {"20040229", MakeMonthDayPeriod("1", "31"), "20040331"},
      {"20040331", MakeMonthDayPeriod("1", "31"), "20040430"},
      {"20040131", MakeMonthDayPeriod("2", "31"), "20040331"},
      {"20040115", MakeMonthDayPeriod("3", "15"), "20040415"},
      {"20040130", MakeMonthWeekdayPeriod("1", 4, 5), "20040227"},
      {"20040130", MakeMonthWeekdayPeriod("2", 4, 5), "20040326"},
      {"20040131", MakeMonthWeekdayPeriod("1", 4, 6), "20040228"},
      {"20040105", MakeHourPeriod(2), ""},
      {"20040105", MakeDayPeriod("x"), ""},
      {"99991231", MakeWeekPeriod("1", 3), ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FollowingRunDate(c.previous, c.period), c.expected)
        << c.previous << " " << automation::VarToStr(c.period[0]);
}

// ---- Relative dates ----------------------------------------------------------------------------

TEST(WeekEdgeDate, SundayOrSaturdayOfTheMovedWeek) {
  struct {
    const char* base;
    const char* weeks;
    const char* adjustment;
    const char* expected;
  } cases[] = {
      {"20040107", "0", "1", "20040104"},  // Wednesday → its Sunday
      {"20040107", "0", "2", "20040110"},  // ... its Saturday
      {"20040107", "1", "1", "20040111"}, {"20040107", "-1", "2", "20040103"},
      {"20040104", "0", "1", "20040104"},  // a Sunday stays
      {"20040110", "0", "2", "20040110"},  // a Saturday stays
      {"20040110", "0", "x", "20040110"},  // any other adjustment: Saturday
      {"20041229", "1", "2", "20050108"}, {"2004", "0", "1", ""},
      {"20040107", "a", "1", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WeekEdgeDate(c.base, c.weeks, c.adjustment), c.expected)
        << c.base << " " << c.weeks << " " << c.adjustment;
}

TEST(ShiftDateByRule, EveryWeeklyAndMonthlyRule) {
  struct {
    const char* base;
    const char* count;
    const char* unit;
    const char* adjustment;
    const char* days;
    const char* expected;
  } cases[] = {
      // Months.
      {"20040315", "-1", "1", "2", "0", "20040229"},  // last day of the month before
      {"20040315", "-1", "1", "1", "0", "20040201"},
      {"20040315", "1", "1", "0", "5", "20040420"},
      {"20040331", "1", "1", "0", "0", "20040430"},
      {"20040331", "1", "1", "0", "-30", "20040331"},
      {"20040315", "0", "1", "2", "0", "20040331"},
      {"20041215", "1", "1", "1", "0", "20050101"},
      {"20040315", "2", "1", "7", "9", "20040515"},  // another adjustment: the moved date
      {"20040315", "1", "M", "0", "0", "20040415"},  // any unit but "0" counts months
      // Weeks.
      {"20040107", "1", "0", "0", "0", "20040114"},
      {"20040107", "-2", "0", "0", "3", "20031227"},
      {"20040107", "0", "0", "0", "-7", "20031231"},
      {"20040107", "1", "0", "1", "0", "20040111"},   // Sunday of next week
      {"20040107", "1", "0", "2", "99", "20040117"},  // Saturday; days are not added
      {"20040107", "0", "0", "1", "0", "20040104"},
      // Year-month bases move by months whatever the unit.
      {"200411", "2", "0", "0", "0", "200501"},
      {"200411", "-11", "1", "2", "0", "200312"},
      {"200401", "0", "0", "1", "x", "200401"},  // days are not read
      {"", "1", "1", "0", "0", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ShiftDateByRule(c.base, c.count, c.unit, c.adjustment, c.days), c.expected)
        << c.base << " " << c.count << " " << c.unit << " " << c.adjustment << " " << c.days;
  EXPECT_THROW(ShiftDateByRule("20040107", "x", "0", "0", "0"), automation::Error);
  EXPECT_THROW(ShiftDateByRule("20040107", "1", "0", "", "0"), automation::Error);
  EXPECT_THROW(ShiftDateByRule("20040107", "1", "0", "0", "1.5"), automation::Error);
}

// A rule set as the request carries it: [.., values, period, [n, rules...]].
Variant RuleSet(Variant values, std::vector<std::string> rules) {
  std::vector<Variant> list = {static_cast<int>(rules.size())};
  for (const std::string& rule : rules) list.emplace_back(rule);
  return VarArrayOf({Variant(), values, MakeDayPeriod("1"), VarArrayOf(list)});
}

TEST(ApplyDateRules, RebasesSingleAndRangeRules) {
  DateShift monthEndBefore{"Y", "-1", "1", "2", "0"};
  DateShift twoMonths{"Y", "2", "1", "0", "0"};
  DateShift same{"Y", "0", "0", "0", "0"};
  DateShift nextSunday{"Y", "1", "0", "1", "0"};
  DateShift kept{"N", "5", "1", "0", "0"};
  const Variant range = VarArrayOf({"title", "20000101", "20001231"});
  const Variant values = VarArrayOf({"keep", "20000101", "200001", range, range, range, "x"});
  struct {
    std::string rule;
    int position;
    Variant expected;
  } cases[] = {
      {MakeSingleDateRule("me01", monthEndBefore, "D", "1"), 1, "20040229"},
      {MakeSingleDateRule("me01", same, "D", "1"), 1, "20040315"},  // all zero: the base
      {MakeSingleDateRule("me01", kept, "D", "1"), 1, "20000101"},  // "N": untouched
      {MakeSingleDateRule("me02", twoMonths, "M", "2"), 2, "200405"},
      {MakeSingleDateRule("me02", same, "M", "2"), 2, "200403"},
      {MakeSingleDateRule("me01", nextSunday, "D", "6"), 6, "20040321"},
      {MakeRangeDateRule("sp01", monthEndBefore, twoMonths, "D", "3"), 3,
       VarArrayOf({"title", "20040229", "20040515"})},
      {MakeRangeDateRule("sp01", kept, same, "D", "4"), 4,
       VarArrayOf({"title", "20000101", "20040315"})},
      {MakeRangeDateRule("sp01", same, kept, "M", "5"), 5,
       VarArrayOf({"title", "200403", "20001231"})},
      {MakeRangeDateRule("sp01", twoMonths, twoMonths, "M", "5"), 5,
       VarArrayOf({"title", "200405", "200405"})},
  };
  for (const auto& c : cases) {
    const Variant set = RuleSet(values, {c.rule});
    const Variant result = ApplyDateRules(set, "20040315");
    ASSERT_TRUE(result.IsArray()) << c.rule;
    EXPECT_EQ(result[c.position], c.expected) << c.rule;
    for (int i = 0; i < 7; ++i) {
      if (i == c.position) continue;
      EXPECT_EQ(result[i], values[i]) << c.rule << " position " << i;
    }
    EXPECT_EQ(set[1], values);  // the rule set itself is not changed
  }
}

TEST(ApplyDateRules, AppliesEveryRuleInTurn) {
  const Variant values = VarArrayOf({"20000101", "20000101"});
  const Variant result = ApplyDateRules(
      RuleSet(values, {MakeSingleDateRule("a", {"Y", "1", "0", "0", "0"}, "D", "0"),
                       MakeSingleDateRule("b", {"Y", "1", "1", "1", "0"}, "D", "1")}),
      "20040315");
  EXPECT_EQ(result, VarArrayOf({"20040322", "20040401"}));
  EXPECT_EQ(ApplyDateRules(RuleSet(values, {}), "20040315"), values);
}

TEST(ApplyDateRules, AnyRuleThatCannotBeAppliedGivesTheEmptyText) {
  const Variant values = VarArrayOf({"20000101", VarArrayOf({"", "20000101", "20000101"})});
  const std::vector<std::string> rules[] = {
      {MakeSingleDateRule("a", {"Y", "x", "0", "0", "0"}, "D", "0")},  // count not a number
      {MakeSingleDateRule("a", {"Y", "1", "0", "0", "0"}, "D")},       // no position
      {MakeSingleDateRule("a", {"Y", "1", "0", "0", "0"}, "D", "9")},  // position outside
      {MakeRangeDateRule("sp", {"N"}, {"N"}, "D")},                    // a range needs its place
      {MakeRangeDateRule("sp", {"Y", "1", "0", "0", "0"}, {"N"}, "D", "0")},  // not a range
      {MakeSingleDateRule("a", {"Y", "1", "0", "0", "0"}, "D", "0"), "0\x03sp"},
  };
  for (const auto& list : rules)
    EXPECT_EQ(ApplyDateRules(RuleSet(values, list), "20040315"), Variant(std::string())) << list[0];
  // A single rule that is not recomputed needs no place.
  EXPECT_EQ(ApplyDateRules(RuleSet(values, {MakeSingleDateRule("a", {"N"}, "D")}), "20040315"),
            values);
  EXPECT_EQ(ApplyDateRules(Variant("not a set"), "20040315"), Variant(std::string()));
  // More rules announced than the list holds.
  Variant set = RuleSet(values, {});
  set[3][0] = 2;
  EXPECT_EQ(ApplyDateRules(set, "20040315"), Variant(std::string()));
}

}  // namespace
