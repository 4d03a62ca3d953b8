#pragma once
// TDateTime: days since 30 December 1899 (local time), the fraction being the time of day.
#include <cstdint>

namespace krp {

using TDateTime = double;

struct DateParts {
  int Year = 1899, Month = 12, Day = 30;
  int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
  friend bool operator==(const DateParts&, const DateParts&) = default;
};

bool IsValidDate(int year, int month, int day);
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
// Raises EConvertError for a day that does not exist.
TDateTime EncodeDate(int year, int month, int day);
bool TryEncodeDate(int year, int month, int day, TDateTime& out);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
TDateTime EncodeDateTime(const DateParts& parts);
DateParts DecodeDateTime(TDateTime value);
// 1 = Sunday ... 7 = Saturday, as the runtime's DayOfWeek.
int DayOfWeek(TDateTime value);

}  // namespace krp
