#pragma once
// Conversion between byte strings in a Windows code page and UTF-16, through ICU.
// The process ANSI code page is a setting (950 unless a host or test changes it).
#include <optional>
#include <string_view>

#include "platform/Strings.h"

namespace krp {

constexpr int CP_BIG5 = 950;
constexpr int CP_GBK = 936;
constexpr int CP_UTF8 = 65001;

// The process ANSI code page, as GetACP would answer.
int GetACP();
void SetACP(int codePage);

// True when a converter for the code page can be opened.
bool IsValidCodePage(int codePage);

// Bytes to UTF-16. Invalid byte sequences become the substitution character.
// Returns nullopt only when the code page is unknown.
std::optional<WideString> TryAnsiToUnicode(std::string_view bytes, int codePage);
// As TryAnsiToUnicode; an unknown code page falls back to the process ANSI code page.
WideString AnsiToUnicode(std::string_view bytes, int codePage);
WideString AnsiToUnicode(std::string_view bytes);  // process ANSI code page

// UTF-16 to bytes. Characters the code page lacks become "?".
AnsiString UnicodeToAnsi(std::u16string_view text, int codePage);
AnsiString UnicodeToAnsi(std::u16string_view text);  // process ANSI code page

// UTF-8 <-> UTF-16 (no code page involved).
WideString Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view text);

// Bytes in a code page to UTF-8 and back, for output and for fixed texts.
std::string AnsiToUtf8(std::string_view bytes, int codePage);
std::string AnsiToUtf8(std::string_view bytes);  // process ANSI code page
AnsiString Utf8ToAnsi(std::string_view utf8, int codePage);

// The module's fixed texts are written in UTF-8 in the source; this is the one place
// that turns such a literal into its Big5 bytes.
AnsiString Big5(std::string_view utf8Literal);

// Lead bytes of the double-byte code pages (932, 936, 949, 950); false for every byte
// of a single-byte code page. A trail byte may be any of 0x40-0x7E, so byte-wise
// searches for "\" or "~" must step over whole characters.
bool IsLeadByte(unsigned char byte, int codePage);
// Length in bytes of the character that starts at bytes[index] (1 or 2).
std::size_t CharLengthAt(std::string_view bytes, std::size_t index, int codePage);

}  // namespace krp
