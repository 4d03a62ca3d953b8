#include "platform/SysUtils.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/Exceptions.h"
#include "platform/FormatSettings.h"

namespace krp {
namespace {
bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }
char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

AnsiString Trim(std::string_view text) { return TrimRight(TrimLeft(text)); }

AnsiString TrimLeft(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlankOrControl(text[i])) ++i;
  return AnsiString(text.substr(i));
}

AnsiString TrimRight(std::string_view text) {
  std::size_t n = text.size();
  while (n > 0 && IsBlankOrControl(text[n - 1])) --n;
  return AnsiString(text.substr(0, n));
}

bool TryTextToInt64(std::string_view text, std::int64_t& value) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i >= text.size()) return false;
  std::uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c < '0' || c > '9') return false;
    std::uint64_t next = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
    if (magnitude > (std::numeric_limits<std::uint64_t>::max() - 9) / 10) return false;
    magnitude = next;
  }
  if (negative) {
    if (magnitude > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + 1) return false;
    value = static_cast<std::int64_t>(0 - magnitude);
  } else {
    if (magnitude > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) return false;
    value = static_cast<std::int64_t>(magnitude);
  }
  return true;
}

bool TryStrToInt(std::string_view text, std::int32_t& value) {
  std::int64_t wide = 0;
  if (!TryTextToInt64(text, wide)) return false;
  if (wide < std::numeric_limits<std::int32_t>::min() || wide > std::numeric_limits<std::int32_t>::max()) return false;
  value = static_cast<std::int32_t>(wide);
  return true;
}

std::int32_t StrToInt(std::string_view text) {
  std::int32_t value = 0;
  if (!TryStrToInt(text, value)) throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
  return value;
}

std::int32_t StrToIntDef(std::string_view text, std::int32_t fallback) {
  std::int32_t value = 0;
  return TryStrToInt(text, value) ? value : fallback;
}

bool TryTextToFloat(std::string_view raw, double& value) {
  AnsiString text = Trim(raw);
  if (text.empty()) return false;
  const char decimal = ProcessFormatSettings().DecimalSeparator;
  // Validate the shape ourselves: digits, one decimal separator, optional exponent.
  std::string normalized;
  std::size_t i = 0;
  if (text[i] == '+' || text[i] == '-') normalized.push_back(text[i++]);
  bool digits = false;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) { normalized.push_back(text[i++]); digits = true; }
  if (i < text.size() && text[i] == decimal) {
    normalized.push_back('.');
    ++i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) { normalized.push_back(text[i++]); digits = true; }
  }
  if (!digits) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    normalized.push_back('e');
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) normalized.push_back(text[i++]);
    bool exponentDigits = false;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) { normalized.push_back(text[i++]); exponentDigits = true; }
    if (!exponentDigits) return false;
  }
  if (i != text.size()) return false;
  errno = 0;
  char* end = nullptr;
  double parsed = std::strtod(normalized.c_str(), &end);
  if (end != normalized.c_str() + normalized.size() || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

bool TryTextToBool(std::string_view text, bool& value) {
  if (SameText(text, "True")) { value = true; return true; }
  if (SameText(text, "False")) { value = false; return true; }
  double number = 0;
  if (TryTextToFloat(text, number)) { value = number != 0; return true; }
  return false;
}

AnsiString IntToStr(std::int64_t value) { return std::to_string(value); }

AnsiString FloatToStr(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15G", value);
  std::string text = buffer;
  // "%G" writes 1E+20 and 1.5E-07; the runtime writes 1E20 and 1.5E-7.
  auto e = text.find('E');
  if (e != std::string::npos) {
    std::string mantissa = text.substr(0, e);
    std::string exponent = text.substr(e + 1);
    bool negative = !exponent.empty() && exponent[0] == '-';
    std::size_t start = (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) ? 1 : 0;
    while (start + 1 < exponent.size() && exponent[start] == '0') ++start;
    text = mantissa + "E" + (negative ? "-" : "") + exponent.substr(start);
  }
  const char decimal = ProcessFormatSettings().DecimalSeparator;
  if (decimal != '.') {
    for (char& c : text) if (c == '.') c = decimal;
  }
  return text;
}

AnsiString UpperCase(std::string_view text) {
  AnsiString out(text);
  for (char& c : out) c = AsciiUpper(c);
  return out;
}

AnsiString LowerCase(std::string_view text) {
  AnsiString out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  return true;
}

}  // namespace krp
