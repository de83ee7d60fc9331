#include "framework/OptionValues.h"

#include "framework/ServerAccess.h"
#include "support/LibStrs.h"

namespace {

const std::string kField(1, SchemeFieldMark);
const std::string kRow(1, SchemeRowMark);
const std::string kColumn(1, SchemeColumnMark);

}  // namespace

bool SplitPath(std::string_view Entry, std::string& Component, std::string& Property) {
  const size_t dot = Entry.find('.');
  if (dot == std::string_view::npos) return false;
  Component = detail::TrimText(Entry.substr(0, dot));
  Property = detail::TrimText(Entry.substr(dot + 1));
  return !Component.empty() && !Property.empty();
}

std::string ListTextOf(const std::vector<TSchemeRow>& Rows) {
  std::string text;
  for (const TSchemeRow& row : Rows) {
    if (!row.empty()) text += row[0];
    for (size_t i = 1; i < row.size(); ++i) text += kColumn + row[i];
    text += kRow;
  }
  return text;
}

std::vector<TSchemeRow> ListRowsOf(std::string_view Value, int FieldIndex) {
  std::vector<TSchemeRow> rows;
  const std::string list = GetToken(Value, kField, FieldIndex);
  const int count = CountTokens(list, kRow);
  for (int i = 1; i <= count; ++i) {
    const std::string part = GetToken(list, kRow, i);
    if (part.empty()) continue;  // the part after the last row mark has no columns
    TSchemeRow row;
    const int columns = CountTokens(part, kColumn);
    for (int c = 1; c <= columns; ++c) row.push_back(GetToken(part, kColumn, c));
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string RangeValueText(std::string_view Begin, std::string_view End) {
  return "sp_Range" + kField + std::string(Begin) + kField + std::string(End);
}

std::string DiscreteValueText(const std::vector<TSchemeRow>& Rows) {
  return "sp_Discrete" + kField + ListTextOf(Rows);
}

std::string UserChoiceValueText(bool RangeChosen, std::string_view Begin, std::string_view End,
                                const std::vector<TSchemeRow>& Rows) {
  if (RangeChosen) {
    return "sp_UserChoice" + kField + "True" + kField + std::string(Begin) + kField +
           std::string(End);
  }
  return "sp_UserChoice" + kField + "False" + kField + ListTextOf(Rows);
}

std::string SchemeField(std::string_view Value, int Index) {
  return GetToken(Value, kField, Index);
}
