#include "platform/DateTime.h"

#include <chrono>
#include <cmath>
#include <string>

#include "platform/Exceptions.h"

namespace krp {
namespace {
using namespace std::chrono;
constexpr sys_days kEpoch = sys_days{year{1899} / December / 30};
}  // namespace

bool IsValidDate(int y, int m, int d) {
  if (y < 1 || y > 9999) return false;
  return year_month_day{year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}}.ok() &&
         m >= 1 && d >= 1;
}

bool IsLeapYear(int y) { return year{y}.is_leap(); }

int DaysInMonth(int y, int m) {
  if (m < 1 || m > 12) return 0;
  return static_cast<int>(static_cast<unsigned>(
      year_month_day_last{year{y}, month_day_last{month{static_cast<unsigned>(m)}}}.day()));
}

bool TryEncodeDate(int y, int m, int d, TDateTime& out) {
  if (!IsValidDate(y, m, d)) return false;
  sys_days date{year{y} / month{static_cast<unsigned>(m)} / day{static_cast<unsigned>(d)}};
  out = static_cast<double>((date - kEpoch).count());
  return true;
}

TDateTime EncodeDate(int y, int m, int d) {
  TDateTime out = 0;
  if (!TryEncodeDate(y, m, d, out)) throw EConvertError("Invalid argument to date encode");
  return out;
}

TDateTime EncodeTime(int h, int n, int s, int ms) {
  if (h < 0 || h > 23 || n < 0 || n > 59 || s < 0 || s > 59 || ms < 0 || ms > 999)
    throw EConvertError("Invalid argument to time encode");
  return (h * 3600000.0 + n * 60000.0 + s * 1000.0 + ms) / 86400000.0;
}

TDateTime EncodeDateTime(const DateParts& p) {
  TDateTime date = EncodeDate(p.Year, p.Month, p.Day);
  TDateTime time = EncodeTime(p.Hour, p.Minute, p.Second, p.Millisecond);
  // Before the epoch the fraction counts away from zero, as in the runtime.
  return date >= 0 ? date + time : date - time;
}

DateParts DecodeDateTime(TDateTime value) {
  DateParts parts;
  double whole = std::trunc(value);
  double fraction = std::fabs(value - whole);
  auto ms = static_cast<long long>(std::llround(fraction * 86400000.0));
  if (ms >= 86400000LL) {  // rounding reached the next day
    ms -= 86400000LL;
    whole += value >= 0 ? 1 : -1;
  }
  year_month_day ymd{kEpoch + days{static_cast<long long>(whole)}};
  parts.Year = static_cast<int>(ymd.year());
  parts.Month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  parts.Day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  parts.Hour = static_cast<int>(ms / 3600000LL);
  parts.Minute = static_cast<int>(ms / 60000LL % 60);
  parts.Second = static_cast<int>(ms / 1000LL % 60);
  parts.Millisecond = static_cast<int>(ms % 1000LL);
  return parts;
}

int DayOfWeek(TDateTime value) {
  weekday wd{kEpoch + days{static_cast<long long>(std::trunc(value))}};
  return static_cast<int>(wd.c_encoding()) + 1;
}

}  // namespace krp
