#include "platform/FormatSettings.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <vector>

#include "platform/SysUtils.h"

namespace krp {
namespace {
char gThreadLocaleDateSeparator = '/';

std::string Padded(int value, int width) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
  return buffer;
}

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }
}  // namespace

FormatSettings& ProcessFormatSettings() {
  static FormatSettings settings;
  return settings;
}

char ThreadLocaleDateSeparator() { return gThreadLocaleDateSeparator; }
void SetThreadLocaleDateSeparator(char separator) { gThreadLocaleDateSeparator = separator; }

std::string FormatDateTime(std::string_view pattern, TDateTime value, const FormatSettings& settings) {
  const DateParts p = DecodeDateTime(value);
  std::string out;
  bool lastWasHour = false;
  std::size_t i = 0;
  auto runOf = [&](char letter) {
    std::size_t n = 0;
    while (i + n < pattern.size() && Lower(pattern[i + n]) == letter) ++n;
    return n;
  };
  while (i < pattern.size()) {
    char c = pattern[i];
    char lc = Lower(c);
    if (c == '"' || c == '\'') {
      std::size_t close = pattern.find(c, i + 1);
      if (close == std::string_view::npos) close = pattern.size();
      out.append(pattern.substr(i + 1, close - i - 1));
      i = close + 1;
      continue;
    }
    if (c == '/') { out.push_back(settings.DateSeparator); ++i; continue; }
    if (c == ':') { out.push_back(settings.TimeSeparator); ++i; continue; }
    std::size_t n = runOf(lc);
    switch (lc) {
      case 'y': out += n <= 2 ? Padded(p.Year % 100, 2) : Padded(p.Year, 4); lastWasHour = false; break;
      case 'm':
        if (lastWasHour) out += n >= 2 ? Padded(p.Minute, 2) : std::to_string(p.Minute);
        else out += n >= 2 ? Padded(p.Month, 2) : std::to_string(p.Month);
        lastWasHour = false;
        break;
      case 'd': out += n >= 2 ? Padded(p.Day, 2) : std::to_string(p.Day); lastWasHour = false; break;
      case 'h': out += n >= 2 ? Padded(p.Hour, 2) : std::to_string(p.Hour); lastWasHour = true; break;
      case 'n': out += n >= 2 ? Padded(p.Minute, 2) : std::to_string(p.Minute); lastWasHour = false; break;
      case 's': out += n >= 2 ? Padded(p.Second, 2) : std::to_string(p.Second); lastWasHour = false; break;
      case 'z': out += n >= 3 ? Padded(p.Millisecond, 3) : std::to_string(p.Millisecond); lastWasHour = false; break;
      default: out.append(pattern.substr(i, n == 0 ? 1 : n)); if (n == 0) n = 1; break;
    }
    i += n;
  }
  return out;
}

std::string DateTimeToStr(TDateTime value, const FormatSettings& settings) {
  double whole = std::trunc(value);
  double fraction = std::fabs(value - whole);
  if (whole == 0 && fraction != 0) return FormatDateTime(settings.LongTimeFormat, value, settings);
  std::string text = FormatDateTime(settings.ShortDateFormat, value, settings);
  if (fraction != 0) text += " " + FormatDateTime(settings.LongTimeFormat, value, settings);
  return text;
}

bool TryStrToDateTime(std::string_view raw, TDateTime& value, const FormatSettings& settings) {
  std::string text = Trim(raw);
  std::string datePart = text;
  std::string timePart;
  if (auto blank = text.find(' '); blank != std::string::npos) {
    datePart = text.substr(0, blank);
    timePart = Trim(text.substr(blank + 1));
  }
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (true) {
    std::size_t sep = datePart.find(settings.DateSeparator, start);
    fields.push_back(datePart.substr(start, sep == std::string::npos ? std::string::npos : sep - start));
    if (sep == std::string::npos) break;
    start = sep + 1;
  }
  if (fields.size() != 3) return false;
  // Field order follows the first letters of the short date format.
  std::string order;
  for (char c : settings.ShortDateFormat) {
    char lc = Lower(c);
    if ((lc == 'y' || lc == 'm' || lc == 'd') && order.find(lc) == std::string::npos) order.push_back(lc);
  }
  if (order.size() != 3) order = "ymd";
  int y = 0, m = 0, d = 0;
  for (std::size_t k = 0; k < 3; ++k) {
    std::int32_t number = 0;
    if (fields[k].empty() || !TryStrToInt(fields[k], number)) return false;
    if (order[k] == 'y') y = number < 100 && fields[k].size() <= 2 ? 2000 + number : number;
    if (order[k] == 'm') m = number;
    if (order[k] == 'd') d = number;
  }
  TDateTime date = 0;
  if (!TryEncodeDate(y, m, d, date)) return false;
  TDateTime time = 0;
  if (!timePart.empty()) {
    int parts[4] = {0, 0, 0, 0};
    std::size_t index = 0;
    std::string current;
    for (char c : timePart + settings.TimeSeparator) {
      if (c == settings.TimeSeparator || (c == '.' && index == 2)) {
        std::int32_t number = 0;
        if (current.empty() || index > 3 || !TryStrToInt(current, number)) return false;
        parts[index++] = number;
        current.clear();
      } else {
        current.push_back(c);
      }
    }
    if (index < 2) return false;
    if (parts[0] > 23 || parts[1] > 59 || parts[2] > 59 || parts[3] > 999) return false;
    time = EncodeTime(parts[0], parts[1], parts[2], parts[3]);
  }
  value = date >= 0 ? date + time : date - time;
  return true;
}

}  // namespace krp
