#include "uDateTime.h"


#include <cmath>

namespace DateTimeConv {

namespace {
// Julian day number of 1899-12-30, the day whose value is 0.
const qint64 EpochJulianDay = QDate(1899, 12, 30).toJulianDay();
constexpr qint64 MsecsPerDay = 86400000;
} // namespace

TDateTime FromQDate(const QDate& value)
{
    return value.isValid() ? double(value.toJulianDay() - EpochJulianDay) : 0.0;
}

TDateTime FromQDateTime(const QDateTime& value)
{
    if (!value.isValid())
        return 0.0;
    const double day = FromQDate(value.date());
    const double time = double(value.time().msecsSinceStartOfDay()) / double(MsecsPerDay);
    // Before the epoch the day counts backwards while the time still counts forwards.
    return day < 0 ? day - time : day + time;
}

QDateTime ToQDateTime(TDateTime value)
{
    // Round to the millisecond first so 0.5 - epsilon does not become 11:59:59.999.
    const qint64 msecs = std::llround(value * double(MsecsPerDay));
    qint64 days = msecs / MsecsPerDay;
    qint64 rest = msecs % MsecsPerDay;
    if (rest < 0) {
        // Negative values count days backwards but the time of day forwards, as the calendar does.
        rest = -rest;
    }
    const QDate date = QDate::fromJulianDay(EpochJulianDay + days);
    const QTime time = QTime::fromMSecsSinceStartOfDay(int(rest));
    const QDateTime local(date, time);
    // A wall-clock time inside a daylight-saving gap does not exist locally; keep its fields as a
    // zone-free value rather than returning an invalid date-time.
    return local.isValid() ? local : QDateTime(date, time, Qt::UTC);
}

QDate ToQDate(TDateTime value) { return ToQDateTime(value).date(); }
QTime ToQTime(TDateTime value) { return ToQDateTime(value).time(); }

TDateTime EncodeDate(int year, int month, int day) { return FromQDate(QDate(year, month, day)); }

TDateTime EncodeTime(int hour, int minute, int second, int msec)
{
    return (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + msec) / double(MsecsPerDay);
}

} // namespace DateTimeConv
