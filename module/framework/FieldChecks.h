// FieldChecks: the date and required-field rules of the option window.
//
// Date fields hold dates in the company's date format (format code 1 year-month-day, 2
// month-day-year, 3 day-month-year, 4 and 5 year-month-day in the Minguo calendar with two or
// three year digits; the separator from the system information). Required fields are listed as
// items "Name;Flag;Part" separated by ","; a Flag "N" (or a number) keeps the item from blocking
// confirmation, Part picks which parts of a selection panel are marked (0 all, 1 begin edit,
// 2 end edit, 3 list). The window's members that hook the controls and mark them live in
// framework/BaseGene.h; this header holds the rules they follow, free of any window.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "toolkit/Graphics.h"

// The colour of required fields: light yellow (red FF, green FF, blue AF).
inline constexpr toolkit::TColor RequiredFieldColour = toolkit::TColor(0xAFFFFF);

// The masked-edit mask of a date field: "99" S "99" S Y ";1; " for codes 2 and 3, otherwise
// Y S "99" S "99" ";1; ", where Y is "9999" (codes 1-3), "99" (4), "999" (5) or "" (others).
std::string DateEditMaskOf(int formatCode, std::string_view separator);

// What an empty date edit shows: two blanks, S, two blanks, S, B for codes 2 and 3, otherwise
// B, S, two blanks, S, two blanks, where B is four blanks (codes 1-3), two (4), three (5) or ""
// (others).
std::string DateBlankTextOf(int formatCode, std::string_view separator);

// A date text of the window turned into "yyyymmdd": "" for an empty or blank text; the text
// unchanged when one of its three fields is not a number; fields taken in the order of the
// format code, Minguo years plus 1911; "" for an unknown code.
std::string DateTextToYmdOf(std::string_view text, int formatCode, std::string_view separator);

// Whether the name occurs anywhere in the date-field list text (a plain text search, so a name
// that is part of a listed name counts too).
bool IsListedName(std::string_view list, std::string_view name);

// One required-field item.
struct TRequiredItem {
  std::string Name;
  std::string Flag;
  int Part = 0;  // 0..3; anything else reads as 0
  // Whether the item is examined on confirmation: not for Flag "N" (any case) or a number.
  bool Examined() const;
};

// The items of a required-field list ("me01;Y;0,sp1;N;1"), names trimmed; empty items skipped.
std::vector<TRequiredItem> ParseRequiredFields(std::string_view list);
