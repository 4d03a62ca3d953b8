#include "platform/Variant.h"

#include <algorithm>
#include <cassert>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>

#include "platform/Automation.h"
#include "platform/CodePage.h"
#include "platform/Exceptions.h"
#include "platform/FormatSettings.h"
#include "platform/SysUtils.h"

namespace krp {

// ---------------------------------------------------------------------------------------
// VariantArray

VariantArray::VariantArray(std::vector<ArrayBound> bounds) : bounds_(std::move(bounds)) {
  for (const auto& b : bounds_) {
    if (b.Hi < b.Lo - 1) throw EVariantError("Invalid variant array bounds");
  }
  elements_.resize(ElementCount());
}

std::size_t VariantArray::ElementCount() const {
  if (bounds_.empty()) return 0;
  std::size_t count = 1;
  for (const auto& b : bounds_) count *= static_cast<std::size_t>(b.Count());
  return count;
}

std::size_t VariantArray::OffsetOf(std::span<const int> indices) const {
  if (indices.size() != bounds_.size()) throw EVariantBadIndexError("Variant or safe array index out of bounds");
  std::size_t offset = 0;
  for (std::size_t d = 0; d < bounds_.size(); ++d) {
    const auto& b = bounds_[d];
    if (indices[d] < b.Lo || indices[d] > b.Hi)
      throw EVariantBadIndexError("Variant or safe array index out of bounds");
    offset = offset * static_cast<std::size_t>(b.Count()) + static_cast<std::size_t>(indices[d] - b.Lo);
  }
  return offset;
}

Variant& VariantArray::At(std::span<const int> indices) { return elements_[OffsetOf(indices)]; }
const Variant& VariantArray::At(std::span<const int> indices) const { return elements_[OffsetOf(indices)]; }

void VariantArray::RedimLast(int newHigh) {
  if (bounds_.empty()) throw EVariantError("Invalid variant array bounds");
  auto& last = bounds_.back();
  if (newHigh < last.Lo - 1) throw EVariantError("Invalid variant array bounds");
  std::size_t outer = 1;
  for (std::size_t d = 0; d + 1 < bounds_.size(); ++d) outer *= static_cast<std::size_t>(bounds_[d].Count());
  auto oldCount = static_cast<std::size_t>(last.Count());
  auto newCount = static_cast<std::size_t>(newHigh - last.Lo + 1);
  std::vector<Variant> resized(outer * newCount);
  for (std::size_t o = 0; o < outer; ++o)
    for (std::size_t i = 0; i < std::min(oldCount, newCount); ++i)
      resized[o * newCount + i] = std::move(elements_[o * oldCount + i]);
  elements_ = std::move(resized);
  last.Hi = newHigh;
}

// ---------------------------------------------------------------------------------------
// Construction

Variant::Variant(DispatchPtr object) : type_(varDispatch), data_(std::move(object)) {}

Variant Variant::FromDate(TDateTime value) { return Variant(varDate, Payload(value)); }
Variant Variant::FromCurrency(double value) {
  return Variant(varCurrency, Payload(std::round(value * 10000.0) / 10000.0));
}

Variant Variant::FromInteger(VarType kind, std::int64_t value) {
  switch (kind) {
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64:
    case varUInt64: return Variant(static_cast<std::uint16_t>(kind), Payload(value));
    default: assert(!"FromInteger needs an integer kind"); return Variant(value);
  }
}

Variant Variant::CreateArray(int lo, int hi) { return CreateArray(std::vector<ArrayBound>{{lo, hi}}); }

Variant Variant::CreateArray(std::vector<ArrayBound> bounds) {
  if (bounds.empty()) throw EVariantError("Invalid variant array bounds");
  return Variant(varArray | varVariant, Payload(std::make_shared<VariantArray>(std::move(bounds))));
}

Variant Variant::ArrayOf(std::initializer_list<Variant> items) { return ArrayOf(std::vector<Variant>(items)); }

Variant Variant::ArrayOf(std::vector<Variant> items, int lo) {
  auto array = std::make_shared<VariantArray>(
      std::vector<ArrayBound>{{lo, lo + static_cast<int>(items.size()) - 1}});
  array->Elements() = std::move(items);
  return Variant(varArray | varVariant, Payload(std::move(array)));
}

Variant Variant::FromArray(VariantArray array) {
  if (array.DimCount() == 0) throw EVariantError("Invalid variant array bounds");
  return Variant(varArray | varVariant, Payload(std::make_shared<VariantArray>(std::move(array))));
}

Variant Variant::ByRef(Variant& target) { return Variant(varByRef | varVariant, Payload(&target.Deref())); }

const Variant& Variant::Deref() const {
  if (type_ & varByRef) return *std::get<Variant*>(data_);
  return *this;
}
Variant& Variant::Deref() {
  if (type_ & varByRef) return *std::get<Variant*>(data_);
  return *this;
}

void Variant::AssignOut(const Variant& value) {
  if (type_ & varByRef) {
    *std::get<Variant*>(data_) = value;
  } else {
    *this = value;
  }
}

// ---------------------------------------------------------------------------------------
// Type tests

bool Variant::IsString() const {
  auto t = ValueType();
  return t == varString || t == varOleStr;
}

bool Variant::IsOrdinal() const {
  switch (ValueType()) {
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64:
    case varUInt64:
    case varBoolean: return true;
    default: return false;
  }
}

bool Variant::IsFloat() const {
  auto t = ValueType();
  return t == varSingle || t == varDouble || t == varCurrency;
}

bool Variant::IsNumeric() const { return IsOrdinal() || IsFloat(); }

std::string Variant::TypeName(std::uint16_t vt) {
  std::string prefix;
  if (vt & varArray) prefix = "Array ";
  if (vt & varByRef) prefix += "ByRef ";
  switch (vt & varTypeMask) {
    case varEmpty: return prefix + "Empty";
    case varNull: return prefix + "Null";
    case varSmallint: return prefix + "Smallint";
    case varInteger: return prefix + "Integer";
    case varSingle: return prefix + "Single";
    case varDouble: return prefix + "Double";
    case varCurrency: return prefix + "Currency";
    case varDate: return prefix + "Date";
    case varOleStr: return prefix + "OleStr";
    case varDispatch: return prefix + "Dispatch";
    case varError: return prefix + "Error";
    case varBoolean: return prefix + "Boolean";
    case varVariant: return prefix + "Variant";
    case varUnknown: return prefix + "Unknown";
    case varShortInt: return prefix + "ShortInt";
    case varByte: return prefix + "Byte";
    case varWord: return prefix + "Word";
    case varLongWord: return prefix + "LongWord";
    case varInt64: return prefix + "Int64";
    case varUInt64: return prefix + "UInt64";
    case varString: return prefix + "String";
    default: return prefix + "Unknown";
  }
}

void Variant::CastError(std::uint16_t target) const {
  throw EVariantTypeCastError("Could not convert variant of type (" + TypeName(ValueType()) + ") into type (" +
                              TypeName(target) + ")");
}

// ---------------------------------------------------------------------------------------
// Conversions

AnsiString Variant::AsString() const {
  const Variant& v = Deref();
  switch (v.type_) {
    case varEmpty:
    case varNull: return {};
    case varBoolean: return std::get<bool>(v.data_) ? "True" : "False";
    case varString: return std::get<AnsiString>(v.data_);
    case varOleStr: return UnicodeToAnsi(std::get<WideString>(v.data_));
    case varDate: return DateTimeToStr(std::get<double>(v.data_));
    case varSingle:
    case varDouble:
    case varCurrency: return FloatToStr(std::get<double>(v.data_));
    default:
      if (v.IsOrdinal()) {
        if (v.type_ == varUInt64) return std::to_string(static_cast<std::uint64_t>(std::get<std::int64_t>(v.data_)));
        return std::to_string(std::get<std::int64_t>(v.data_));
      }
      v.CastError(varString);
  }
}

WideString Variant::AsWideString() const {
  const Variant& v = Deref();
  if (v.type_ == varOleStr) return std::get<WideString>(v.data_);
  if (v.type_ == varString) return AnsiToUnicode(std::get<AnsiString>(v.data_));
  return AnsiToUnicode(v.AsString());
}

namespace {

std::int64_t RoundToInt64(double value, const Variant& source, std::uint16_t target) {
  double rounded = std::nearbyint(value);  // the runtime rounds halves to even
  if (!std::isfinite(rounded) || rounded < -9.2233720368547758e18 || rounded >= 9.2233720368547758e18) {
    throw EVariantTypeCastError("Could not convert variant of type (" + Variant::TypeName(source.ValueType()) +
                                ") into type (" + Variant::TypeName(target) + ")");
  }
  return static_cast<std::int64_t>(rounded);
}

}  // namespace

std::int64_t Variant::AsInt64() const {
  const Variant& v = Deref();
  switch (v.type_) {
    case varEmpty: return 0;
    case varBoolean: return std::get<bool>(v.data_) ? -1 : 0;
    case varSingle:
    case varDouble:
    case varCurrency:
    case varDate: return RoundToInt64(std::get<double>(v.data_), v, varInt64);
    case varString:
    case varOleStr: {
      AnsiString text = v.AsString();
      std::int64_t integer = 0;
      if (TryTextToInt64(text, integer)) return integer;
      double number = 0;
      if (TryTextToFloat(text, number)) return RoundToInt64(number, v, varInt64);
      bool flag = false;
      if (TryTextToBool(text, flag)) return flag ? -1 : 0;
      v.CastError(varInt64);
    }
    default:
      if (v.IsOrdinal()) return std::get<std::int64_t>(v.data_);
      v.CastError(varInt64);
  }
}

std::int32_t Variant::AsInteger() const {
  std::int64_t value = 0;
  try {
    value = AsInt64();
  } catch (const EVariantTypeCastError&) {
    CastError(varInteger);
  }
  if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max()) {
    // The unsigned 32-bit kind wraps into the signed range, as the runtime's cast does.
    if (ValueType() == varLongWord) return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    throw EVariantError("Arithmetic overflow converting variant of type (" + TypeName(ValueType()) +
                        ") into type (Integer)");
  }
  return static_cast<std::int32_t>(value);
}

double Variant::AsDouble() const {
  const Variant& v = Deref();
  switch (v.type_) {
    case varEmpty: return 0;
    case varBoolean: return std::get<bool>(v.data_) ? -1 : 0;
    case varSingle:
    case varDouble:
    case varCurrency:
    case varDate: return std::get<double>(v.data_);
    case varString:
    case varOleStr: {
      AnsiString text = v.AsString();
      double number = 0;
      if (TryTextToFloat(text, number)) return number;
      bool flag = false;
      if (TryTextToBool(text, flag)) return flag ? -1 : 0;
      v.CastError(varDouble);
    }
    default:
      if (v.type_ == varUInt64) return static_cast<double>(static_cast<std::uint64_t>(std::get<std::int64_t>(v.data_)));
      if (v.IsOrdinal()) return static_cast<double>(std::get<std::int64_t>(v.data_));
      v.CastError(varDouble);
  }
}

bool Variant::AsBoolean() const {
  const Variant& v = Deref();
  switch (v.type_) {
    case varEmpty: return false;
    case varBoolean: return std::get<bool>(v.data_);
    case varSingle:
    case varDouble:
    case varCurrency:
    case varDate: return std::get<double>(v.data_) != 0;
    case varString:
    case varOleStr: {
      AnsiString text = v.AsString();
      bool flag = false;
      if (TryTextToBool(text, flag)) return flag;
      double number = 0;
      if (TryTextToFloat(text, number)) return number != 0;
      v.CastError(varBoolean);
    }
    default:
      if (v.IsOrdinal()) return std::get<std::int64_t>(v.data_) != 0;
      v.CastError(varBoolean);
  }
}

TDateTime Variant::AsDateTime() const {
  const Variant& v = Deref();
  switch (v.type_) {
    case varEmpty: return 0;
    case varDate:
    case varSingle:
    case varDouble:
    case varCurrency: return std::get<double>(v.data_);
    case varString:
    case varOleStr: {
      AnsiString text = v.AsString();
      TDateTime value = 0;
      if (TryStrToDateTime(text, value)) return value;
      double number = 0;
      if (TryTextToFloat(text, number)) return number;
      v.CastError(varDate);
    }
    default:
      if (v.IsOrdinal() && v.type_ != varBoolean) return static_cast<double>(std::get<std::int64_t>(v.data_));
      v.CastError(varDate);
  }
}

DispatchPtr Variant::AsDispatch() const {
  const Variant& v = Deref();
  if (v.type_ == varDispatch && std::get<DispatchPtr>(v.data_)) return std::get<DispatchPtr>(v.data_);
  throw EOleError("Variant does not reference an automation object");
}

// ---------------------------------------------------------------------------------------
// Arrays

const VariantArray& Variant::ArrayRef() const {
  const Variant& v = Deref();
  if (!(v.type_ & varArray)) throw EVariantError("Variant is not an array");
  return *std::get<std::shared_ptr<VariantArray>>(v.data_);
}

VariantArray& Variant::MutableArray() {
  Variant& v = Deref();
  if (!(v.type_ & varArray)) throw EVariantError("Variant is not an array");
  auto& shared = std::get<std::shared_ptr<VariantArray>>(v.data_);
  if (shared.use_count() > 1) shared = std::make_shared<VariantArray>(*shared);  // copy on write
  return *shared;
}

const VariantArray* Variant::ArrayData() const {
  const Variant& v = Deref();
  if (!(v.type_ & varArray)) return nullptr;
  return std::get<std::shared_ptr<VariantArray>>(v.data_).get();
}

int Variant::DimCount() const {
  const VariantArray* array = ArrayData();
  return array ? array->DimCount() : 0;
}

int Variant::LowBound(int dim) const {
  const auto& bounds = ArrayRef().Bounds();
  if (dim < 1 || dim > static_cast<int>(bounds.size())) throw EVariantBadIndexError("Variant or safe array index out of bounds");
  return bounds[static_cast<std::size_t>(dim - 1)].Lo;
}

int Variant::HighBound(int dim) const {
  const auto& bounds = ArrayRef().Bounds();
  if (dim < 1 || dim > static_cast<int>(bounds.size())) throw EVariantBadIndexError("Variant or safe array index out of bounds");
  return bounds[static_cast<std::size_t>(dim - 1)].Hi;
}

std::vector<ArrayBound> Variant::Bounds() const { return ArrayRef().Bounds(); }
std::size_t Variant::ElementCount() const { return ArrayRef().ElementCount(); }

const Variant& Variant::operator[](int index) const {
  const int indices[] = {index};
  return ArrayRef().At(indices);
}
Variant& Variant::operator[](int index) {
  const int indices[] = {index};
  return MutableArray().At(indices);
}
const Variant& Variant::At(std::initializer_list<int> indices) const {
  return ArrayRef().At(std::span<const int>(indices.begin(), indices.size()));
}
Variant& Variant::At(std::initializer_list<int> indices) {
  return MutableArray().At(std::span<const int>(indices.begin(), indices.size()));
}
const Variant& Variant::At(std::span<const int> indices) const { return ArrayRef().At(indices); }
Variant& Variant::At(std::span<const int> indices) { return MutableArray().At(indices); }

void Variant::Redim(int newHigh) { MutableArray().RedimLast(newHigh); }

// ---------------------------------------------------------------------------------------
// Automation

Variant Variant::Invoke(std::string_view name, std::span<Variant> args) const {
  return InvokeObject(*AsDispatch(), name, InvokeKind::Method, args);
}

Variant Variant::Get(std::string_view name) const {
  return InvokeObject(*AsDispatch(), name, InvokeKind::PropertyGet, {});
}

void Variant::Put(std::string_view name, const Variant& value) const {
  Variant argument = value;
  InvokeObject(*AsDispatch(), name, InvokeKind::PropertyPut, std::span<Variant>(&argument, 1));
}

// ---------------------------------------------------------------------------------------
// Identity

bool operator==(const Variant& left, const Variant& right) {
  const Variant& a = left.Deref();
  const Variant& b = right.Deref();
  if (a.type_ != b.type_) return false;
  if (a.type_ & varArray) {
    const auto& x = *std::get<std::shared_ptr<VariantArray>>(a.data_);
    const auto& y = *std::get<std::shared_ptr<VariantArray>>(b.data_);
    return x.Bounds() == y.Bounds() && x.Elements() == y.Elements();
  }
  return a.data_ == b.data_;
}

}  // namespace krp
