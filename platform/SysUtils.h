#pragma once
// The runtime's small text routines that the rest of the system leans on: trimming,
// reading and writing numbers and Booleans. Numbers are decimal only.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Strings.h"

namespace krp {

// Trimming removes every character up to and including the blank (control characters
// too), as the runtime's Trim does.
AnsiString Trim(std::string_view text);
AnsiString TrimLeft(std::string_view text);
AnsiString TrimRight(std::string_view text);

// An optional sign and decimal digits, blanks allowed before (not after), as StrToInt reads.
bool TryTextToInt64(std::string_view text, std::int64_t& value);
bool TryStrToInt(std::string_view text, std::int32_t& value);
// Raises EConvertError "'x' is not a valid integer value".
std::int32_t StrToInt(std::string_view text);
std::int32_t StrToIntDef(std::string_view text, std::int32_t fallback);
// Decimal with the process decimal separator, optional exponent; blanks allowed around.
bool TryTextToFloat(std::string_view text, double& value);
// "True"/"False" in any letter case, or a number (non-zero is true).
bool TryTextToBool(std::string_view text, bool& value);

AnsiString IntToStr(std::int64_t value);
// General format with 15 significant digits: 1.5, 0.1, 1E20, 1.5E-7.
AnsiString FloatToStr(double value);

// ASCII-only letter case, as the runtime's UpperCase/LowerCase/SameText.
AnsiString UpperCase(std::string_view text);
AnsiString LowerCase(std::string_view text);
bool SameText(std::string_view a, std::string_view b);

}  // namespace krp
