#include "framework/FieldChecks.h"

#include <cstdio>

#include "framework/ServerAccess.h"
#include "support/LibStrs.h"

namespace {

std::string YearMask(int code) {
  if (code >= 1 && code <= 3) return "9999";
  if (code == 4) return "99";
  if (code == 5) return "999";
  return std::string();
}

std::string YearBlank(int code) { return std::string(YearMask(code).size(), ' '); }

}  // namespace

std::string DateEditMaskOf(int formatCode, std::string_view separator) {
  const std::string s(separator);
  if (formatCode == 2 || formatCode == 3) return "99" + s + "99" + s + YearMask(formatCode) + ";1; ";
  return YearMask(formatCode) + s + "99" + s + "99" + ";1; ";
}

std::string DateBlankTextOf(int formatCode, std::string_view separator) {
  const std::string s(separator);
  if (formatCode == 2 || formatCode == 3) return "  " + s + "  " + s + YearBlank(formatCode);
  return YearBlank(formatCode) + s + "  " + s + "  ";
}

std::string DateTextToYmdOf(std::string_view text, int formatCode, std::string_view separator) {
  const std::string trimmed = detail::TrimText(text);
  if (trimmed.empty() || trimmed == detail::TrimText(DateBlankTextOf(formatCode, separator))) {
    return std::string();
  }
  std::string rest = trimmed;
  int fields[3];
  for (int& field : fields) {
    field = detail::StrToIntDef(detail::TrimText(TakeToken(rest, separator)), -1);
    if (field == -1) return std::string(text);
  }
  int year = 0, month = 0, day = 0;
  switch (formatCode) {
    case 1: year = fields[0], month = fields[1], day = fields[2]; break;
    case 2: year = fields[2], month = fields[0], day = fields[1]; break;
    case 3: year = fields[2], month = fields[1], day = fields[0]; break;
    case 4:
    case 5: year = fields[0] + 1911, month = fields[1], day = fields[2]; break;
    default: return std::string();
  }
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%d%.2d%.2d", year, month, day);
  return buffer;
}

bool IsListedName(std::string_view list, std::string_view name) {
  return !name.empty() && list.find(name) != std::string_view::npos;
}

bool TRequiredItem::Examined() const {
  if (detail::UpperText(Flag) == "N") return false;
  // A flag that reads as a number marks an item that is only coloured (two different fallbacks
  // agree only when the text was read).
  const bool isNumber = detail::StrToIntDef(Flag, 1) == detail::StrToIntDef(Flag, 2);
  return !isNumber;
}

std::vector<TRequiredItem> ParseRequiredFields(std::string_view list) {
  std::vector<TRequiredItem> items;
  std::string rest(list);
  while (!rest.empty()) {
    const std::string item = TakeToken(rest, ",");
    TRequiredItem parsed;
    parsed.Name = detail::TrimText(GetToken(item, ";", 1));
    if (parsed.Name.empty()) continue;
    parsed.Flag = detail::TrimText(GetToken(item, ";", 2));
    parsed.Part = detail::StrToIntDef(detail::TrimText(GetToken(item, ";", 3)), 0);
    if (parsed.Part < 0 || parsed.Part > 3) parsed.Part = 0;
    items.push_back(std::move(parsed));
  }
  return items;
}
