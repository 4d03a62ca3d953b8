#pragma once
// OLE variant semantics: Empty, Null, the integer kinds, Boolean, double, date-time,
// wide and byte strings, automation objects, arrays of variants with explicit bounds in
// one or more dimensions, and by-reference variants. Arrays are values (copy on write).
// Conversions follow the runtime's variant rules; failures raise EVariantError kinds.
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/DateTime.h"
#include "platform/Strings.h"

namespace krp {

class AutomationObject;
using DispatchPtr = std::shared_ptr<AutomationObject>;

// The variant type codes, with the values the platform gives them.
enum VarType : std::uint16_t {
  varEmpty = 0x0000,
  varNull = 0x0001,
  varSmallint = 0x0002,
  varInteger = 0x0003,
  varSingle = 0x0004,
  varDouble = 0x0005,
  varCurrency = 0x0006,
  varDate = 0x0007,
  varOleStr = 0x0008,
  varDispatch = 0x0009,
  varError = 0x000A,
  varBoolean = 0x000B,
  varVariant = 0x000C,
  varUnknown = 0x000D,
  varShortInt = 0x0010,
  varByte = 0x0011,
  varWord = 0x0012,
  varLongWord = 0x0013,
  varInt64 = 0x0014,
  varUInt64 = 0x0015,
  varString = 0x0100,
  varTypeMask = 0x0FFF,
  varArray = 0x2000,
  varByRef = 0x4000,
};

struct ArrayBound {
  int Lo = 0;
  int Hi = -1;
  int Count() const { return Hi - Lo + 1; }
  friend bool operator==(const ArrayBound&, const ArrayBound&) = default;
};

class Variant;

// The safe array behind an array variant: bounds per dimension (first dimension first)
// and the elements, stored with the last index varying fastest.
class VariantArray {
 public:
  explicit VariantArray(std::vector<ArrayBound> bounds);
  const std::vector<ArrayBound>& Bounds() const { return bounds_; }
  int DimCount() const { return static_cast<int>(bounds_.size()); }
  std::size_t ElementCount() const;
  // Raises EVariantBadIndexError when the count of indices or any index is wrong.
  Variant& At(std::span<const int> indices);
  const Variant& At(std::span<const int> indices) const;
  std::vector<Variant>& Elements() { return elements_; }
  const std::vector<Variant>& Elements() const { return elements_; }
  // Changes the high bound of the last dimension, keeping the elements that remain.
  void RedimLast(int newHigh);

 private:
  std::size_t OffsetOf(std::span<const int> indices) const;
  std::vector<ArrayBound> bounds_;
  std::vector<Variant> elements_;
};

class Variant {
 public:
  struct NullTag {};

  Variant() = default;  // Empty
  Variant(NullTag) : type_(varNull) {}
  Variant(bool value) : type_(varBoolean), data_(value) {}
  Variant(std::int8_t value) : type_(varShortInt), data_(static_cast<std::int64_t>(value)) {}
  Variant(std::uint8_t value) : type_(varByte), data_(static_cast<std::int64_t>(value)) {}
  Variant(std::int16_t value) : type_(varSmallint), data_(static_cast<std::int64_t>(value)) {}
  Variant(std::uint16_t value) : type_(varWord), data_(static_cast<std::int64_t>(value)) {}
  Variant(std::int32_t value) : type_(varInteger), data_(static_cast<std::int64_t>(value)) {}
  Variant(std::uint32_t value) : type_(varLongWord), data_(static_cast<std::int64_t>(value)) {}
  Variant(long value) : type_(varInt64), data_(static_cast<std::int64_t>(value)) {}
  Variant(long long value) : type_(varInt64), data_(static_cast<std::int64_t>(value)) {}
  Variant(unsigned long value) : type_(varUInt64), data_(static_cast<std::int64_t>(value)) {}
  Variant(unsigned long long value) : type_(varUInt64), data_(static_cast<std::int64_t>(value)) {}
  Variant(double value) : type_(varDouble), data_(value) {}
  Variant(float value) : type_(varSingle), data_(static_cast<double>(value)) {}
  Variant(const char* value) : type_(varString), data_(AnsiString(value)) {}
  Variant(AnsiString value) : type_(varString), data_(std::move(value)) {}
  Variant(std::string_view value) : type_(varString), data_(AnsiString(value)) {}
  Variant(const char16_t* value) : type_(varOleStr), data_(WideString(value)) {}
  Variant(WideString value) : type_(varOleStr), data_(std::move(value)) {}
  Variant(std::u16string_view value) : type_(varOleStr), data_(WideString(value)) {}
  Variant(DispatchPtr object);

  static Variant Null() { return Variant(NullTag{}); }
  static Variant FromDate(TDateTime value);
  static Variant FromCurrency(double value);
  // A typed integer of any kind, e.g. FromInteger(varSmallint, 3).
  static Variant FromInteger(VarType kind, std::int64_t value);
  // VarArrayCreate([lo, hi], varVariant): elements Empty.
  static Variant CreateArray(int lo, int hi);
  static Variant CreateArray(std::vector<ArrayBound> bounds);
  // VarArrayOf: a 0-based one-dimensional array of the given values.
  static Variant ArrayOf(std::initializer_list<Variant> items);
  static Variant ArrayOf(std::vector<Variant> items, int lo = 0);
  // An array variant that takes over a filled safe array.
  static Variant FromArray(VariantArray array);
  // A by-reference variant: reads and AssignOut go to the target, which must outlive it.
  static Variant ByRef(Variant& target);

  // The type code, with varArray for arrays and varByRef for references.
  std::uint16_t VType() const { return type_; }
  // The type of the value itself (through a reference).
  std::uint16_t ValueType() const { return Deref().type_; }

  bool IsEmpty() const { return ValueType() == varEmpty; }
  bool IsNull() const { return ValueType() == varNull; }
  bool IsEmptyOrNull() const { return IsEmpty() || IsNull(); }
  bool IsArray() const { return (ValueType() & varArray) != 0; }
  bool IsByRef() const { return (type_ & varByRef) != 0; }
  bool IsString() const;       // varString or varOleStr
  bool IsWideString() const { return ValueType() == varOleStr; }
  bool IsAnsiString() const { return ValueType() == varString; }
  bool IsOrdinal() const;      // the integer kinds and Boolean
  bool IsNumeric() const;      // ordinal, floating, currency
  bool IsFloat() const;        // single, double, currency
  bool IsDate() const { return ValueType() == varDate; }
  bool IsDispatch() const { return ValueType() == varDispatch; }

  // Conversions, as the runtime converts a variant. Null reads as the empty text; the
  // other conversions of Null, and texts that hold no number, raise EVariantTypeCastError.
  AnsiString AsString() const;       // bytes in the process ANSI code page
  WideString AsWideString() const;
  std::int32_t AsInteger() const;
  std::int64_t AsInt64() const;
  double AsDouble() const;
  bool AsBoolean() const;
  TDateTime AsDateTime() const;
  DispatchPtr AsDispatch() const;    // raises when the value is no automation object

  // Arrays. Dimensions count from 1, as VarArrayLowBound/HighBound count them.
  int DimCount() const;
  int LowBound(int dim = 1) const;
  int HighBound(int dim = 1) const;
  std::vector<ArrayBound> Bounds() const;
  std::size_t ElementCount() const;
  const Variant& operator[](int index) const;
  Variant& operator[](int index);
  const Variant& At(std::initializer_list<int> indices) const;
  Variant& At(std::initializer_list<int> indices);
  const Variant& At(std::span<const int> indices) const;
  Variant& At(std::span<const int> indices);
  // VarArrayRedim on the last dimension.
  void Redim(int newHigh);
  const VariantArray* ArrayData() const;

  // Writes through a reference, or replaces this variant when it is not one: the way a
  // callee fills an out argument.
  void AssignOut(const Variant& value);
  // The referenced variant (itself when not a reference).
  const Variant& Deref() const;
  Variant& Deref();

  // Late-bound automation calls; raise EOleError on a variant that holds no object.
  template <typename... Args>
  Variant Call(std::string_view name, Args&&... args) const {
    std::vector<Variant> list{Variant(std::forward<Args>(args))...};
    return Invoke(name, list);
  }
  Variant Invoke(std::string_view name, std::span<Variant> args) const;
  Variant Get(std::string_view name) const;
  void Put(std::string_view name, const Variant& value) const;

  // Identity of type and value, element by element for arrays (not the runtime's loose
  // comparison); what tests and the typed JSON round trip need.
  friend bool operator==(const Variant& a, const Variant& b);

  // The name of a type code as the runtime's error messages spell it: "String", "Integer".
  static std::string TypeName(std::uint16_t vt);

 private:
  using Payload = std::variant<std::monostate, std::int64_t, double, bool, AnsiString, WideString, DispatchPtr,
                               std::shared_ptr<VariantArray>, Variant*>;
  Variant(std::uint16_t type, Payload data) : type_(type), data_(std::move(data)) {}
  [[noreturn]] void CastError(std::uint16_t target) const;
  VariantArray& MutableArray();
  const VariantArray& ArrayRef() const;

  std::uint16_t type_ = varEmpty;
  Payload data_;
};

inline const Variant kEmptyVariant{};

}  // namespace krp
