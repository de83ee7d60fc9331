// The range check of the selection panel (controls/SelectPnl.h): when the focus leaves the
// panel, its begin and end texts are trimmed and, when the begin value is the greater one under
// the panel's value type, exchanged; and the reading of date texts in the panel's date types.
// Plain functions on texts, so that the rules can be followed without a window.
//
// Texts are the module's 8-bit GBK texts; the date separator is searched for by characters, so
// it never matches inside a two-byte character. Date values are automation day numbers
// (automation/DateTime.h), 0 standing for "no date".
#pragma once

#include <string>
#include <string_view>

#include "controls/SelectTypes.h"

// The panel's settings the range check reads.
struct TRangeRule {
  TValueType ValueType = vt_String;
  bool AutoChangeDateSite = true;
  TDateType DateType = dt_NoneCare;
  std::string DateSign = "/";
  std::string Discard;
  bool UseDiscard = false;
  std::string EditMask;
  // The text an empty edit shows under EditMask ("" while there is no mask).
  std::string BlankMaskText;
};

// The text without leading and trailing blanks (and other characters up to the space).
std::string TrimBlanks(std::string_view text);

// The text read as a 32-bit integer: leading blanks, an optional sign, decimal digits (or "$"
// and hexadecimal digits), nothing after. Anything else, and a number out of range, reads as 0.
int ReadRangeInteger(std::string_view text);

// The text read as a date of the date type with `sign` between its parts; 0 when it is no
// date. An empty text, or one equal to the trimmed blank mask text, is 0. A text with one
// separator is a month without day and reads as the first of that month; a text with two is
// year, month and day in the type's order; any other count, parts that are no integers, a date
// that does not exist and dt_NoneCare give 0.
double ReadRangeDate(std::string_view text, TDateType type, std::string_view sign,
                     std::string_view blankMaskText);

// Whether the check trims both texts first: when EditMask is empty or does not begin with "!".
bool RangeTrimsTexts(const TRangeRule& rule);

// Whether the begin and end texts (as the edits read after the trimming) are to be exchanged.
// Never while either text is empty. By value type:
//   vt_String, vt_Time  begin greater byte-wise, unless guarded
//   vt_Number           begin greater as an integer (ReadRangeInteger)
//   vt_Date             only with AutoChangeDateSite and unless guarded: begin greater
//                       byte-wise with dt_NoneCare, else its date later (ReadRangeDate)
//   vt_Float            begin greater as a decimal number (text that is no number reads as 0)
//   vt_OtherMask        never
// Guarded: either text equals the blank mask text, or UseDiscard is on and either trimmed text
// equals Discard.
bool RangeNeedsExchange(const TRangeRule& rule, std::string_view begin, std::string_view end);
