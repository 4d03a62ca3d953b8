#pragma once
// The process's date and time format settings, and the thread locale's date separator,
// as the Windows locale would give them. Hosts and tests change them to exercise other
// locales. The date-time text routines of the runtime read them.
#include <string>
#include <string_view>

#include "platform/DateTime.h"

namespace krp {

struct FormatSettings {
  char DateSeparator = '/';
  std::string ShortDateFormat = "yyyy/M/d";
  char TimeSeparator = ':';
  std::string LongTimeFormat = "H:mm:ss";
  char DecimalSeparator = '.';
};

// The process-wide settings (a Traditional-Chinese Windows by default).
FormatSettings& ProcessFormatSettings();
// The thread locale's date separator (what the locale itself defines, which a process
// may have overridden in its own settings).
char ThreadLocaleDateSeparator();
void SetThreadLocaleDateSeparator(char separator);

// The runtime's FormatDateTime patterns: yyyy yy mm m dd d (mm after h is minutes),
// hh h nn n ss s zzz, "/" and ":" stand for the settings' separators, text in quotes is
// literal; anything else is copied.
std::string FormatDateTime(std::string_view pattern, TDateTime value,
                           const FormatSettings& settings = ProcessFormatSettings());
// The short date, then the long time unless the time of day is zero.
std::string DateTimeToStr(TDateTime value, const FormatSettings& settings = ProcessFormatSettings());
// Reads a date in the order of the short date format, with the date separator, optionally
// followed by a time "h:n[:s[.z]]" with the time separator.
bool TryStrToDateTime(std::string_view text, TDateTime& value,
                      const FormatSettings& settings = ProcessFormatSettings());

}  // namespace krp
