// Schemes: the condition schemes of a program — named option sets of one user, kept by the job
// server ("LoadTable", "InsertConTable", "DeleteConTable", "ChangeConName" and the records of
// the provider "pvdConSave": NCONDITION name, CREATOR user, PROGRAMME program, CREATE_DATE
// "yyyymmdd", SCONDITION paths, VCONDITION values). The scheme panel, its list and handlers are
// members of the option window (framework/BaseGene.h); this header holds the rules they follow.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "automation/Variant.h"

// The job server's provider of scheme records, asked with AS_GetRecords(provider) after a
// LoadTable([user, program]) chose the records of one user and program.
inline constexpr const char* SchemeProvider = "pvdConSave";

// A scheme record as the provider delivers it.
struct TSchemeRecord {
  std::string Name;        // NCONDITION, database code page
  std::string Creator;     // CREATOR
  std::string Programme;   // PROGRAMME
  std::string CreateDate;  // CREATE_DATE "yyyymmdd"
  std::string Paths;       // SCONDITION
  std::string Values;      // VCONDITION, database code page
};

// The records of the provider's answer: a two-dimensional array whose row 0 names the columns
// (letter case ignored, in any order, further columns ignored) and whose further rows are the
// records. An empty answer has no records; an answer of another shape raises automation::Error.
std::vector<TSchemeRecord> SchemeRecordsOf(const automation::Variant& Answer);

// The longest scheme name, in bytes of the 8-bit text (a Chinese character counts two).
inline constexpr size_t SchemeNameLimit = 20;

// The local-text key of the reason a rename to `New` is refused: "sProjNameEmpty" (blank),
// "sProjNameError" (longer than 20 bytes, blanks counted), "sProjNameExist" (another scheme of
// the list has exactly that name, letter case counting); "" when the rename may go ahead.
std::string SchemeRenameProblem(std::string_view New, const std::vector<std::string>& Others);

// The view styles in the order the view button cycles through them, and the published handler
// of each ("ViewIcon" + "Execute", ...).
inline constexpr const char* SchemeViewHandlers[4] = {"ViewIconExecute", "ViewSmallIconExecute",
                                                      "ViewListExecute", "ViewReportExecute"};
