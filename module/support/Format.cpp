#include "support/Format.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "os/CodePage.h"

using automation::Variant;
using automation::VarType;

namespace {

constexpr int kMaxNumber = 65535;  // largest width, precision or index a format may give
constexpr int kMaxFloatDigits = 18;

// A finite double as decimal digits: value = 0.<digits> x 10^exponent, no trailing zeros in
// `digits`, which is empty for zero.
struct Decimal {
  bool negative = false;
  std::string digits;
  int exponent = 0;

  bool IsZero() const { return digits.empty(); }

  void StripZeros() {
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    if (digits.empty()) {
      exponent = 0;
      negative = false;
    }
  }

  // Keeps the first `keep` digits, rounding half away from zero on the digit after them.
  void RoundAt(int keep) {
    if (keep >= static_cast<int>(digits.size())) return;
    if (keep < 0) {
      digits.clear();
      StripZeros();
      return;
    }
    const bool up = digits[static_cast<size_t>(keep)] >= '5';
    digits.resize(static_cast<size_t>(keep));
    if (up) {
      int i = keep - 1;
      while (i >= 0 && digits[static_cast<size_t>(i)] == '9')
        digits[static_cast<size_t>(i--)] = '0';
      if (i < 0) {
        digits.insert(digits.begin(), '1');
        ++exponent;
      } else {
        ++digits[static_cast<size_t>(i)];
      }
    }
    StripZeros();
  }

  char DigitAt(int i) const {
    return i >= 0 && i < static_cast<int>(digits.size()) ? digits[static_cast<size_t>(i)] : '0';
  }
};

// The 18 significant digits of the exact binary value, as the system's formatter takes them.
Decimal ToDecimal(double value) {
  Decimal d;
  d.negative = std::signbit(value);
  const double magnitude = std::fabs(value);
  if (magnitude == 0) {
    d.negative = false;
    return d;
  }
  char buffer[64];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                     std::chars_format::scientific, kMaxFloatDigits - 1);
  const std::string_view text(buffer, static_cast<size_t>(written.ptr - buffer));
  const size_t e = text.find('e');
  d.digits.assign(1, text[0]);
  if (e > 2) d.digits.append(text.substr(2, e - 2));
  std::string_view exponent = text.substr(e + 1);
  if (!exponent.empty() && exponent[0] == '+') exponent.remove_prefix(1);
  int exp10 = 0;
  std::from_chars(exponent.data(), exponent.data() + exponent.size(), exp10);
  d.exponent = exp10 + 1;
  d.StripZeros();
  return d;
}

std::string Sign(const Decimal& d) {
  return d.negative ? "-" : "";
}

std::string ExponentText(int exp10, bool plus) {
  std::string digits = std::to_string(std::abs(exp10));
  if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
  return std::string("E") + (exp10 < 0 ? "-" : (plus ? "+" : "")) + digits;
}

// "-d.dddE+ddd" with `precision` digits in all.
std::string ScientificForm(Decimal d, int precision) {
  d.RoundAt(precision);
  std::string mantissa(1, d.DigitAt(0));
  if (precision > 1) {
    mantissa += '.';
    for (int i = 1; i < precision; ++i) mantissa += d.DigitAt(i);
  }
  return Sign(d) + mantissa + ExponentText(d.IsZero() ? 0 : d.exponent - 1, true);
}

// "-ddd.ddd" with `decimals` decimals, "," between thousands when asked.
std::string FixedForm(Decimal d, int decimals, bool thousands) {
  d.RoundAt(d.exponent + decimals);
  std::string whole;
  if (d.exponent <= 0)
    whole = "0";
  else
    for (int i = 0; i < d.exponent; ++i) whole += d.DigitAt(i);
  if (thousands)
    for (int at = static_cast<int>(whole.size()) - 3; at > 0; at -= 3)
      whole.insert(static_cast<size_t>(at), 1, ',');
  std::string result = Sign(d) + whole;
  if (decimals > 0) {
    result += '.';
    for (int i = 0; i < decimals; ++i) result += d.DigitAt(d.exponent + i);
  }
  return result;
}

std::string GeneralForm(Decimal d, int precision) {
  d.RoundAt(precision);
  if (d.IsZero()) return "0";
  if (d.exponent > precision || d.exponent < -3) {
    std::string mantissa(1, d.digits[0]);
    if (d.digits.size() > 1) mantissa += "." + d.digits.substr(1);
    return Sign(d) + mantissa + ExponentText(d.exponent - 1, false);
  }
  return FixedForm(d, std::max(0, static_cast<int>(d.digits.size()) - d.exponent), false);
}

std::string FloatText(char type, double value, int precision) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  const Decimal d = ToDecimal(value);
  auto clamp = [](int p, int low, int fallback) {
    if (p < 0) return fallback;
    return std::min(std::max(p, low), kMaxFloatDigits);
  };
  switch (type) {
    case 'E':
      return ScientificForm(d, clamp(precision, 1, 15));
    case 'G':
      return GeneralForm(d, clamp(precision, 1, 15));
    default:
      break;
  }
  // Fixed forms: too many integer digits for the 18 the formatter keeps → scientific.
  if (d.exponent > kMaxFloatDigits) return ScientificForm(d, 15);
  return FixedForm(d, clamp(precision, 0, 2), type != 'F');
}

std::string ZeroPadded(std::string digits, int precision) {
  if (precision > static_cast<int>(digits.size()))
    digits.insert(0, static_cast<size_t>(precision) - digits.size(), '0');
  return digits;
}

std::string Hex(uint32_t value) {
  char buffer[16];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, 16);
  std::string text(buffer, written.ptr);
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// At most `limit` bytes of the text, never the first byte of a two-byte character alone.
std::string CutText(std::string text, int limit) {
  if (limit < 0 || text.size() <= static_cast<size_t>(limit)) return text;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t n =
        os::IsLeadByte(static_cast<unsigned char>(text[pos]), os::CP_GBK) && pos + 1 < text.size()
            ? 2
            : 1;
    if (pos + n > static_cast<size_t>(limit)) break;
    pos += n;
  }
  text.resize(pos);
  return text;
}

class Formatter {
 public:
  Formatter(std::string_view format, std::span<const Variant> args)
      : format_(format), args_(args) {}

  std::string Run() {
    std::string out;
    while (pos_ < format_.size()) {
      const char c = format_[pos_];
      if (c != '%') {
        const size_t n =
            os::IsLeadByte(static_cast<unsigned char>(c), os::CP_GBK) && pos_ + 1 < format_.size()
                ? 2
                : 1;
        out.append(format_.substr(pos_, n));
        pos_ += n;
        continue;
      }
      ++pos_;
      if (pos_ < format_.size() && format_[pos_] == '%') {
        out += '%';
        ++pos_;
        continue;
      }
      out += Placeholder();
    }
    return out;
  }

 private:
  [[noreturn]] void Invalid() const {
    throw automation::Error("Format '" + std::string(format_) +
                            "' invalid or incompatible with argument");
  }

  const Variant& NextArgument() {
    if (next_ < 0 || static_cast<size_t>(next_) >= args_.size())
      throw automation::Error("No argument for format '" + std::string(format_) + "'");
    return args_[static_cast<size_t>(next_++)];
  }

  int32_t IntegerArgument() {
    const Variant& arg = NextArgument();
    if (arg.Type() != VarType::Integer) Invalid();
    return arg.AsInteger();
  }

  // A decimal number or "*" at the current position; false when there is neither.
  bool Number(int& value) {
    if (pos_ >= format_.size()) return false;
    if (format_[pos_] == '*') {
      ++pos_;
      value = IntegerArgument();
      if (value > kMaxNumber || value < -kMaxNumber) Invalid();
      return true;
    }
    if (!std::isdigit(static_cast<unsigned char>(format_[pos_]))) return false;
    long n = 0;
    while (pos_ < format_.size() && std::isdigit(static_cast<unsigned char>(format_[pos_]))) {
      n = n * 10 + (format_[pos_++] - '0');
      if (n > kMaxNumber) Invalid();
    }
    value = static_cast<int>(n);
    return true;
  }

  std::string Placeholder() {
    int first = 0;
    bool haveFirst = Number(first);
    if (haveFirst && pos_ < format_.size() && format_[pos_] == ':') {
      if (first < 0) Invalid();
      next_ = first;
      ++pos_;
      haveFirst = false;
    }
    bool left = false;
    if (!haveFirst && pos_ < format_.size() && format_[pos_] == '-') {
      left = true;
      ++pos_;
    }
    int width = 0;
    if (haveFirst)
      width = first;
    else
      Number(width);
    if (width < 0) {
      left = true;
      width = -width;
    }
    int precision = -1;
    if (pos_ < format_.size() && format_[pos_] == '.') {
      ++pos_;
      if (!Number(precision)) precision = 0;
      if (precision < 0) precision = -1;
    }
    if (pos_ >= format_.size()) Invalid();
    const char type = static_cast<char>(std::toupper(static_cast<unsigned char>(format_[pos_++])));
    std::string text = Convert(type, precision);
    if (static_cast<int>(text.size()) < width) {
      const std::string blanks(static_cast<size_t>(width) - text.size(), ' ');
      text = left ? text + blanks : blanks + text;
    }
    return text;
  }

  std::string Convert(char type, int precision) {
    switch (type) {
      case 'D': {
        const int64_t value = IntegerArgument();
        const std::string digits =
            ZeroPadded(std::to_string(value < 0 ? -value : value), precision);
        return value < 0 ? "-" + digits : digits;
      }
      case 'U':
        return ZeroPadded(std::to_string(static_cast<uint32_t>(IntegerArgument())), precision);
      case 'X':
        return ZeroPadded(Hex(static_cast<uint32_t>(IntegerArgument())), precision);
      case 'P':
        return ZeroPadded(Hex(static_cast<uint32_t>(IntegerArgument())), 8);
      case 'E':
      case 'F':
      case 'G':
      case 'N':
      case 'M': {
        const Variant& arg = NextArgument();
        if (arg.Type() != VarType::Double && arg.Type() != VarType::Date) Invalid();
        return FloatText(type, arg.AsDouble(), precision);
      }
      case 'S': {
        const Variant& arg = NextArgument();
        std::string text;
        try {
          text = arg.AsAnsi();
        } catch (const automation::Error&) {
          Invalid();
        }
        return CutText(std::move(text), precision);
      }
      default:
        Invalid();
    }
  }

  std::string_view format_;
  std::span<const Variant> args_;
  size_t pos_ = 0;
  int next_ = 0;
};

}  // namespace

std::string Format(std::string_view format, std::span<const Variant> args) {
  return Formatter(format, args).Run();
}

std::string Format(std::string_view format, std::initializer_list<Variant> args) {
  return Format(format, std::span<const Variant>(args.begin(), args.size()));
}
