#include "controls/SelectRange.h"

#include <climits>
#include <vector>

#include "automation/DateTime.h"
#include "os/CodePage.h"
#include "support/LibStrs.h"

namespace {

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

// Start positions of the occurrences of `sign` in `text`, walking by GBK characters.
std::vector<size_t> FindSigns(std::string_view text, std::string_view sign) {
  std::vector<size_t> at;
  if (sign.empty()) return at;
  size_t i = 0;
  while (i < text.size()) {
    if (text.compare(i, sign.size(), sign) == 0) {
      at.push_back(i);
      i += sign.size();
      continue;
    }
    i += os::IsLeadByte(static_cast<unsigned char>(text[i]), os::CP_GBK) && i + 1 < text.size() ? 2
                                                                                                : 1;
  }
  return at;
}

bool ParseInteger(std::string_view text, int& value) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  }
  if (i >= text.size()) return false;
  long long n = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return false;
    }
    n = n * base + digit;
    if (n > static_cast<long long>(INT_MAX) + 1) return false;
  }
  if (negative) n = -n;
  if (n > INT_MAX || n < INT_MIN) return false;
  value = static_cast<int>(n);
  return true;
}

}  // namespace

std::string TrimBlanks(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return std::string(text.substr(begin, end - begin));
}

int ReadRangeInteger(std::string_view text) {
  int value = 0;
  return ParseInteger(text, value) ? value : 0;
}

double ReadRangeDate(std::string_view text, TDateType type, std::string_view sign,
                     std::string_view blankMaskText) {
  if (type == dt_NoneCare) return 0;
  std::string s = TrimBlanks(text);
  if (s.empty() || s == TrimBlanks(blankMaskText)) return 0;
  const std::string sep(sign);
  const size_t count = FindSigns(s, sep).size();
  if (count == 1) {
    // A month without its day: the first of the month.
    switch (type) {
      case dt_YYYYMMDD:
      case dt_YYMMDD:
      case dt_YYYMMDD:
        s += sep + "01";
        break;
      case dt_MMDDYYYY:
        s = s.substr(0, 2) + sep + "01" + (s.size() > 2 ? s.substr(2, 5) : std::string());
        break;
      case dt_DDMMYYYY:
        s = "01" + sep + s;
        break;
      default:
        return 0;
    }
  } else if (count != 2) {
    return 0;
  }
  const std::vector<size_t> at = FindSigns(s, sep);
  if (at.size() != 2) return 0;
  const std::string_view view(s);
  const std::string_view parts[3] = {
      view.substr(0, at[0]),
      view.substr(at[0] + sep.size(), at[1] - at[0] - sep.size()),
      view.substr(at[1] + sep.size()),
  };
  int n[3];
  for (int i = 0; i < 3; ++i)
    if (!ParseInteger(TrimBlanks(parts[i]), n[i])) return 0;
  int year, month, day;
  switch (type) {
    case dt_YYYYMMDD:
      year = n[0], month = n[1], day = n[2];
      break;
    case dt_MMDDYYYY:
      year = n[2], month = n[0], day = n[1];
      break;
    case dt_DDMMYYYY:
      year = n[2], month = n[1], day = n[0];
      break;
    case dt_YYMMDD:
    case dt_YYYMMDD:
      if (n[0] > INT_MAX - 1911) return 0;
      year = n[0] + 1911, month = n[1], day = n[2];
      break;
    default:
      return 0;
  }
  double date = 0;
  return automation::TryEncodeDate(year, month, day, date) ? date : 0;
}

bool RangeTrimsTexts(const TRangeRule& rule) {
  return rule.EditMask.empty() || rule.EditMask[0] != '!';
}

bool RangeNeedsExchange(const TRangeRule& rule, std::string_view begin, std::string_view end) {
  if (begin.empty() || end.empty()) return false;
  const auto guarded = [&] {
    if (begin == rule.BlankMaskText || end == rule.BlankMaskText) return true;
    return rule.UseDiscard &&
           (TrimBlanks(begin) == rule.Discard || TrimBlanks(end) == rule.Discard);
  };
  switch (rule.ValueType) {
    case vt_String:
    case vt_Time:
      return !guarded() && begin > end;
    case vt_Number:
      return ReadRangeInteger(begin) > ReadRangeInteger(end);
    case vt_Date:
      if (!rule.AutoChangeDateSite || guarded()) return false;
      if (rule.DateType == dt_NoneCare) return begin > end;
      return ReadRangeDate(begin, rule.DateType, rule.DateSign, rule.BlankMaskText) >
             ReadRangeDate(end, rule.DateType, rule.DateSign, rule.BlankMaskText);
    case vt_Float:
      return StrToFloatDef(TrimBlanks(begin), 0) > StrToFloatDef(TrimBlanks(end), 0);
    case vt_OtherMask:
      return false;
  }
  return false;
}
