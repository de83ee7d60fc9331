#include "support/LibStrs.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <map>
#include <system_error>
#include <vector>

#include "automation/DateTime.h"
#include "os/CodePage.h"
#include "os/SystemInfo.h"
#include "support/GbkText.h"
#include "support/Logs.h"

using automation::Variant;
using automation::VariantArray;
using automation::VarType;

namespace {

constexpr size_t kNotFound = std::string_view::npos;

// Day numbers of 0001-01-01 and of the day after 9999-12-31.
constexpr double kFirstDay = -693593;
constexpr double kEndDay = 2958466;

// Arrays inside arrays deeper than this are refused rather than walked: no parameter array of
// the system comes near it, and walking without a limit could exhaust the stack.
constexpr int kMaxArrayDepth = 64;

bool IsLead(char c) {
  return os::IsLeadByte(static_cast<unsigned char>(c), os::CP_GBK);
}

// Bytes of the character starting at `pos`: 2 for a lead byte followed by another byte.
size_t CharLength(std::string_view text, size_t pos) {
  return IsLead(text[pos]) && pos + 1 < text.size() ? 2 : 1;
}

// The first position at or after `from` (a character start) where `pattern` starts on a
// character start; kNotFound when there is none or the pattern is empty.
size_t FindPattern(std::string_view text, std::string_view pattern, size_t from = 0) {
  if (pattern.empty()) return kNotFound;
  for (size_t pos = from; pos + pattern.size() <= text.size(); pos += CharLength(text, pos))
    if (text.substr(pos, pattern.size()) == pattern) return pos;
  return kNotFound;
}

// Blanks and control characters off both ends (bytes up to 0x20; GBK bytes are all above).
std::string_view TrimView(std::string_view text) {
  size_t begin = 0, end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
  return text.substr(begin, end - begin);
}

bool SameTextNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// An integer as the system reads one: leading blanks, an optional sign, decimal digits and
// nothing after; false for anything else or a number beyond 32 bits.
bool ReadInteger(std::string_view text, int& value) {
  size_t pos = 0;
  while (pos < text.size() && text[pos] == ' ') ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  if (pos == text.size()) return false;
  long long n = 0;
  for (; pos < text.size(); ++pos) {
    if (text[pos] < '0' || text[pos] > '9') return false;
    n = n * 10 + (text[pos] - '0');
    if (n > 2147483648LL) return false;
  }
  if (negative) n = -n;
  if (n > 2147483647LL) return false;
  value = static_cast<int>(n);
  return true;
}

int IntegerOr(std::string_view text, int fallback) {
  int value = 0;
  return ReadInteger(text, value) ? value : fallback;
}

// Characters `first` (from 1) to `first + count - 1` of the text; shorter or empty near the end.
std::string_view Chars(std::string_view text, size_t first, size_t count) {
  if (first - 1 >= text.size()) return {};
  return text.substr(first - 1, count);
}

// The first character of a separator: one byte, or both bytes of a two-byte character.
std::string FirstChar(std::string_view separator) {
  if (separator.empty()) return {};
  return std::string(separator.substr(0, CharLength(separator, 0)));
}

bool DecodeDateValue(double date, int& year, int& month, int& day) {
  if (date == 0 || !(date >= kFirstDay && date < kEndDay)) return false;
  automation::DecodeDate(date, year, month, day);
  return year >= 1;
}

template <typename... Args>
std::string Printf(const char* format, Args... args) {
  char buffer[128];
  const int length = std::snprintf(buffer, sizeof buffer, format, args...);
  return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}

// ---- Array walk ----

enum class Direction { ToWide, ToAnsi };

void ConvertCells(VariantArray& array, Direction direction, int codePage, int depth) {
  if (depth > kMaxArrayDepth) throw automation::Error("Variant arrays are nested too deeply");
  if (array.DimCount() < 1 || array.DimCount() > 2) return;
  for (Variant& cell : array.Elements()) {
    switch (cell.Type()) {
      case VarType::Array:
        ConvertCells(cell.Array(), direction, codePage, depth + 1);
        break;
      case VarType::AnsiString:
        if (direction == Direction::ToWide) cell = Variant(AnsiToWideCp(cell.AsAnsi(), codePage));
        break;
      case VarType::WideString:
        if (direction == Direction::ToAnsi) cell = Variant(WideToAnsiCp(cell.AsWide(), codePage));
        break;
      default:
        break;
    }
  }
}

Variant ConvertArray(const Variant& array, Direction direction, int codePage) {
  if (!array.IsArray()) return array;
  Variant result = array;
  ConvertCells(result.Array(), direction, codePage, 1);
  return result;
}

void LogConversionError(const char* line, const char* message) {
  WriteAlertLog("libstrs", std::string(line) + message, "D");
}

}  // namespace

// ---- Text fields ------------------------------------------------------------------------------

std::string GetToken(std::string_view text, std::string_view separator, int index) {
  std::string_view rest = text;
  std::string_view field;
  int counter = 1;
  bool found = true;
  while (counter <= index && found) {
    const size_t at = FindPattern(rest, separator);
    if (at != kNotFound) {
      field = rest.substr(0, at);
      rest.remove_prefix(at + separator.size());
      ++counter;
    } else {
      field = rest;
      found = false;
    }
  }
  if (counter < index) return {};
  return std::string(field);
}

int CountTokens(std::string_view text, std::string_view separator) {
  if (text.empty()) return 0;
  int count = 1;
  for (size_t at = FindPattern(text, separator); at != kNotFound;
       at = FindPattern(text, separator, at + separator.size()))
    ++count;
  return count;
}

std::string TakeToken(std::string& text, std::string_view separator) {
  const size_t at = FindPattern(text, separator);
  std::string token;
  if (at == kNotFound) {
    token.swap(text);
  } else {
    token = text.substr(0, at);
    text.erase(0, at + separator.size());
  }
  return token;
}

std::string ReplaceAll(std::string_view text, std::string_view pattern,
                       std::string_view replacement, bool trim) {
  std::string result(text);
  if (!pattern.empty() && !SameTextNoCase(pattern, replacement)) {
    const size_t length = pattern.size();
    if (FindPattern(replacement, pattern) != kNotFound) {
      // Searching again would find the inserted pattern forever: one pass, left to right.
      std::string out;
      size_t pos = 0;
      while (pos < result.size()) {
        if (std::string_view(result).substr(pos, length) == pattern) {
          out.append(replacement);
          pos += length;
        } else {
          const size_t n = CharLength(result, pos);
          out.append(result, pos, n);
          pos += n;
        }
      }
      result.swap(out);
    } else {
      // The first occurrence each time, as if searching from the start again: the text before
      // a replacement has no occurrence, so the search resumes at the earliest character start
      // whose comparison window reaches into the replaced part. `starts` holds the character
      // starts already compared, in order.
      std::vector<size_t> starts;
      size_t pos = 0;
      while (pos + length <= result.size()) {
        if (std::string_view(result).substr(pos, length) == pattern) {
          result.replace(pos, length, replacement);
          const size_t replaced = pos;
          while (!starts.empty() && starts.back() + length > replaced) {
            pos = starts.back();
            starts.pop_back();
          }
          continue;
        }
        starts.push_back(pos);
        pos += CharLength(result, pos);
      }
    }
  }
  if (trim) return std::string(TrimView(result));
  return result;
}

std::string PadRight(std::string_view text, std::span<const int> widthAndFill) {
  std::string result(text);
  if (widthAndFill.empty()) return result;
  const int width = widthAndFill[0];
  const char fill = widthAndFill.size() >= 2 ? static_cast<char>(widthAndFill[1] & 0xFF) : ' ';
  if (width > 0 && result.size() < static_cast<size_t>(width))
    result.append(static_cast<size_t>(width) - result.size(), fill);
  return result;
}

std::string PadRight(std::string_view text, std::initializer_list<int> widthAndFill) {
  return PadRight(text, std::span<const int>(widthAndFill.begin(), widthAndFill.size()));
}

std::u16string JoinParamList(std::string_view prefix, const Variant& list) {
  auto textOf = [](const Variant& value) {
    return value.Type() == VarType::AnsiString ? AnsiToWideCp(value.AsAnsi(), os::CP_GBK)
                                               : value.AsWide();
  };
  const std::u16string mark(1, u'\x03');
  const Variant& head = list.ElementAt(0);
  std::u16string result = AnsiToWideCp(prefix, os::CP_GBK) + mark + textOf(head) + mark;
  const int count = head.AsInteger();
  for (int i = 1; i <= count; ++i) result += textOf(list.ElementAt(i)) + mark;
  return result;
}

// ---- Dates ------------------------------------------------------------------------------------

std::string FormatDateSep(int formatCode, std::string_view separator, double date) {
  int y = 0, m = 0, d = 0;
  if (!DecodeDateValue(date, y, m, d)) return {};
  const std::string s = FirstChar(separator);
  const char* sep = s.c_str();
  switch (formatCode) {
    case 1:
      return Printf("%.4d%s%.2d%s%.2d", y, sep, m, sep, d);
    case 2:
      return Printf("%.2d%s%.2d%s%.4d", m, sep, d, sep, y);
    case 3:
      return Printf("%.2d%s%.2d%s%.4d", d, sep, m, sep, y);
    case 4:
      return Printf("%.2d%s%.2d%s%.2d", y - 1911, sep, m, sep, d);
    case 5:
      return Printf("%.3d%s%.2d%s%.2d", y - 1911, sep, m, sep, d);
    default:
      return {};
  }
}

std::string FormatYearMonthSep(int formatCode, std::string_view separator, double date) {
  int y = 0, m = 0, d = 0;
  if (!DecodeDateValue(date, y, m, d)) return {};
  const std::string s = FirstChar(separator);
  const char* sep = s.c_str();
  switch (formatCode) {
    case 1:
      return Printf("%.4d%s%.2d", y, sep, m);
    case 2:
    case 3:
      return Printf("%.2d%s%.4d", m, sep, y);
    case 4:
      return Printf("%.2d%s%.2d", y - 1911, sep, m);
    case 5:
      return Printf("%.3d%s%.2d", y - 1911, sep, m);
    default:
      return {};
  }
}

double ParseDateSep(std::string_view text, int formatCode, std::string_view separator) {
  std::string rest(TrimView(text));
  if (rest.empty()) return 0;
  int field[3];
  for (int& f : field) f = IntegerOr(TrimView(TakeToken(rest, separator)), -1);
  if (field[0] <= 0 || field[1] <= 0 || field[2] <= 0 || formatCode < 1 || formatCode > 5) return 0;
  int year = 0, month = 0, day = 0;
  switch (formatCode) {
    case 1:
      year = field[0], month = field[1], day = field[2];
      break;
    case 2:
      year = field[2], month = field[0], day = field[1];
      break;
    case 3:
      year = field[2], month = field[1], day = field[0];
      break;
    default:
      year = field[0] + 1911, month = field[1], day = field[2];
      break;
  }
  double first = 0;
  if (!automation::TryEncodeDate(year, month, 1, first)) return 0;
  return first + (day - 1);
}

double DateFromYmdText(std::string_view text) {
  if (text.size() != 8) return 0;
  const int y = IntegerOr(text.substr(0, 4), 0);
  const int m = IntegerOr(text.substr(4, 2), 0);
  const int d = IntegerOr(text.substr(6, 2), 0);
  double value = 0;
  if (y == 0 || m == 0 || d == 0 || !automation::TryEncodeDate(y, m, d, value)) return 0;
  return value;
}

bool IsValidYmdText(std::string_view text) {
  if (text.empty()) return true;
  const int y = IntegerOr(Chars(text, 1, 4), 0);
  const int m = IntegerOr(Chars(text, 5, 2), 0);
  const int d = IntegerOr(Chars(text, 7, 2), 0);
  return automation::IsValidDate(y, m, d) && text >= "17530101" && text <= "99991231";
}

// ---- Numbers, variants and addresses -----------------------------------------------------------

double StrToFloatDef(std::string_view text, double defaultValue) {
  size_t pos = 0;
  while (pos < text.size() && text[pos] == ' ') ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  const size_t start = pos;
  auto digits = [&] {
    const size_t from = pos;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') ++pos;
    return pos - from;
  };
  size_t mantissa = digits();
  if (pos < text.size() && text[pos] == '.') {
    ++pos;
    mantissa += digits();
  }
  if (mantissa == 0) return defaultValue;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
    if (digits() == 0) return defaultValue;
  }
  if (pos != text.size()) return defaultValue;
  // from_chars reads neither a "+" nor a sign at all here, and ignores the process locale.
  std::string number(text.substr(start));
  if (const size_t e = number.find_first_of("eE"); e != std::string::npos && number[e + 1] == '+')
    number.erase(e + 1, 1);
  double value = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error != std::errc() || end != number.data() + number.size()) {
    // Out of range: too small reads as 0, too large is no number.
    const size_t e = number.find_first_of("eE");
    if (error == std::errc::result_out_of_range && e != std::string::npos && number[e + 1] == '-')
      return negative ? -0.0 : 0.0;
    return defaultValue;
  }
  return negative ? -value : value;
}

Variant VarIif(bool condition, const Variant& a, const Variant& b) {
  return condition ? a : b;
}

bool VarIsNullOrEmpty(const Variant& value) {
  return value.IsEmpty() || value.IsNull();
}

bool IsLoopbackAddress(std::string_view text) {
  return text == "127.0.0.1";
}

std::string GetTempDirectory() {
  try {
    std::error_code error;
    std::filesystem::path folder = std::filesystem::absolute(os::TempDirectory(), error);
    if (error || !std::filesystem::is_directory(folder, error)) return {};
    std::string result = folder.lexically_normal().string();
    if (result.empty()) return {};
    if (result.back() != '/') result += '/';
    return result;
  } catch (...) {
    return {};
  }
}

std::string DialogButtonCaption(std::string_view buttonName) {
  static const std::map<std::string, std::string, std::less<>> captions = [] {
    std::map<std::string, std::string, std::less<>> table;
    for (const auto& [name, caption] : std::initializer_list<std::pair<const char*, const char*>>{
             {"Yes", "是(&Y)"},
             {"No", "否(&N)"},
             {"OK", "确定"},
             {"Cancel", "取消"},
             {"Abort", "中断(&A)"},
             {"Retry", "重试(&R)"},
             {"Ignore", "忽略(&I)"},
             {"All", "全部(&A)"},
             {"NoToAll", "全否(&o)"},
             {"YesToAll", "全是(&A)"},
             {"Help", "帮助(&H)"},
         })
      table.emplace(name, Gbk(caption));
    return table;
  }();
  const auto it = captions.find(buttonName);
  return it != captions.end() ? it->second : std::string(buttonName);
}

// ---- Wide-text conversion -----------------------------------------------------------------------

std::string WideToAnsiCp(std::u16string_view text, int codePage) {
  bool ok = false;
  std::string result = os::WideToAnsi(text, codePage, &ok);
  if (!ok) result = os::WideToAnsi(text, os::SystemCodePage());
  return result;
}

std::u16string AnsiToWideCp(std::string_view text, int codePage) {
  bool ok = false;
  std::u16string result = os::AnsiToWide(text, codePage, &ok);
  if (!ok || result.empty()) result = os::AnsiToWide(text, os::SystemCodePage());
  return result;
}

Variant VarWideToAnsi(const Variant& value, int codePage) {
  try {
    switch (value.Type()) {
      case VarType::Array:
        return VarArrayWideToAnsi(value, codePage);
      case VarType::AnsiString:
      case VarType::WideString:
        return Variant(WideToAnsiCp(value.AsWide(), codePage));
      default:
        return value;
    }
  } catch (const std::exception& error) {
    LogConversionError("LINE[2735] ", error.what());
  } catch (...) {
    LogConversionError("LINE[2735] ", "Unknown error");
  }
  return value;
}

Variant VarAnsiToWide(const Variant& value, int codePage) {
  try {
    switch (value.Type()) {
      case VarType::Array:
        return VarArrayAnsiToWide(value, codePage);
      case VarType::AnsiString:
      case VarType::WideString:
        return Variant(AnsiToWideCp(value.AsAnsi(), codePage));
      default:
        return value;
    }
  } catch (const std::exception& error) {
    LogConversionError("LINE[115] ", error.what());
  } catch (...) {
    LogConversionError("LINE[115] ", "Unknown error");
  }
  return value;
}

Variant VarArrayWideToAnsi(const Variant& array, int codePage) {
  return ConvertArray(array, Direction::ToAnsi, codePage);
}

Variant VarArrayAnsiToWide(const Variant& array, int codePage) {
  return ConvertArray(array, Direction::ToWide, codePage);
}
