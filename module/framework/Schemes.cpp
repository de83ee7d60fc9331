#include "framework/Schemes.h"

#include "framework/ServerAccess.h"
#include "support/LibStrs.h"

std::vector<TSchemeRecord> SchemeRecordsOf(const automation::Variant& Answer) {
  std::vector<TSchemeRecord> records;
  if (VarIsNullOrEmpty(Answer)) return records;
  if (automation::VarArrayDimCount(Answer) != 2) {
    throw automation::Error("The scheme records are not a table");
  }
  const automation::VariantArray& table = Answer.Array();
  const int header = table.LowBound(1);
  std::string* fields[6] = {};
  const char* names[6] = {"NCONDITION", "CREATOR", "PROGRAMME", "CREATE_DATE", "SCONDITION",
                          "VCONDITION"};
  int columns[6] = {-1, -1, -1, -1, -1, -1};
  for (int c = table.LowBound(2); c <= table.HighBound(2); ++c) {
    const std::string name = detail::UpperText(automation::VarToStr(table.At(header, c)));
    for (int k = 0; k < 6; ++k) {
      if (name == names[k]) columns[k] = c;
    }
  }
  for (int r = header + 1; r <= table.HighBound(1); ++r) {
    TSchemeRecord record;
    fields[0] = &record.Name;
    fields[1] = &record.Creator;
    fields[2] = &record.Programme;
    fields[3] = &record.CreateDate;
    fields[4] = &record.Paths;
    fields[5] = &record.Values;
    for (int k = 0; k < 6; ++k) {
      if (columns[k] >= 0) *fields[k] = automation::VarToStr(table.At(r, columns[k]));
    }
    records.push_back(std::move(record));
  }
  return records;
}

std::string SchemeRenameProblem(std::string_view New, const std::vector<std::string>& Others) {
  if (detail::TrimText(New).empty()) return "sProjNameEmpty";
  if (New.size() > SchemeNameLimit) return "sProjNameError";
  for (const std::string& other : Others) {
    if (other == New) return "sProjNameExist";
  }
  return std::string();
}
