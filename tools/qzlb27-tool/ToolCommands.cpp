#include "ToolCommands.h"

#include <charconv>
#include <cstdio>
#include <span>

#include "automation/DateTime.h"
#include "automation/Variant.h"
#include "support/CalendarRules.h"
#include "support/Format.h"
#include "support/LibStrs.h"
#include "support/VarnelIni.h"

using automation::Variant;

namespace {

// Checks the number of words after the command's own (`skip`) against the argument names;
// names ending in "..." take any number of further words.
void Expect(const std::vector<std::string>& words, size_t skip,
            const std::vector<std::string>& names) {
  const bool open = !names.empty() && names.back().ends_with("...");
  const size_t needed = skip + names.size() - (open ? 1 : 0);
  if (words.size() < needed) throw BadArgument("missing " + names[words.size() - skip]);
  if (!open && words.size() > needed)
    throw BadArgument("unexpected argument '" + words[needed] + "'");
}

bool ParseInt(const std::string& text, int& value) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data() + (text.starts_with("+") ? 1 : 0), end, value);
  return !text.empty() && ec == std::errc() && ptr == end;
}

int IntArgument(const std::string& name, const std::string& text, int low, int high) {
  int value = 0;
  if (!ParseInt(text, value)) throw BadArgument(name + " '" + text + "' is not an integer");
  if (value < low || value > high)
    throw BadArgument(name + " '" + text + "' is not between " + std::to_string(low) + " and " +
                      std::to_string(high));
  return value;
}

void DateArgument(const std::string& name, const std::string& text) {
  if (DateFromYmdText(text) == 0)
    throw BadArgument(name + " '" + text + "' is not a date yyyymmdd");
}

std::string YmdOf(double date) {
  if (date == 0) return "0";
  int year = 0, month = 0, day = 0;
  automation::DecodeDate(date, year, month, day);
  char text[16];
  std::snprintf(text, sizeof text, "%.4d%.2d%.2d", year, month, day);
  return text;
}

PeriodSpec PeriodArgument(const std::string& text) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t colon; (colon = text.find(':', start)) != std::string::npos; start = colon + 1)
    parts.push_back(text.substr(start, colon - start));
  parts.push_back(text.substr(start));
  const std::string& kind = parts[0];
  auto expect = [&](size_t count, const char* shape) {
    if (parts.size() != count) throw BadArgument("PERIOD '" + text + "' is not written " + shape);
  };
  auto field = [&](size_t i, const char* name, int low, int high) {
    return IntArgument(std::string("PERIOD '") + text + "': " + name, parts[i], low, high);
  };
  constexpr int kMaxInterval = 9999;
  if (kind == "day") {
    expect(2, "day:N");
    return MakeDayPeriod(std::to_string(field(1, "N", 1, kMaxInterval)));
  }
  if (kind == "week") {
    expect(3, "week:N:WEEKDAY");
    const int weeks = field(1, "N", 1, kMaxInterval);
    return MakeWeekPeriod(std::to_string(weeks), field(2, "WEEKDAY", 0, 6));
  }
  if (kind == "month") {
    expect(3, "month:N:DAY");
    const int months = field(1, "N", 1, kMaxInterval);
    return MakeMonthDayPeriod(std::to_string(months), std::to_string(field(2, "DAY", 1, 31)));
  }
  if (kind == "monthday") {
    expect(4, "monthday:N:POSITION:WEEKDAY");
    const int months = field(1, "N", 1, kMaxInterval);
    const int position = field(2, "POSITION", 0, 4);
    return MakeMonthWeekdayPeriod(std::to_string(months), position, field(3, "WEEKDAY", 0, 6));
  }
  if (kind == "hour") {
    expect(2, "hour:H");
    double hours = 0;
    const char* end = parts[1].data() + parts[1].size();
    auto [ptr, ec] = std::from_chars(parts[1].data(), end, hours);
    if (parts[1].empty() || ec != std::errc() || ptr != end || !(hours > 0))
      throw BadArgument("PERIOD '" + text + "': H '" + parts[1] + "' is not a number above 0");
    return MakeHourPeriod(hours);
  }
  throw BadArgument("PERIOD '" + text +
                    "' is not day:N, week:N:WEEKDAY, month:N:DAY, monthday:N:POSITION:WEEKDAY "
                    "or hour:H");
}

Variant FormatArgument(const std::string& text) {
  if (text.starts_with("s:")) return Variant(text.substr(2));
  const std::string number = text.size() >= 2 ? text.substr(2) : std::string();
  const char* end = number.data() + number.size();
  if (text.starts_with("i:")) {
    int value = 0;
    if (ParseInt(number, value)) return Variant(value);
    throw BadArgument("ARG '" + text + "' is not an integer after i:");
  }
  if (text.starts_with("f:")) {
    double value = 0;
    auto [ptr, ec] = std::from_chars(number.data(), end, value);
    if (!number.empty() && ec == std::errc() && ptr == end) return Variant(value);
    throw BadArgument("ARG '" + text + "' is not a number after f:");
  }
  throw BadArgument("ARG '" + text + "' is not written i:INTEGER, f:NUMBER or s:TEXT");
}

// ---- Configuration ----------------------------------------------------------------------------

void Add(std::vector<std::string>& lines, const std::string& name, const std::string& value) {
  lines.push_back(name + "=" + value);
}

void AddArray(std::vector<std::string>& lines, const std::string& name, const Variant& value) {
  if (!value.IsArray()) return;
  const automation::VariantArray& array = value.Array();
  for (int row = array.LowBound(1); row <= array.HighBound(1); ++row)
    for (int column = array.LowBound(2); column <= array.HighBound(2); ++column)
      Add(lines, name + "[" + std::to_string(row) + "," + std::to_string(column) + "]",
          automation::VarToStr(array.At(row, column)));
}

void AddCommon(std::vector<std::string>& lines, const TVarnelIniBase& ini) {
  Add(lines, "ProfilePath", ini.ProfilePath);
  Add(lines, "ProfileType", ini.ProfileType);
  Add(lines, "ProfileUser", ini.ProfileUser);
  Add(lines, "UICodePage", ini.UICodePage);
  Add(lines, "DBCodePage", ini.DBCodePage);
  Add(lines, "SystemCodePage", ini.SystemCodePage);
  Add(lines, "UIConvertMode", std::to_string(ini.UIConvertMode));
  Add(lines, "DataConvertMode", std::to_string(ini.DataConvertMode));
  Add(lines, "SupportCallBack", ini.SupportCallBack ? "True" : "False");
  Add(lines, "IniFileName", ini.IniFileName);
  for (size_t i = 0; i < ini.WorkDLLPaths.size(); ++i)
    Add(lines, "WorkDLLPaths[" + std::to_string(i) + "]", ini.WorkDLLPaths[i]);
  Add(lines, "Version", ini.Version);
}

CommandAnswer Config(const std::vector<std::string>& words) {
  Expect(words, 1, {"SIDE (client or server)"});
  CommandAnswer answer;
  std::vector<std::string>& lines = answer.lines;
  if (words[1] == "client") {
    const TVarnelIniC ini;
    Add(lines, "ClientPath", ini.ClientPath);
    AddCommon(lines, ini);
    Add(lines, "LangType", ini.LangType);
    Add(lines, "CreateGifBeforeSendEF", ini.CreateGifBeforeSendEF);
    AddArray(lines, "ServerList", ini.ServerList);
    Add(lines, "AutoCheckNewMsg", ini.AutoCheckNewMsg);
    Add(lines, "CheckInterval", ini.CheckInterval);
    Add(lines, "PopupMsg", ini.PopupMsg);
    Add(lines, "LoginCheck", ini.LoginCheck);
    Add(lines, "ReadSucceeded", ini.ReadSucceeded ? "True" : "False");
    Add(lines, "ErrorCode", ini.ErrorCode);
  } else if (words[1] == "server") {
    const TVarnelIniS ini;
    Add(lines, "ServerPath", ini.ServerPath);
    AddCommon(lines, ini);
    AddArray(lines, "DBSettings", ini.DBSettings);
    Add(lines, "DBKind", std::to_string(ini.DBKind));
    Add(lines, "SystemControlAddress", ini.SystemControlAddress);
    Add(lines, "OtherSystemControlAddress", ini.OtherSystemControlAddress);
    Add(lines, "ReadSucceeded", ini.ReadSucceeded ? "True" : "False");
    Add(lines, "ErrorCode", ini.ErrorCode);
  } else {
    throw BadArgument("SIDE '" + words[1] + "' is neither client nor server");
  }
  return answer;
}

// ---- Schedules, dates, passwords, formats ---------------------------------------------------

CommandAnswer Schedule(const std::vector<std::string>& words) {
  if (words.size() < 2) throw BadArgument("missing ACTION (next or preview)");
  CommandAnswer answer;
  if (words[1] == "next") {
    Expect(words, 2, {"START", "PERIOD"});
    DateArgument("START", words[2]);
    answer.lines.push_back(NextScheduleDate(words[2], PeriodArgument(words[3])));
  } else if (words[1] == "preview") {
    Expect(words, 2, {"START", "PERIOD", "N"});
    DateArgument("START", words[2]);
    const PeriodSpec period = PeriodArgument(words[3]);
    const int count = IntArgument("N", words[4], 0, 10000);
    std::string run = NextScheduleDate(words[2], period);
    answer.lines.push_back(run);
    for (int i = 0; i < count && !run.empty(); ++i) {
      run = FollowingRunDate(run, period);
      if (!run.empty()) answer.lines.push_back(run);
    }
  } else {
    throw BadArgument("ACTION '" + words[1] + "' is neither next nor preview");
  }
  return answer;
}

CommandAnswer Date(const std::vector<std::string>& words) {
  if (words.size() < 2) throw BadArgument("missing ACTION (add, shift, parse or format)");
  const std::string& action = words[1];
  CommandAnswer answer;
  if (action == "add") {
    Expect(words, 2, {"DATE", "UNIT", "COUNT"});
    const int count = IntArgument("COUNT", words[4], -10000000, 10000000);
    answer.lines.push_back(DateAddText(Variant(words[2]), words[3], count));
  } else if (action == "shift") {
    Expect(words, 2, {"BASE", "COUNT", "UNIT", "ADJUSTMENT", "DAYS"});
    IntArgument("COUNT", words[3], -100000, 100000);
    IntArgument("ADJUSTMENT", words[5], -100000, 100000);
    IntArgument("DAYS", words[6], -10000000, 10000000);
    answer.lines.push_back(ShiftDateByRule(words[2], words[3], words[4], words[5], words[6]));
  } else if (action == "parse") {
    Expect(words, 2, {"TEXT", "CODE", "SEP"});
    const int code = IntArgument("CODE", words[3], INT32_MIN, INT32_MAX);
    answer.lines.push_back(YmdOf(ParseDateSep(words[2], code, words[4])));
  } else if (action == "format") {
    Expect(words, 2, {"CODE", "SEP", "YYYYMMDD"});
    const int code = IntArgument("CODE", words[2], INT32_MIN, INT32_MAX);
    double date = 0;
    if (words[4] != "0") {
      DateArgument("YYYYMMDD", words[4]);
      date = DateFromYmdText(words[4]);
    }
    answer.lines.push_back(FormatDateSep(code, words[3], date));
  } else {
    throw BadArgument("ACTION '" + action + "' is not add, shift, parse or format");
  }
  return answer;
}

CommandAnswer Password(const std::vector<std::string>& words) {
  if (words.size() < 2) throw BadArgument("missing ACTION (encode or decode)");
  Expect(words, 2, {"TEXT"});
  CommandAnswer answer;
  if (words[1] == "encode")
    answer.lines.push_back(EncodeDbPassword(words[2]));
  else if (words[1] == "decode")
    answer.lines.push_back(DecodeSQLSa(words[2]));
  else
    throw BadArgument("ACTION '" + words[1] + "' is neither encode nor decode");
  return answer;
}

CommandAnswer FormatCommand(const std::vector<std::string>& words) {
  Expect(words, 1, {"FORMAT", "ARG..."});
  std::vector<Variant> args;
  for (size_t i = 2; i < words.size(); ++i) args.push_back(FormatArgument(words[i]));
  CommandAnswer answer;
  try {
    answer.lines.push_back(Format(words[1], std::span<const Variant>(args)));
  } catch (const std::exception& error) {
    answer.lines.push_back(std::string("ERROR: ") + error.what());
    answer.failed = true;
  }
  return answer;
}

}  // namespace

CommandAnswer RunCommand(const std::vector<std::string>& words) {
  if (words.empty() || words[0].empty()) throw BadArgument("missing COMMAND");
  const std::string& command = words[0];
  if (command == "config") return Config(words);
  if (command == "schedule") return Schedule(words);
  if (command == "date") return Date(words);
  if (command == "password") return Password(words);
  if (command == "format") return FormatCommand(words);
  throw BadArgument("COMMAND '" + command + "' is not config, schedule, date, password or format");
}

std::string UsageText() {
  return "Usage: qzlb27-tool COMMAND ARGUMENTS...   or   qzlb27-tool --batch\n"
         "\n"
         "  config client | config server\n"
         "      every field the configuration reader read, one name=value line each\n"
         "  schedule next START PERIOD\n"
         "  schedule preview START PERIOD N\n"
         "      the first run date of a period from START (yyyymmdd), and N more runs\n"
         "      PERIOD: day:N  week:N:WEEKDAY  month:N:DAY  monthday:N:POSITION:WEEKDAY  hour:H\n"
         "      WEEKDAY 0 = Sunday ... 6 = Saturday; POSITION 0..3 first..fourth, 4 last\n"
         "  date add DATE UNIT COUNT            UNIT D, M or Y\n"
         "  date shift BASE COUNT UNIT ADJUSTMENT DAYS\n"
         "  date parse TEXT CODE SEP            answers yyyymmdd, or 0 for no date\n"
         "  date format CODE SEP YYYYMMDD       CODE 1..5; YYYYMMDD 0 for no date\n"
         "  password encode TEXT | password decode TEXT\n"
         "  format FORMAT ARG...                ARG i:42, f:1.5 or s:text\n"
         "\n"
         "--batch reads one command per line from standard input, words separated by tabs,\n"
         "and answers each on one line (several lines joined by tabs; failures as ERROR: ...).\n"
         "The registry store is the file named by QRN_REGISTRY (see the documentation).\n"
         "Exit status: 0 done, 1 a format did not fit its arguments, 2 bad arguments.\n";
}
