#pragma once
// The two string kinds of the system. AnsiString holds bytes in an ANSI code page (Big5 in
// normal use); WideString is UTF-16, the string of OLE variants.
#include <string>
#include <string_view>

namespace krp {

using AnsiString = std::string;
using WideString = std::u16string;

}  // namespace krp
