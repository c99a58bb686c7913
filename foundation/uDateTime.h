#pragma once

#include <QDateTime>

// In memory a date-time is a double: days since 1899-12-30, the fraction being the time of day.
// Conversions are zone-free: a value means the wall-clock time it names.
using TDateTime = double;

namespace DateTimeConv {

constexpr double MinutesPerDay = 1440.0;
constexpr double SecondsPerDay = 86400.0;

TDateTime FromQDateTime(const QDateTime& value);
TDateTime FromQDate(const QDate& value);
QDateTime ToQDateTime(TDateTime value);
QDate ToQDate(TDateTime value);
QTime ToQTime(TDateTime value);
// Builds a value from its parts; a time of day is a fraction of one day.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second = 0, int msec = 0);

} // namespace DateTimeConv
