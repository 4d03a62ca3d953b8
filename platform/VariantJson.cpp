#include "platform/VariantJson.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <memory>
#include <vector>

#include "platform/Automation.h"
#include "platform/CodePage.h"
#include "platform/Exceptions.h"

namespace krp {
namespace {

// ---------------------------------------------------------------------------------------
// Writing

void AppendQuoted(std::string& out, std::string_view utf8) {
  out.push_back('"');
  for (unsigned char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
          out += buffer;
        } else {
          out.push_back(static_cast<char>(c));
        }
    }
  }
  out.push_back('"');
}

std::string DoubleText(double value) {
  if (std::isnan(value)) return "\"NaN\"";
  if (std::isinf(value)) return value > 0 ? "\"Infinity\"" : "\"-Infinity\"";
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string DateText(TDateTime value) {
  DateParts p = DecodeDateTime(value);
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d.%03d", p.Year, p.Month, p.Day, p.Hour,
                p.Minute, p.Second, p.Millisecond);
  return buffer;
}

void Write(std::string& out, const Variant& value);

void WriteDimension(std::string& out, const VariantArray& array, std::vector<int>& indices, std::size_t dim) {
  const auto& bound = array.Bounds()[dim];
  out.push_back('[');
  for (int i = bound.Lo; i <= bound.Hi; ++i) {
    if (i != bound.Lo) out.push_back(',');
    indices[dim] = i;
    if (dim + 1 == array.Bounds().size()) {
      Write(out, array.At(indices));
    } else {
      WriteDimension(out, array, indices, dim + 1);
    }
  }
  out.push_back(']');
}

void Write(std::string& out, const Variant& v) {
  if (const VariantArray* array = v.ArrayData()) {
    std::vector<int> indices(array->Bounds().size());
    if (array->DimCount() == 1) {
      out += "{\"lo\":" + std::to_string(array->Bounds()[0].Lo) + ",\"items\":";
    } else {
      out += "{\"bounds\":[";
      for (std::size_t d = 0; d < array->Bounds().size(); ++d) {
        if (d) out.push_back(',');
        out += "[" + std::to_string(array->Bounds()[d].Lo) + "," + std::to_string(array->Bounds()[d].Hi) + "]";
      }
      out += "],\"items\":";
    }
    WriteDimension(out, *array, indices, 0);
    out.push_back('}');
    return;
  }
  switch (v.ValueType()) {
    case varEmpty: out += "{\"empty\":true}"; return;
    case varNull: out += "null"; return;
    case varBoolean: out += v.AsBoolean() ? "true" : "false"; return;
    case varSingle:
    case varDouble: out += "{\"double\":" + DoubleText(v.AsDouble()) + "}"; return;
    case varCurrency: out += "{\"currency\":" + DoubleText(v.AsDouble()) + "}"; return;
    case varDate: out += "{\"date\":\"" + DateText(v.AsDateTime()) + "\"}"; return;
    case varOleStr: AppendQuoted(out, Utf16ToUtf8(v.AsWideString())); return;
    case varString:
      out += "{\"ansi\":";
      AppendQuoted(out, AnsiToUtf8(v.AsString()));
      out.push_back('}');
      return;
    case varDispatch: {
      out += "{\"object\":";
      DispatchPtr object = v.AsDispatch();
      AppendQuoted(out, object ? object->ClassName() : std::string());
      out.push_back('}');
      return;
    }
    case varUInt64: out += v.AsString(); return;
    default:
      if (v.IsOrdinal()) {
        out += std::to_string(v.AsInt64());
        return;
      }
      out += "{\"empty\":true}";
  }
}

// ---------------------------------------------------------------------------------------
// Reading: a small JSON tree first, then its meaning as a variant.

struct Json {
  enum Kind { Null, Bool, Integer, Number, String, Array, Object } kind = Null;
  bool boolean = false;
  std::int64_t integer = 0;
  double number = 0;
  std::string text;  // UTF-8
  std::vector<Json> items;
  std::vector<std::pair<std::string, Json>> members;
  std::size_t position = 0;

  const Json* Member(std::string_view name) const {
    for (const auto& [key, value] : members)
      if (key == name) return &value;
    return nullptr;
  }
};

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  Json ParseDocument() {
    Json value = ParseValue(0);
    SkipBlanks();
    if (pos_ != text_.size()) Fail("unexpected text after the value");
    return value;
  }

 private:
  static constexpr int kMaxDepth = 256;

  [[noreturn]] void Fail(const std::string& what) const { throw EJsonError("Invalid JSON: " + what, pos_); }

  void SkipBlanks() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n' || text_[pos_] == '\r'))
      ++pos_;
  }

  bool Consume(std::string_view word) {
    if (text_.substr(pos_, word.size()) == word) {
      pos_ += word.size();
      return true;
    }
    return false;
  }

  Json ParseValue(int depth) {
    if (depth > kMaxDepth) Fail("nesting too deep");
    SkipBlanks();
    if (pos_ >= text_.size()) Fail("unexpected end of text");
    Json value;
    value.position = pos_;
    char c = text_[pos_];
    if (c == '{') {
      value.kind = Json::Object;
      ++pos_;
      SkipBlanks();
      if (pos_ < text_.size() && text_[pos_] == '}') {
        ++pos_;
        return value;
      }
      while (true) {
        SkipBlanks();
        if (pos_ >= text_.size() || text_[pos_] != '"') Fail("expected a member name");
        std::string key = ParseString();
        SkipBlanks();
        if (pos_ >= text_.size() || text_[pos_] != ':') Fail("expected ':'");
        ++pos_;
        value.members.emplace_back(std::move(key), ParseValue(depth + 1));
        SkipBlanks();
        if (pos_ < text_.size() && text_[pos_] == ',') { ++pos_; continue; }
        if (pos_ < text_.size() && text_[pos_] == '}') { ++pos_; return value; }
        Fail("expected ',' or '}'");
      }
    }
    if (c == '[') {
      value.kind = Json::Array;
      ++pos_;
      SkipBlanks();
      if (pos_ < text_.size() && text_[pos_] == ']') {
        ++pos_;
        return value;
      }
      while (true) {
        value.items.push_back(ParseValue(depth + 1));
        SkipBlanks();
        if (pos_ < text_.size() && text_[pos_] == ',') { ++pos_; continue; }
        if (pos_ < text_.size() && text_[pos_] == ']') { ++pos_; return value; }
        Fail("expected ',' or ']'");
      }
    }
    if (c == '"') {
      value.kind = Json::String;
      value.text = ParseString();
      return value;
    }
    if (Consume("null")) return value;
    if (Consume("true")) { value.kind = Json::Bool; value.boolean = true; return value; }
    if (Consume("false")) { value.kind = Json::Bool; value.boolean = false; return value; }
    if (c == '-' || (c >= '0' && c <= '9')) return ParseNumber();
    Fail("unexpected character");
  }

  Json ParseNumber() {
    Json value;
    value.position = pos_;
    std::size_t start = pos_;
    bool isFloat = false;
    if (text_[pos_] == '-') ++pos_;
    auto digits = [&] {
      std::size_t from = pos_;
      while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
      if (pos_ == from) Fail("expected a digit");
    };
    digits();
    if (pos_ < text_.size() && text_[pos_] == '.') { isFloat = true; ++pos_; digits(); }
    if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
      isFloat = true;
      ++pos_;
      if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) ++pos_;
      digits();
    }
    std::string_view number = text_.substr(start, pos_ - start);
    if (!isFloat) {
      auto result = std::from_chars(number.data(), number.data() + number.size(), value.integer);
      if (result.ec == std::errc()) {
        value.kind = Json::Integer;
        return value;
      }
    }
    auto result = std::from_chars(number.data(), number.data() + number.size(), value.number);
    if (result.ec != std::errc()) { pos_ = start; Fail("number out of range"); }
    value.kind = Json::Number;
    return value;
  }

  unsigned ParseHex4() {
    if (pos_ + 4 > text_.size()) Fail("short \\u escape");
    unsigned code = 0;
    for (int i = 0; i < 4; ++i) {
      char h = text_[pos_++];
      code <<= 4;
      if (h >= '0' && h <= '9') code |= static_cast<unsigned>(h - '0');
      else if (h >= 'a' && h <= 'f') code |= static_cast<unsigned>(h - 'a' + 10);
      else if (h >= 'A' && h <= 'F') code |= static_cast<unsigned>(h - 'A' + 10);
      else { --pos_; Fail("bad \\u escape"); }
    }
    return code;
  }

  std::string ParseString() {
    ++pos_;  // opening quote
    std::u16string wide;
    std::string out;
    auto flushWide = [&] {
      if (!wide.empty()) { out += Utf16ToUtf8(wide); wide.clear(); }
    };
    while (true) {
      if (pos_ >= text_.size()) Fail("unterminated string");
      char c = text_[pos_];
      if (c == '"') { ++pos_; break; }
      if (static_cast<unsigned char>(c) < 0x20) Fail("control character in string");
      if (c != '\\') {
        flushWide();
        out.push_back(c);
        ++pos_;
        continue;
      }
      ++pos_;
      if (pos_ >= text_.size()) Fail("unterminated escape");
      char e = text_[pos_++];
      switch (e) {
        case '"': flushWide(); out.push_back('"'); break;
        case '\\': flushWide(); out.push_back('\\'); break;
        case '/': flushWide(); out.push_back('/'); break;
        case 'b': flushWide(); out.push_back('\b'); break;
        case 'f': flushWide(); out.push_back('\f'); break;
        case 'n': flushWide(); out.push_back('\n'); break;
        case 'r': flushWide(); out.push_back('\r'); break;
        case 't': flushWide(); out.push_back('\t'); break;
        case 'u': wide.push_back(static_cast<char16_t>(ParseHex4())); break;  // pairs join in UTF-16
        default: --pos_; Fail("unknown escape");
      }
    }
    flushWide();
    return out;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

[[noreturn]] void Reject(const Json& at, const std::string& what) { throw EJsonError("Invalid variant JSON: " + what, at.position); }

Variant ToVariant(const Json& json);

bool ParseDate(const std::string& text, TDateTime& out) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, ms = 0;
  int fields = std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d.%3d", &y, &mo, &d, &h, &mi, &s, &ms);
  if (fields != 3 && fields < 6) return false;
  if (!IsValidDate(y, mo, d) || h > 23 || mi > 59 || s > 59 || ms > 999 || h < 0 || mi < 0 || s < 0 || ms < 0) return false;
  out = EncodeDateTime(DateParts{y, mo, d, h, mi, s, ms});
  return true;
}

double NumberOf(const Json& json) {
  if (json.kind == Json::Integer) return static_cast<double>(json.integer);
  if (json.kind == Json::Number) return json.number;
  if (json.kind == Json::String) {
    if (json.text == "NaN") return std::numeric_limits<double>::quiet_NaN();
    if (json.text == "Infinity") return std::numeric_limits<double>::infinity();
    if (json.text == "-Infinity") return -std::numeric_limits<double>::infinity();
  }
  Reject(json, "expected a number");
}

int BoundOf(const Json& json) {
  if (json.kind != Json::Integer || json.integer < std::numeric_limits<int>::min() ||
      json.integer > std::numeric_limits<int>::max())
    Reject(json, "expected an integer bound");
  return static_cast<int>(json.integer);
}

void FillDimension(VariantArray& array, const Json& items, std::vector<int>& indices, std::size_t dim) {
  const auto& bound = array.Bounds()[dim];
  if (items.kind != Json::Array || static_cast<int>(items.items.size()) != bound.Count())
    Reject(items, "items do not match the bounds");
  for (int i = bound.Lo; i <= bound.Hi; ++i) {
    indices[dim] = i;
    const Json& item = items.items[static_cast<std::size_t>(i - bound.Lo)];
    if (dim + 1 == array.Bounds().size()) {
      array.At(indices) = ToVariant(item);
    } else {
      FillDimension(array, item, indices, dim + 1);
    }
  }
}

Variant ArrayFrom(const Json& json) {
  std::vector<ArrayBound> bounds;
  const Json* items = json.Member("items");
  if (!items || items->kind != Json::Array) Reject(json, "an array needs \"items\"");
  if (const Json* lo = json.Member("lo")) {
    int low = BoundOf(*lo);
    bounds.push_back({low, low + static_cast<int>(items->items.size()) - 1});
  } else if (const Json* list = json.Member("bounds")) {
    if (list->kind != Json::Array || list->items.empty()) Reject(*list, "\"bounds\" needs one pair per dimension");
    for (const Json& pair : list->items) {
      if (pair.kind != Json::Array || pair.items.size() != 2) Reject(pair, "a bound is a [lo, hi] pair");
      int low = BoundOf(pair.items[0]);
      int high = BoundOf(pair.items[1]);
      if (high < low - 1) Reject(pair, "the high bound is below the low bound");
      bounds.push_back({low, high});
    }
  } else {
    Reject(json, "an array needs \"lo\" or \"bounds\"");
  }
  VariantArray array(bounds);
  std::vector<int> indices(bounds.size());
  FillDimension(array, *items, indices, 0);
  return Variant::FromArray(std::move(array));
}

Variant ToVariant(const Json& json) {
  switch (json.kind) {
    case Json::Null: return Variant::Null();
    case Json::Bool: return Variant(json.boolean);
    case Json::Integer:
      if (json.integer >= std::numeric_limits<std::int32_t>::min() && json.integer <= std::numeric_limits<std::int32_t>::max())
        return Variant(static_cast<std::int32_t>(json.integer));
      return Variant(static_cast<long long>(json.integer));
    case Json::Number: return Variant(json.number);
    case Json::String: return Variant(Utf8ToUtf16(json.text));
    case Json::Array: {
      std::vector<Variant> items;
      items.reserve(json.items.size());
      for (const Json& item : json.items) items.push_back(ToVariant(item));
      return Variant::ArrayOf(std::move(items));
    }
    case Json::Object: break;
  }
  if (json.members.empty()) Reject(json, "an empty object means nothing");
  const std::string& tag = json.members.front().first;
  const Json& payload = json.members.front().second;
  if (tag == "empty") return Variant();
  if (tag == "double") return Variant(NumberOf(payload));
  if (tag == "currency") return Variant::FromCurrency(NumberOf(payload));
  if (tag == "date") {
    TDateTime date = 0;
    if (payload.kind != Json::String || !ParseDate(payload.text, date))
      Reject(payload, "a date is \"YYYY-MM-DD hh:mm:ss.zzz\"");
    return Variant::FromDate(date);
  }
  if (tag == "ansi") {
    if (payload.kind != Json::String) Reject(payload, "\"ansi\" needs a string");
    return Variant(Utf8ToAnsi(payload.text, GetACP()));
  }
  if (tag == "object") Reject(json, "an automation object cannot be read back");
  if (tag == "lo" || tag == "bounds" || tag == "items") return ArrayFrom(json);
  Reject(json, "unknown variant tag \"" + tag + "\"");
}

}  // namespace

std::string VariantToJson(const Variant& value) {
  std::string out;
  Write(out, value);
  return out;
}

Variant VariantFromJson(std::string_view json) { return ToVariant(Parser(json).ParseDocument()); }

std::string JsonQuote(std::string_view utf8) {
  std::string out;
  AppendQuoted(out, utf8);
  return out;
}

}  // namespace krp
