#include "support/CalendarRules.h"

#include <cmath>
#include <cstdio>

#include "automation/DateTime.h"
#include "support/LibStrs.h"

using automation::Variant;

namespace {

constexpr std::string_view kSeparator(&kDateRuleSeparator, 1);

// The earliest and latest day numbers of the years 1..9999.
double FirstDay() {
  return automation::EncodeDate(1, 1, 1);
}
double LastDay() {
  return automation::EncodeDate(9999, 12, 31);
}

// The day number as "yyyymmdd"; "" outside the years 1..9999.
std::string YmdText(double day) {
  if (day < FirstDay() || day > LastDay()) return {};
  int year = 0, month = 0, dayOfMonth = 0;
  automation::DecodeDate(day, year, month, dayOfMonth);
  char text[16];
  std::snprintf(text, sizeof text, "%.4d%.2d%.2d", year, month, dayOfMonth);
  return text;
}

// A date text as a day number; throws when it is not a date (the callers' "unreadable").
double ReadDate(std::string_view text) {
  const double day = DateFromYmdText(text);
  if (day == 0) throw automation::Error("'" + std::string(text) + "' is not a valid date");
  return day;
}

// An integer text, blanks around it allowed.
int ToInt(std::string_view text) {
  const std::string original(text);
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) throw automation::Error("'" + original + "' is not a valid integer value");
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9' || value > 100000000000LL)
      throw automation::Error("'" + original + "' is not a valid integer value");
    value = value * 10 + (c - '0');
  }
  if (negative) value = -value;
  if (value > INT32_MAX || value < INT32_MIN)
    throw automation::Error("'" + original + "' is not a valid integer value");
  return static_cast<int>(value);
}

// An element of a period: an integer, or a text holding one.
int ElementInt(const Variant& value) {
  switch (value.Type()) {
    case automation::VarType::Integer:
      return value.AsInteger();
    case automation::VarType::Double:
      if (std::trunc(value.AsDouble()) == value.AsDouble()) return value.AsInteger();
      break;
    case automation::VarType::AnsiString:
    case automation::VarType::WideString:
      return ToInt(value.AsAnsi());
    default:
      break;
  }
  throw automation::Error("'" + automation::VarToStr(value) + "' is not a valid integer value");
}

int Weekday(double day) {
  return automation::DayOfWeek(day);
}

// "yyyymm" of a date text and the month's day written with two digits.
std::string WithDay(const std::string& ymd, int day) {
  char text[8];
  std::snprintf(text, sizeof text, "%.2d", day);
  return ymd.substr(0, 6) + text;
}

int YearOf(const std::string& ymd) {
  return ToInt(std::string_view(ymd).substr(0, 4));
}
int MonthOf(const std::string& ymd) {
  return ToInt(std::string_view(ymd).substr(4, 2));
}

// The first run of "every M months on week position p and weekday index k".
std::string MonthWeekdayDate(std::string_view start, int months, int position, int weekdayIndex,
                             std::string& result) {
  int m = months - 1;
  for (int pass = 0; pass < 2; ++pass) {
    const std::string moved = DateAddText(Variant(start), "M", m);
    if (moved.empty()) throw automation::Error("date out of range");
    const int year = YearOf(moved), month = MonthOf(moved);
    const double first = automation::EncodeDate(year, month, 1);
    const int target = weekdayIndex + 1;
    const int c = target - Weekday(first);
    double day;
    if (position == 0) {
      day = c < 0 ? first + c + 7 : first + c;
    } else if (position >= 1 && position <= 3) {
      day = c >= 0 ? first + c + 7 * position : first + c + 7 * (position + 1);
    } else if (position == 4) {
      const double last = automation::EncodeDate(year, month, DaysInMonth(year, month));
      const int e = Weekday(last) - target;
      day = e >= 0 ? last - e : last - e - 7;
    } else {
      throw automation::Error("week position out of range");
    }
    result = YmdText(day);
    if (result >= start) break;
    m = months;
  }
  return result;
}

}  // namespace

PeriodSpec MakeDayPeriod(std::string_view days) {
  return automation::VarArrayOf({0, days});
}

PeriodSpec MakeWeekPeriod(std::string_view weeks, int weekdayIndex) {
  return automation::VarArrayOf({1, automation::VarArrayOf({weeks, weekdayIndex})});
}

PeriodSpec MakeMonthDayPeriod(std::string_view months, std::string_view day) {
  return automation::VarArrayOf({2, automation::VarArrayOf({0, months, day})});
}

PeriodSpec MakeMonthWeekdayPeriod(std::string_view months, int position, int weekdayIndex) {
  return automation::VarArrayOf({2, automation::VarArrayOf({1, months, position, weekdayIndex})});
}

PeriodSpec MakeHourPeriod(double hours) {
  return automation::VarArrayOf({3, hours});
}

namespace {
std::string ShiftFields(const DateShift& s) {
  const std::string sep(kSeparator);
  return s.flag + sep + s.count + sep + s.unit + sep + s.adjustment + sep + s.days;
}
}  // namespace

DateRuleEntry MakeSingleDateRule(std::string_view control, const DateShift& shift,
                                 std::string_view kind, std::string_view position) {
  const std::string sep(kSeparator);
  std::string rule =
      "1" + sep + std::string(control) + sep + ShiftFields(shift) + sep + std::string(kind);
  if (!position.empty()) rule += sep + std::string(position);
  return rule;
}

DateRuleEntry MakeRangeDateRule(std::string_view control, const DateShift& begin,
                                const DateShift& end, std::string_view kind,
                                std::string_view position) {
  const std::string sep(kSeparator);
  std::string rule = "0" + sep + std::string(control) + sep + ShiftFields(begin) + sep +
                     ShiftFields(end) + sep + std::string(kind);
  if (!position.empty()) rule += sep + std::string(position);
  return rule;
}

std::string DateAddText(const Variant& date, std::string_view unit, int count) {
  try {
    double value = 0;
    if (date.IsText())
      value = DateFromYmdText(date.AsAnsi());
    else if (date.Type() == automation::VarType::Date)
      value = std::trunc(date.AsDate());
    if (value == 0 || value < FirstDay() || value > LastDay()) return {};
    int year = 0, month = 0, day = 0;
    automation::DecodeDate(value, year, month, day);
    const bool days = unit == "D" || unit == "d";
    const bool months = unit == "M" || unit == "m";
    const bool years = unit == "Y" || unit == "y";
    if (days) return YmdText(value + count);
    long long newYear = 0;
    int newMonth = month;
    if (months) {
      const long long total = year * 12LL + month + count;
      newMonth = static_cast<int>(total % 12);
      newYear = total / 12;
      if (newMonth == 0) {
        newMonth = 12;
        newYear -= 1;
      }
    } else if (years) {
      newYear = static_cast<long long>(year) + count;
    } else {
      return {};
    }
    if (newYear < 1 || newYear > 9999) return {};
    const int last = DaysInMonth(static_cast<int>(newYear), newMonth);
    return YmdText(
        automation::EncodeDate(static_cast<int>(newYear), newMonth, day > last ? last : day));
  } catch (...) {
    return {};
  }
}

int DaysInMonth(int year, int month) {
  if (month < 1 || month > 12) return 0;
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0)) return 29;
  return days[month - 1];
}

std::string NextScheduleDate(std::string_view start, const PeriodSpec& period) {
  std::string result;
  try {
    const int kind = ElementInt(period[0]);
    if (kind == 0) {
      result = DateAddText(Variant(start), "D", 0);
    } else if (kind == 1) {
      const Variant& detail = period[1];
      const int weeks = ElementInt(detail[0]);
      const int target = ElementInt(detail[1]) + 1;
      const double from = ReadDate(start);
      const int step = target >= Weekday(from) ? (weeks - 1) * 7 : weeks * 7;
      const double moved = from + step;
      result = YmdText(moved + (target - Weekday(moved)));
    } else if (kind == 2) {
      const Variant& detail = period[1];
      const int months = ElementInt(detail[1]);
      if (ElementInt(detail[0]) == 0) {
        const int day = ElementInt(detail[2]);
        int startYear = 0, startMonth = 0, startDay = 0;
        automation::DecodeDate(ReadDate(start), startYear, startMonth, startDay);
        const std::string moved =
            DateAddText(Variant(start), "M", day >= startDay ? months - 1 : months);
        if (moved.empty()) throw automation::Error("date out of range");
        // Days past the end of a short month (and days that are not days of a month) run on
        // the month's last day.
        const std::string wanted = WithDay(moved, day);
        result = day >= 1 && day <= 31 && IsValidYmdText(wanted)
                     ? wanted
                     : WithDay(moved, DaysInMonth(YearOf(moved), MonthOf(moved)));
      } else {
        MonthWeekdayDate(start, months, ElementInt(detail[2]), ElementInt(detail[3]), result);
      }
    }
  } catch (...) {
  }
  return result;
}

std::string FollowingRunDate(std::string_view previousRun, const PeriodSpec& period) {
  try {
    const int kind = ElementInt(period[0]);
    if (kind == 0) return DateAddText(Variant(previousRun), "D", ElementInt(period[1]));
    const Variant& detail = period[1];
    if (kind == 1) return DateAddText(Variant(previousRun), "D", 7 * ElementInt(detail[0]));
    if (kind != 2) return {};
    // The month M months on, searched from its first day with an interval of one month.
    const std::string moved = DateAddText(Variant(previousRun), "M", ElementInt(detail[1]));
    if (moved.empty()) return {};
    Variant oneMonth = period;
    oneMonth[1][1] = "1";
    return NextScheduleDate(WithDay(moved, 1), oneMonth);
  } catch (...) {
    return {};
  }
}

std::string WeekEdgeDate(std::string_view base, std::string_view weeks,
                         std::string_view adjustment) {
  try {
    const double moved = ReadDate(base) + ToInt(weeks) * 7.0;
    return YmdText(adjustment == "1" ? moved + 1 - Weekday(moved) : moved + 7 - Weekday(moved));
  } catch (...) {
    return {};
  }
}

std::string ShiftDateByRule(std::string_view base, std::string_view count, std::string_view unit,
                            std::string_view adjustment, std::string_view days) {
  const int n = ToInt(count);
  if (base.size() < 7) return DateAddText(Variant(std::string(base) + "01"), "M", n).substr(0, 6);
  const int mode = ToInt(adjustment);
  if (unit != "0") {
    const std::string moved = DateAddText(Variant(base), "M", n);
    if (moved.empty()) return {};
    switch (mode) {
      case 0:
        return DateAddText(Variant(moved), "D", ToInt(days));
      case 1:
        return WithDay(moved, 1);
      case 2:
        return WithDay(moved, DaysInMonth(YearOf(moved), MonthOf(moved)));
      default:
        return moved;
    }
  }
  if (mode != 0) return WeekEdgeDate(base, count, std::to_string(mode));
  return DateAddText(Variant(base), "D", n * 7 + ToInt(days));
}

Variant ApplyDateRules(const Variant& ruleSet, std::string_view base) {
  try {
    Variant values = ruleSet[1];
    const Variant& rules = ruleSet[3];
    const int count = ElementInt(rules[0]);
    const std::string fullBase(base);
    const std::string monthBase(base.substr(0, 6));
    // The new value of one date of a rule from the fields of its shift.
    auto shifted = [](const std::string& ruleBase, const std::string& rule, int first) {
      const std::string n = GetToken(rule, kSeparator, first);
      const std::string unit = GetToken(rule, kSeparator, first + 1);
      const std::string mode = GetToken(rule, kSeparator, first + 2);
      const std::string m = GetToken(rule, kSeparator, first + 3);
      if (n == "0" && mode == "0" && m == "0") return ruleBase;
      return ShiftDateByRule(ruleBase, n, unit, mode, m);
    };
    for (int i = 1; i <= count; ++i) {
      const std::string rule = rules[i].AsAnsi();
      if (GetToken(rule, kSeparator, 1) != "0") {
        const std::string& ruleBase = GetToken(rule, kSeparator, 8) == "D" ? fullBase : monthBase;
        if (GetToken(rule, kSeparator, 3) == "Y")
          values[ToInt(GetToken(rule, kSeparator, 9))] = shifted(ruleBase, rule, 4);
      } else {
        const std::string& ruleBase = GetToken(rule, kSeparator, 13) == "D" ? fullBase : monthBase;
        const int position = ToInt(GetToken(rule, kSeparator, 14));
        Variant range = values[position];
        if (GetToken(rule, kSeparator, 3) == "Y") range[1] = shifted(ruleBase, rule, 4);
        if (GetToken(rule, kSeparator, 8) == "Y") range[2] = shifted(ruleBase, rule, 9);
        values[position] = range;
      }
    }
    return values;
  } catch (...) {
    return Variant(std::string());
  }
}
