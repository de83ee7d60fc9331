// Variant: the automation value that crosses every boundary of the system — host parameters,
// option values, job requests, answers of the manager's services and configuration arrays.
//
// A Variant is empty, null, a 32-bit integer, a double, a boolean, a date (day number), an
// 8-bit text (bytes in a code page, normally 936), a wide text (UTF-16), an array of one or two
// dimensions with its own bounds per dimension (elements are Variants and may be arrays), or a
// dispatch object. Variants are values: copying one copies its array; dispatch objects are
// shared. Conversions follow the automation rules; a conversion that cannot be made, a bound
// outside the array or a call on a value that is not an object throws automation::Error.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace automation {

// Every failure of this layer: a message a person can read.
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class VarType { Empty, Null, Integer, Double, Boolean, Date, AnsiString, WideString, Array, Dispatch };

// The name of a type as the conversion errors write it ("Integer", "String", ...).
const char* VarTypeName(VarType type);

class Variant;
class VariantArray;
class DispatchObject;
using DispatchPtr = std::shared_ptr<DispatchObject>;

// Bounds of one dimension; an array 1..12 is not an array 0..11.
struct ArrayBound {
  int low = 0;
  int high = -1;
  int Count() const { return high - low + 1; }
  bool operator==(const ArrayBound&) const = default;
};

class Variant {
 public:
  Variant() = default;
  Variant(int value) : value_(static_cast<int32_t>(value)) {}
  Variant(long value);
  Variant(long long value);
  Variant(double value) : value_(value) {}
  Variant(bool value) : value_(value) {}
  Variant(const char* text) : value_(std::string(text ? text : "")) {}
  Variant(std::string text) : value_(std::move(text)) {}
  Variant(std::string_view text) : value_(std::string(text)) {}
  Variant(const char16_t* text) : value_(std::u16string(text ? text : u"")) {}
  Variant(std::u16string text) : value_(std::move(text)) {}
  Variant(VariantArray array);
  Variant(DispatchPtr object);

  static Variant Null();
  static Variant FromDate(double day);

  Variant(const Variant& other);
  Variant(Variant&& other) noexcept = default;
  Variant& operator=(const Variant& other);
  Variant& operator=(Variant&& other) noexcept = default;
  ~Variant();

  VarType Type() const;
  bool IsEmpty() const { return Type() == VarType::Empty; }
  bool IsNull() const { return Type() == VarType::Null; }
  bool IsArray() const { return Type() == VarType::Array; }
  bool IsText() const { return Type() == VarType::AnsiString || Type() == VarType::WideString; }
  bool IsNumeric() const;
  bool IsDispatch() const { return Type() == VarType::Dispatch; }

  // Conversions. Empty reads as 0, "" or false; null and unreadable values throw.
  int32_t AsInteger() const;
  double AsDouble() const;
  bool AsBoolean() const;
  double AsDate() const;
  // 8-bit text; a wide text is converted with the system code page. Booleans read "True" or
  // "False", numbers in their shortest form, dates as "YYYY/MM/DD" (with " hh:nn:ss" when
  // there is a time).
  std::string AsAnsi() const;
  // Wide text; an 8-bit text is converted with the system code page.
  std::u16string AsWide() const;
  DispatchPtr AsDispatch() const;

  // The array held; throws when the variant is not an array.
  VariantArray& Array();
  const VariantArray& Array() const;

  // Element access on an array variant (shorthands for Array().At(...)).
  Variant& operator[](int index) { return ElementAt(index); }
  const Variant& operator[](int index) const { return ElementAt(index); }
  Variant& ElementAt(int index);
  const Variant& ElementAt(int index) const;
  Variant& ElementAt(int row, int column);
  const Variant& ElementAt(int row, int column) const;

  // Late-bound calls on a dispatch variant; on any other value they throw
  // "Variant does not reference an automation object". The first form passes its arguments by
  // value; the second lets the callee write back the arguments flagged in `byRef`.
  Variant Call(std::string_view name, std::initializer_list<Variant> args = {}) const;
  Variant Call(std::string_view name, std::span<Variant> args, std::span<const bool> byRef) const;
  Variant Get(std::string_view name) const;
  void Set(std::string_view name, const Variant& value) const;

  // Same type and same value, arrays compared element by element with their bounds.
  bool operator==(const Variant& other) const;

 private:
  struct NullValue {
    bool operator==(const NullValue&) const = default;
  };
  struct DateValue {
    double day;
    bool operator==(const DateValue&) const = default;
  };
  using Storage = std::variant<std::monostate, NullValue, int32_t, double, bool, DateValue,
                               std::string, std::u16string, std::unique_ptr<VariantArray>,
                               DispatchPtr>;
  [[noreturn]] void CastError(const char* to) const;
  Storage value_;
};

// A rectangular array of Variants with one or two dimensions and its own bounds.
class VariantArray {
 public:
  VariantArray() = default;
  explicit VariantArray(std::vector<ArrayBound> bounds);

  int DimCount() const { return static_cast<int>(bounds_.size()); }
  // Bounds of dimension `dim` (1-based); throws for a dimension the array does not have.
  int LowBound(int dim = 1) const;
  int HighBound(int dim = 1) const;
  const std::vector<ArrayBound>& Bounds() const { return bounds_; }
  int ElementCount() const { return static_cast<int>(data_.size()); }

  // Throws "Variant array index out of bounds" outside the bounds, and for the wrong number of
  // indexes.
  Variant& At(int index);
  const Variant& At(int index) const;
  Variant& At(int row, int column);
  const Variant& At(int row, int column) const;

  // All elements in storage order (for a two-dimensional array: row by row).
  std::vector<Variant>& Elements() { return data_; }
  const std::vector<Variant>& Elements() const { return data_; }

  // Changes the high bound of a one-dimensional array, keeping the elements that remain.
  void Redim(int high);

  bool operator==(const VariantArray& other) const;

 private:
  size_t Offset(int index) const;
  size_t Offset(int row, int column) const;
  std::vector<ArrayBound> bounds_;
  std::vector<Variant> data_;
};

// Array helpers in the names the module uses.
// An array with the given bounds, one pair per dimension (1 or 2 dimensions), elements empty.
Variant VarArrayCreate(std::initializer_list<ArrayBound> bounds);
// A one-dimensional array 0..n-1 holding the values.
Variant VarArrayOf(std::initializer_list<Variant> values);
Variant VarArrayOf(std::vector<Variant> values);
bool VarIsArray(const Variant& value);
// Dimension count, 0 for a value that is not an array.
int VarArrayDimCount(const Variant& value);
// Bounds of a dimension; throw for a value that is not an array or a missing dimension.
int VarArrayLowBound(const Variant& value, int dim);
int VarArrayHighBound(const Variant& value, int dim);
// The value as text, null and empty as "" (the lenient reading used for display and logs).
std::string VarToStr(const Variant& value);

}  // namespace automation
