#include "automation/Variant.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "automation/DateTime.h"
#include "automation/Dispatch.h"
#include "os/CodePage.h"

namespace automation {
namespace {

std::string TrimBlanks(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
  return std::string(text.substr(b, e - b));
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// A whole text read as a decimal number ("." as decimal point, sign and exponent allowed),
// whatever the process locale says about decimal points.
bool ParseNumber(std::string_view text, double& value) {
  std::string t = TrimBlanks(text);
  if (t.empty()) return false;
  for (char c : t)
    if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' ||
          c == 'e' || c == 'E'))
      return false;
  const char* begin = t.c_str();
  if (*begin == '+') ++begin;  // from_chars takes no plus sign
  const char* end = t.c_str() + t.size();
  auto [ptr, ec] = std::from_chars(begin, end, value);
  return ec == std::errc() && ptr == end;
}

// Date texts written by AsAnsi, with "/" or "-": "YYYY/MM/DD[ hh:nn[:ss]]".
bool ParseDateText(std::string_view text, double& value) {
  int y = 0, m = 0, d = 0, hh = 0, nn = 0, ss = 0;
  char s1 = 0, s2 = 0;
  const std::string t = TrimBlanks(text);
  int consumed = 0;
  if (std::sscanf(t.c_str(), "%d%c%d%c%d%n", &y, &s1, &m, &s2, &d, &consumed) < 5) return false;
  if (s1 != s2 || (s1 != '/' && s1 != '-')) return false;
  if (!TryEncodeDate(y, m, d, value)) return false;
  std::string rest = TrimBlanks(t.substr(static_cast<size_t>(consumed)));
  if (rest.empty()) return true;
  int n = std::sscanf(rest.c_str(), "%d:%d:%d", &hh, &nn, &ss);
  if (n < 2 || !IsValidTime(hh, nn, ss, 0)) return false;
  value += EncodeTime(hh, nn, ss, 0);
  return true;
}

// Banker's rounding, as automation conversions of floats to integers do.
bool RoundToInt32(double d, int32_t& out) {
  const double r = std::nearbyint(d);
  if (!std::isfinite(r) || r < std::numeric_limits<int32_t>::min() ||
      r > std::numeric_limits<int32_t>::max())
    return false;
  out = static_cast<int32_t>(r);
  return true;
}

std::string FormatDouble(double d) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::general, 15);
  std::string s(buf, ec == std::errc() ? end : buf);
  // Exponent in the automation form: "1.5E20", "1E-5".
  const size_t e = s.find('e');
  if (e != std::string::npos) {
    std::string mant = s.substr(0, e);
    std::string exp = s.substr(e + 1);
    bool neg = !exp.empty() && exp[0] == '-';
    if (!exp.empty() && (exp[0] == '-' || exp[0] == '+')) exp.erase(0, 1);
    while (exp.size() > 1 && exp[0] == '0') exp.erase(0, 1);
    s = mant + "E" + (neg ? "-" : "") + exp;
  }
  return s;
}

std::string FormatDate(double day) {
  int y, m, d, hh, nn, ss, ms;
  DecodeDate(day, y, m, d);
  DecodeTime(day, hh, nn, ss, ms);
  char buf[64];
  if (hh || nn || ss)
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d %02d:%02d:%02d", y, m, d, hh, nn, ss);
  else
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", y, m, d);
  return buf;
}

}  // namespace

const char* VarTypeName(VarType type) {
  switch (type) {
    case VarType::Empty: return "Empty";
    case VarType::Null: return "Null";
    case VarType::Integer: return "Integer";
    case VarType::Double: return "Double";
    case VarType::Boolean: return "Boolean";
    case VarType::Date: return "Date";
    case VarType::AnsiString: return "String";
    case VarType::WideString: return "OleStr";
    case VarType::Array: return "Array";
    case VarType::Dispatch: return "Dispatch";
  }
  return "Unknown";
}

Variant::Variant(long value) : Variant(static_cast<long long>(value)) {}

Variant::Variant(long long value) {
  if (value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max())
    value_ = static_cast<int32_t>(value);
  else
    value_ = static_cast<double>(value);
}

Variant::Variant(VariantArray array) : value_(std::make_unique<VariantArray>(std::move(array))) {}

Variant::Variant(DispatchPtr object) {
  if (object) value_ = std::move(object);
}

Variant Variant::Null() {
  Variant v;
  v.value_ = NullValue{};
  return v;
}

Variant Variant::FromDate(double day) {
  Variant v;
  v.value_ = DateValue{day};
  return v;
}

Variant::Variant(const Variant& other) {
  if (auto* a = std::get_if<std::unique_ptr<VariantArray>>(&other.value_))
    value_ = std::make_unique<VariantArray>(**a);
  else
    std::visit(
        [this](const auto& v) {
          using T = std::decay_t<decltype(v)>;
          if constexpr (!std::is_same_v<T, std::unique_ptr<VariantArray>>) value_ = v;
        },
        other.value_);
}

Variant& Variant::operator=(const Variant& other) {
  if (this != &other) {
    Variant copy(other);
    *this = std::move(copy);
  }
  return *this;
}

Variant::~Variant() = default;

VarType Variant::Type() const {
  static constexpr VarType kinds[] = {VarType::Empty,      VarType::Null,       VarType::Integer,
                                      VarType::Double,     VarType::Boolean,    VarType::Date,
                                      VarType::AnsiString, VarType::WideString, VarType::Array,
                                      VarType::Dispatch};
  return kinds[value_.index()];
}

bool Variant::IsNumeric() const {
  const VarType t = Type();
  return t == VarType::Integer || t == VarType::Double || t == VarType::Boolean;
}

void Variant::CastError(const char* to) const {
  throw Error(std::string("Could not convert variant of type (") + VarTypeName(Type()) +
              ") into type (" + to + ")");
}

int32_t Variant::AsInteger() const {
  int32_t out = 0;
  switch (Type()) {
    case VarType::Empty: return 0;
    case VarType::Integer: return std::get<int32_t>(value_);
    case VarType::Boolean: return std::get<bool>(value_) ? -1 : 0;
    case VarType::Double:
      if (RoundToInt32(std::get<double>(value_), out)) return out;
      throw Error("Arithmetic overflow converting variant to Integer");
    case VarType::Date:
      if (RoundToInt32(std::get<DateValue>(value_).day, out)) return out;
      throw Error("Arithmetic overflow converting variant to Integer");
    case VarType::AnsiString:
    case VarType::WideString: {
      double d = 0;
      if (ParseNumber(AsAnsi(), d) && RoundToInt32(d, out)) return out;
      break;
    }
    default: break;
  }
  CastError("Integer");
}

double Variant::AsDouble() const {
  switch (Type()) {
    case VarType::Empty: return 0;
    case VarType::Integer: return std::get<int32_t>(value_);
    case VarType::Boolean: return std::get<bool>(value_) ? -1 : 0;
    case VarType::Double: return std::get<double>(value_);
    case VarType::Date: return std::get<DateValue>(value_).day;
    case VarType::AnsiString:
    case VarType::WideString: {
      double d = 0;
      if (ParseNumber(AsAnsi(), d)) return d;
      break;
    }
    default: break;
  }
  CastError("Double");
}

bool Variant::AsBoolean() const {
  switch (Type()) {
    case VarType::Empty: return false;
    case VarType::Integer: return std::get<int32_t>(value_) != 0;
    case VarType::Boolean: return std::get<bool>(value_);
    case VarType::Double: return std::get<double>(value_) != 0;
    case VarType::Date: return std::get<DateValue>(value_).day != 0;
    case VarType::AnsiString:
    case VarType::WideString: {
      const std::string t = TrimBlanks(AsAnsi());
      if (EqualsNoCase(t, "True")) return true;
      if (EqualsNoCase(t, "False")) return false;
      double d = 0;
      if (ParseNumber(t, d)) return d != 0;
      break;
    }
    default: break;
  }
  CastError("Boolean");
}

double Variant::AsDate() const {
  switch (Type()) {
    case VarType::Empty: return 0;
    case VarType::Integer:
    case VarType::Double:
    case VarType::Date: return AsDouble();
    case VarType::AnsiString:
    case VarType::WideString: {
      double d = 0;
      const std::string t = AsAnsi();
      if (ParseDateText(t, d) || ParseNumber(t, d)) return d;
      break;
    }
    default: break;
  }
  CastError("Date");
}

std::string Variant::AsAnsi() const {
  switch (Type()) {
    case VarType::Empty: return {};
    case VarType::Integer: return std::to_string(std::get<int32_t>(value_));
    case VarType::Boolean: return std::get<bool>(value_) ? "True" : "False";
    case VarType::Double: return FormatDouble(std::get<double>(value_));
    case VarType::Date: return FormatDate(std::get<DateValue>(value_).day);
    case VarType::AnsiString: return std::get<std::string>(value_);
    case VarType::WideString:
      return os::WideToAnsi(std::get<std::u16string>(value_), os::SystemCodePage());
    default: break;
  }
  CastError("String");
}

std::u16string Variant::AsWide() const {
  switch (Type()) {
    case VarType::WideString: return std::get<std::u16string>(value_);
    case VarType::AnsiString:
      return os::AnsiToWide(std::get<std::string>(value_), os::SystemCodePage());
    default: {
      const std::string text = AsAnsi();  // numbers and dates are plain ASCII
      return std::u16string(text.begin(), text.end());
    }
  }
}

DispatchPtr Variant::AsDispatch() const {
  if (auto* p = std::get_if<DispatchPtr>(&value_)) return *p;
  if (IsEmpty()) return nullptr;
  CastError("Dispatch");
}

VariantArray& Variant::Array() {
  if (auto* a = std::get_if<std::unique_ptr<VariantArray>>(&value_)) return **a;
  throw Error("Variant is not an array");
}

const VariantArray& Variant::Array() const {
  if (auto* a = std::get_if<std::unique_ptr<VariantArray>>(&value_)) return **a;
  throw Error("Variant is not an array");
}

Variant& Variant::ElementAt(int index) { return Array().At(index); }
const Variant& Variant::ElementAt(int index) const { return Array().At(index); }
Variant& Variant::ElementAt(int row, int column) { return Array().At(row, column); }
const Variant& Variant::ElementAt(int row, int column) const { return Array().At(row, column); }

namespace {
DispatchObject& ObjectOf(const Variant& v) {
  if (!v.IsDispatch()) throw Error("Variant does not reference an automation object");
  return *v.AsDispatch();
}
}  // namespace

Variant Variant::Call(std::string_view name, std::initializer_list<Variant> args) const {
  std::vector<Variant> values(args);
  return ObjectOf(*this).Invoke(name, InvokeKind::Method, CallArgs{values, {}});
}

Variant Variant::Call(std::string_view name, std::span<Variant> args,
                      std::span<const bool> byRef) const {
  return ObjectOf(*this).Invoke(name, InvokeKind::Method, CallArgs{args, byRef});
}

Variant Variant::Get(std::string_view name) const {
  return ObjectOf(*this).Invoke(name, InvokeKind::PropertyGet, CallArgs{});
}

void Variant::Set(std::string_view name, const Variant& value) const {
  Variant arg = value;
  ObjectOf(*this).Invoke(name, InvokeKind::PropertyPut, CallArgs{std::span<Variant>(&arg, 1), {}});
}

bool Variant::operator==(const Variant& other) const {
  if (value_.index() != other.value_.index()) return false;
  if (IsArray()) return Array() == other.Array();
  return value_ == other.value_;
}

// ---------------------------------------------------------------------------------------------

VariantArray::VariantArray(std::vector<ArrayBound> bounds) : bounds_(std::move(bounds)) {
  if (bounds_.empty() || bounds_.size() > 2)
    throw Error("Variant arrays have one or two dimensions");
  size_t count = 1;
  for (const ArrayBound& b : bounds_) {
    if (b.Count() < 0) throw Error("Invalid variant array bounds");
    count *= static_cast<size_t>(b.Count());
  }
  data_.resize(count);
}

int VariantArray::LowBound(int dim) const {
  if (dim < 1 || dim > DimCount()) throw Error("Variant array dimension out of range");
  return bounds_[static_cast<size_t>(dim - 1)].low;
}

int VariantArray::HighBound(int dim) const {
  if (dim < 1 || dim > DimCount()) throw Error("Variant array dimension out of range");
  return bounds_[static_cast<size_t>(dim - 1)].high;
}

size_t VariantArray::Offset(int index) const {
  if (DimCount() != 1 || index < bounds_[0].low || index > bounds_[0].high)
    throw Error("Variant array index out of bounds");
  return static_cast<size_t>(index - bounds_[0].low);
}

size_t VariantArray::Offset(int row, int column) const {
  if (DimCount() != 2 || row < bounds_[0].low || row > bounds_[0].high ||
      column < bounds_[1].low || column > bounds_[1].high)
    throw Error("Variant array index out of bounds");
  return static_cast<size_t>(row - bounds_[0].low) * static_cast<size_t>(bounds_[1].Count()) +
         static_cast<size_t>(column - bounds_[1].low);
}

Variant& VariantArray::At(int index) { return data_[Offset(index)]; }
const Variant& VariantArray::At(int index) const { return data_[Offset(index)]; }
Variant& VariantArray::At(int row, int column) { return data_[Offset(row, column)]; }
const Variant& VariantArray::At(int row, int column) const { return data_[Offset(row, column)]; }

void VariantArray::Redim(int high) {
  if (DimCount() != 1) throw Error("Only one-dimensional variant arrays can be redimensioned");
  if (high < bounds_[0].low - 1) throw Error("Invalid variant array bounds");
  bounds_[0].high = high;
  data_.resize(static_cast<size_t>(bounds_[0].Count()));
}

bool VariantArray::operator==(const VariantArray& other) const {
  return bounds_ == other.bounds_ && data_ == other.data_;
}

// ---------------------------------------------------------------------------------------------

Variant VarArrayCreate(std::initializer_list<ArrayBound> bounds) {
  return Variant(VariantArray(std::vector<ArrayBound>(bounds)));
}

Variant VarArrayOf(std::vector<Variant> values) {
  VariantArray array({ArrayBound{0, static_cast<int>(values.size()) - 1}});
  array.Elements() = std::move(values);
  return Variant(std::move(array));
}

Variant VarArrayOf(std::initializer_list<Variant> values) {
  return VarArrayOf(std::vector<Variant>(values));
}

bool VarIsArray(const Variant& value) { return value.IsArray(); }

int VarArrayDimCount(const Variant& value) {
  return value.IsArray() ? value.Array().DimCount() : 0;
}

int VarArrayLowBound(const Variant& value, int dim) { return value.Array().LowBound(dim); }
int VarArrayHighBound(const Variant& value, int dim) { return value.Array().HighBound(dim); }

std::string VarToStr(const Variant& value) {
  if (value.IsNull() || value.IsEmpty()) return {};
  if (value.IsArray() || value.IsDispatch()) return {};
  return value.AsAnsi();
}

}  // namespace automation
