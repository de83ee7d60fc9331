// LibStrs: the free functions every window of the module uses for its texts, dates and values.
//
// Text fields cut option texts at separators; date texts and formats turn date values into the
// text of a user's date format and back; the variant conversions turn 8-bit texts into wide
// texts before they cross the application-server boundary and back after. The functions keep
// no state and never show anything: what they cannot read gives 0, "" or the input unchanged.
//
// Texts are 8-bit GBK (code page 936). Searches for separators and patterns walk the text by
// characters, so a match never starts on the second byte of a two-byte character; positions
// and lengths count bytes. Date values are automation day numbers (automation/DateTime.h), the
// value 0 standing for "no date". Date format codes:
//   1 year-month-day, 2 month-day-year, 3 day-month-year (Gregorian years, at least 4 digits),
//   4 and 5 year-month-day with the year of the Republic of China (Gregorian year - 1911) of at
//   least 2 or 3 digits. Months and days always have at least 2 digits.
//
// Property access by name lives with the toolkit; the log writer used by the variant
// conversions is support/Logs.h.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "automation/Variant.h"

// ---- Text fields ------------------------------------------------------------------------------

// The index-th field (from 1) of `text` split at `separator` (of any length). The last field is
// what follows the last separator, so a text ending with the separator has an empty last field.
// An index below 1 or beyond the last field, and an empty separator for any index but 1, give "".
std::string GetToken(std::string_view text, std::string_view separator, int index);

// The number of fields: 1 + the non-overlapping occurrences of `separator`; 0 for an empty text.
int CountTokens(std::string_view text, std::string_view separator);

// Returns the part of `text` before the first separator and leaves in `text` what follows that
// separator; without a separator returns the whole text and leaves `text` empty.
std::string TakeToken(std::string& text, std::string_view separator);

// Replaces `pattern` by `replacement` until no occurrence is left, each time taking the first
// occurrence and searching again from the start of the text, so that occurrences formed by a
// replacement are replaced too ("\r\r\n\n" without "\r\n" gives ""). When pattern and replacement
// are equal without regard to letter case, or the pattern is empty, nothing is replaced. When
// the replacement itself contains the pattern, searching again would never end: then each
// occurrence of the original text is replaced once, left to right, and the inserted text is not
// searched. With `trim` the result loses blanks and control characters at both ends.
std::string ReplaceAll(std::string_view text, std::string_view pattern,
                       std::string_view replacement, bool trim);

// `widthAndFill` holds the width and, optionally, a fill character code (its low byte; default
// a blank). A text shorter than the width is filled on the right to exactly the width; a longer
// one is returned unchanged, never cut. An empty list leaves the text as it is.
std::string PadRight(std::string_view text, std::span<const int> widthAndFill);
std::string PadRight(std::string_view text, std::initializer_list<int> widthAndFill);

// prefix, #3, the text of list[0], #3, then list[1] .. list[n] each followed by #3, where n is
// the count held in list[0]. 8-bit texts (the prefix and text elements) are read as GBK.
// Throws automation::Error when `list` is not an array, list[0] is not a count or the array
// holds fewer than n elements after it.
std::u16string JoinParamList(std::string_view prefix, const automation::Variant& list);

// ---- Dates ------------------------------------------------------------------------------------

// The full date in the order of the format code, its fields joined by the first character of
// `separator` (none when it is empty): "2004/01/02" (1), "01/02/2004" (2), "02/01/2004" (3),
// "93/01/02" (4), "093/01/02" (5). Date 0, a value outside the years 1..9999 or another code → "".
std::string FormatDateSep(int formatCode, std::string_view separator, double date);

// Year and month in the order of the format code: "2004/03" (1), "03/2004" (2 and 3),
// "93/03" (4), "093/03" (5). Date 0, a value outside the years 1..9999 or another code → "".
std::string FormatYearMonthSep(int formatCode, std::string_view separator, double date);

// The date value of a text written in the format code with `separator` between its three
// fields (each trimmed; numbers without padding are read too: "93/1/2" with code 4). A day
// beyond the end of its month rolls into the next month ("2004/02/31" → 2 March 2004). Gives 0
// for an empty text, a field that is not a number above 0, a month outside 1..12, a year
// outside 1..9999 or a code outside 1..5.
double ParseDateSep(std::string_view text, int formatCode, std::string_view separator);

// The date value of an 8-character "yyyymmdd" text; 0 for any other length or a date that does
// not exist.
double DateFromYmdText(std::string_view text);

// Yes for an empty text; otherwise yes only when characters 1-4, 5-6 and 7-8 (shorter fields
// for a shorter text) form a real date and the text, compared as plain text, lies between
// "17530101" and "99991231".
bool IsValidYmdText(std::string_view text);

// ---- Numbers, variants and addresses -----------------------------------------------------------

// The text read as a decimal number: leading blanks, an optional sign, digits with "." as the
// decimal point and an optional exponent, nothing after. Anything else, and a number too large
// for a double, gives `defaultValue`. Independent of the process locale.
double StrToFloatDef(std::string_view text, double defaultValue);

// A copy of `a` when the condition holds, else of `b`.
automation::Variant VarIif(bool condition, const automation::Variant& a,
                           const automation::Variant& b);

// Yes when the variant is empty or null.
bool VarIsNullOrEmpty(const automation::Variant& value);

// Yes only for the text "127.0.0.1" exactly.
bool IsLoopbackAddress(std::string_view text);

// The user's temporary folder ($TMPDIR when set and not empty, else /tmp) as an absolute path
// with a trailing "/"; "" when that folder does not exist.
std::string GetTempDirectory();

// The Chinese caption (GBK) of a standard message-box button by its exact name ("Yes", "No",
// "OK", "Cancel", "Abort", "Retry", "Ignore", "All", "NoToAll", "YesToAll", "Help"); any other
// name comes back unchanged. "&" marks the accelerator letter.
std::string DialogButtonCaption(std::string_view buttonName);

// ---- Wide-text conversion -----------------------------------------------------------------------

// The wide text as 8-bit text in the code page; a code page that cannot be converted falls back
// to the system code page (os::SystemCodePage).
std::string WideToAnsiCp(std::u16string_view text, int codePage);

// The 8-bit text in the code page as wide text; when that conversion fails or gives nothing,
// the system code page is used instead.
std::u16string AnsiToWideCp(std::string_view text, int codePage);

// Variants on their way back from the application server. Empty and null come back as they
// are; an array goes through VarArrayWideToAnsi; a single 8-bit or wide text becomes 8-bit text
// through WideToAnsiCp (an 8-bit text being read with the system code page first); any other
// value is unchanged. An error on the way gives the input unchanged and one line
// "LINE[2735] <message>" in the daily alert log "libstrs".
automation::Variant VarWideToAnsi(const automation::Variant& value, int codePage);

// Variants on their way to the application server: the inverse of VarWideToAnsi. A single text
// becomes wide text through AnsiToWideCp (a wide text being written with the system code page
// first); an array goes through VarArrayAnsiToWide. An error gives the input unchanged and the
// line "LINE[115] <message>" in the daily alert log "libstrs".
automation::Variant VarAnsiToWide(const automation::Variant& value, int codePage);

// Copies of an array with its text elements converted, walking every cell of a one- or
// two-dimensional array and every array held in a cell, at any depth up to 64 levels.
// Element rule: what crosses to the server is wide text, what comes back is 8-bit GBK text.
// VarArrayAnsiToWide turns each 8-bit text element into wide text (AnsiToWideCp) and leaves
// wide texts as they are; VarArrayWideToAnsi turns each wide text element into 8-bit text
// (WideToAnsiCp) and leaves 8-bit texts as they are. Other elements stay. A value that is not
// an array comes back unchanged; arrays nested deeper than 64 levels throw automation::Error.
automation::Variant VarArrayWideToAnsi(const automation::Variant& array, int codePage);
automation::Variant VarArrayAnsiToWide(const automation::Variant& array, int codePage);
