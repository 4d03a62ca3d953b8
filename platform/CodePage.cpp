#include "platform/CodePage.h"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace krp {
namespace {

std::atomic<int> gAnsiCodePage{CP_BIG5};

std::string IcuNameFor(int codePage) {
  switch (codePage) {
    // The plain windows-950 / windows-936 aliases are ambiguous in ICU; these are the
    // tables Windows itself uses.
    case 950: return "windows-950-2000";
    case 936: return "windows-936-2000";
    case 65001: return "UTF-8";
    case 54936: return "gb18030";
    case 20127: return "US-ASCII";
    case 28591: return "ISO-8859-1";
    case 437: return "ibm-437";
    case 932: return "ibm-943_P15A-2003";
    default: return "windows-" + std::to_string(codePage);
  }
}

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// Converters are opened once per code page and reused; the module runs on one thread,
// but the lock keeps the cache sound for tests that convert from several.
class ConverterCache {
 public:
  template <typename F>
  auto With(int codePage, F&& use) -> std::optional<decltype(use(static_cast<UConverter*>(nullptr)))> {
    std::lock_guard lock(mutex_);
    auto it = converters_.find(codePage);
    if (it == converters_.end()) {
      UErrorCode status = U_ZERO_ERROR;
      ConverterPtr converter(ucnv_open(IcuNameFor(codePage).c_str(), &status));
      if (U_FAILURE(status) || status == U_AMBIGUOUS_ALIAS_WARNING) {
        if (U_FAILURE(status)) converter.reset();
      }
      if (converter) {
        // Windows answers "?" for characters a code page lacks.
        UErrorCode subStatus = U_ZERO_ERROR;
        ucnv_setSubstChars(converter.get(), "?", 1, &subStatus);
      }
      it = converters_.emplace(codePage, std::move(converter)).first;
    }
    if (!it->second) return std::nullopt;
    ucnv_reset(it->second.get());
    return use(it->second.get());
  }

 private:
  std::mutex mutex_;
  std::map<int, ConverterPtr> converters_;
};

ConverterCache& Cache() {
  static ConverterCache cache;
  return cache;
}

}  // namespace

int GetACP() { return gAnsiCodePage.load(); }
void SetACP(int codePage) { gAnsiCodePage.store(codePage); }

bool IsValidCodePage(int codePage) {
  return Cache().With(codePage, [](UConverter*) { return true; }).has_value();
}

std::optional<WideString> TryAnsiToUnicode(std::string_view bytes, int codePage) {
  return Cache().With(codePage, [&](UConverter* cnv) {
    WideString out;
    if (bytes.empty()) return out;
    out.resize(bytes.size() * 2 + 2);
    UErrorCode status = U_ZERO_ERROR;
    int32_t n = ucnv_toUChars(cnv, reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                              bytes.data(), static_cast<int32_t>(bytes.size()), &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
      out.resize(static_cast<std::size_t>(n) + 1);
      status = U_ZERO_ERROR;
      ucnv_reset(cnv);
      n = ucnv_toUChars(cnv, reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                        bytes.data(), static_cast<int32_t>(bytes.size()), &status);
    }
    if (U_FAILURE(status)) n = 0;
    out.resize(static_cast<std::size_t>(n));
    return out;
  });
}

WideString AnsiToUnicode(std::string_view bytes, int codePage) {
  if (auto converted = TryAnsiToUnicode(bytes, codePage)) return *converted;
  if (codePage != GetACP()) {
    if (auto converted = TryAnsiToUnicode(bytes, GetACP())) return *converted;
  }
  // No usable code page at all: keep the bytes as Latin-1 so nothing is lost silently.
  return WideString(bytes.begin(), bytes.end());
}

WideString AnsiToUnicode(std::string_view bytes) { return AnsiToUnicode(bytes, GetACP()); }

AnsiString UnicodeToAnsi(std::u16string_view text, int codePage) {
  auto converted = Cache().With(codePage, [&](UConverter* cnv) {
    AnsiString out;
    if (text.empty()) return out;
    out.resize(text.size() * 4 + 4);
    UErrorCode status = U_ZERO_ERROR;
    int32_t n = ucnv_fromUChars(cnv, out.data(), static_cast<int32_t>(out.size()),
                                reinterpret_cast<const UChar*>(text.data()),
                                static_cast<int32_t>(text.size()), &status);
    if (U_FAILURE(status)) n = 0;
    out.resize(static_cast<std::size_t>(n));
    return out;
  });
  if (converted) return *converted;
  if (codePage != GetACP()) return UnicodeToAnsi(text, GetACP());
  AnsiString fallback;
  for (char16_t c : text) fallback.push_back(c < 0x100 ? static_cast<char>(c) : '?');
  return fallback;
}

AnsiString UnicodeToAnsi(std::u16string_view text) { return UnicodeToAnsi(text, GetACP()); }

WideString Utf8ToUtf16(std::string_view utf8) {
  if (utf8.empty()) return {};
  WideString out(utf8.size() + 1, u'\0');
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8WithSub(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()), &length,
                       utf8.data(), static_cast<int32_t>(utf8.size()), 0xFFFD, nullptr, &status);
  if (U_FAILURE(status)) return {};
  out.resize(static_cast<std::size_t>(length));
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  if (text.empty()) return {};
  std::string out(text.size() * 3 + 1, '\0');
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length,
                     reinterpret_cast<const UChar*>(text.data()), static_cast<int32_t>(text.size()), 0xFFFD,
                     nullptr, &status);
  if (U_FAILURE(status)) return {};
  out.resize(static_cast<std::size_t>(length));
  return out;
}

std::string AnsiToUtf8(std::string_view bytes, int codePage) { return Utf16ToUtf8(AnsiToUnicode(bytes, codePage)); }
std::string AnsiToUtf8(std::string_view bytes) { return AnsiToUtf8(bytes, GetACP()); }
AnsiString Utf8ToAnsi(std::string_view utf8, int codePage) { return UnicodeToAnsi(Utf8ToUtf16(utf8), codePage); }

AnsiString Big5(std::string_view utf8Literal) { return Utf8ToAnsi(utf8Literal, CP_BIG5); }

bool IsLeadByte(unsigned char byte, int codePage) {
  switch (codePage) {
    case 932: return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950: return byte >= 0x81 && byte <= 0xFE;
    default: return false;
  }
}

std::size_t CharLengthAt(std::string_view bytes, std::size_t index, int codePage) {
  if (index + 1 < bytes.size() && IsLeadByte(static_cast<unsigned char>(bytes[index]), codePage)) return 2;
  return 1;
}

}  // namespace krp
