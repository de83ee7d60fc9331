// Schemes: the condition schemes of a program — named option sets of one user, kept by the job
// server ("LoadTable", "InsertConTable", "DeleteConTable", "ChangeConName" and the records of
// the provider "pvdConSave": NCONDITION name, CREATOR user, PROGRAMME program, CREATE_DATE
// "yyyymmdd", SCONDITION paths, VCONDITION values). The scheme panel, its list and handlers are
// members of the option window (framework/BaseGene.h); this header holds the rules they follow.
#pragma once

#include <string>
#include <string_view>
#include <vector>

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
