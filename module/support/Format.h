// Format: the message texts' formatter, placeholders in the manner of the system's own Format.
//
// A placeholder is "%" [index ":"] ["-"] [width] ["." precision] type, the type letter in upper
// or lower case; "%%" writes one "%". Index, width and precision are decimal numbers or "*",
// which takes the value from the next argument (an integer). An index picks the argument
// (from 0) and the following placeholders continue after it. Width pads with blanks on the left,
// or on the right after "-" (a negative "*" width also pads on the right); widths and precisions
// above 65535 make the format invalid.
//
//   d  integer, precision = at least that many digits, zeros in front ("%.3d" of -5 → "-005")
//   u  integer read as unsigned 32 bits, precision as for d
//   x  integer in upper-case hexadecimal (32 bits, negative as two's complement), precision as d
//   p  integer as 8 upper-case hexadecimal digits
//   e  float "-d.dddE+ddd": precision = all digits (default 15, 1..18), exponent of 3 digits
//   f  float "-ddd.dd": precision = decimals (default 2, up to 18)
//   g  float in the shorter of fixed and scientific form with precision significant digits
//      (default 15, 1..18), trailing zeros removed; scientific when the value is below 0.0001
//      or has more integer digits than the precision, then written "1.5E020" / "1E-005"
//   n  float with "," between thousands and precision decimals (default 2): "-1,234,567.89"
//   m  money: written as n, without a currency sign ("1,234.50", "-0.75")
//   s  any value that reads as text (automation::Variant::AsAnsi); precision = at most that
//      many bytes, never cutting a two-byte character in half
//
// Floats are the double and date arguments; they are rounded half away from zero on their
// 18-digit decimal form. A float of 1E18 or more for f, n or m is written as e. Results never
// carry a minus sign for a value that rounds to zero; NAN, INF and -INF are written as such.
// Integers are 32-bit integer arguments only. Output does not depend on the process locale.
//
// A placeholder whose argument does not fit (text for d, a float for d, an integer for f, ...)
// or a malformed format raises automation::Error "Format '<format>' invalid or incompatible
// with argument"; a placeholder without its argument raises "No argument for format
// '<format>'". GBK bytes of the format and of text arguments pass through untouched.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "automation/Variant.h"

// The format with its placeholders replaced by the arguments (see above).
std::string Format(std::string_view format, std::span<const automation::Variant> args);
std::string Format(std::string_view format, std::initializer_list<automation::Variant> args);
