#include "uFormatters.h"

#include "uExceptions.h"

#include <QCoreApplication>
#include <QLocale>
#include <QRegularExpression>
#include <cmath>

namespace Formatters
{

namespace
{

const QString TimeOfDayFormat = QStringLiteral("HH:mm:ss");

QString Repeat(QChar c, int count)
{
    return QString(count, c);
}

// Length of the run of `c` (case-insensitive) starting at `pos`.
int RunLength(const QString& text, qsizetype pos)
{
    const QChar c = text.at(pos).toLower();
    qsizetype end = pos;
    while (end < text.size() && text.at(end).toLower() == c)
        ++end;
    return int(end - pos);
}

// A literal for a Qt pattern: letters are quoted so Qt does not read them as fields.
QString QtLiteral(QChar c)
{
    if (c == u'\'')
        return QStringLiteral("''");
    if (c.isLetter())
        return u'\'' + QString(c) + u'\'';
    return QString(c);
}

QString InvalidFloatMessage(const QString& text)
{
    return QCoreApplication::translate("Formatters", "'%1' is not a valid floating point value",
                                       "stINVALIDFLOAT")
        .arg(text);
}

// The day and the time of day (in whole milliseconds) of a value: before the epoch the day counts
// backwards while the time still counts forwards, so the time is the absolute fraction.
struct DayAndTime {
    double day;
    qint64 msecsOfDay;
};

DayAndTime Split(TDateTime value)
{
    double day = std::trunc(value);
    qint64 msecs = std::llround(std::fabs(value - day) * DateTimeConv::SecondsPerDay * 1000.0);
    if (msecs >= qint64(DateTimeConv::SecondsPerDay) * 1000) { // rounded up to the next midnight
        day += value < 0 ? -1.0 : 1.0;
        msecs = 0;
    }
    return {day, msecs};
}

} // namespace

QString QtDateTimeFormat(const QString& delphiFormat)
{
    const bool twelveHour = delphiFormat.contains(QLatin1String("am/pm"), Qt::CaseInsensitive);
    QString result;
    bool afterHour = false;
    qsizetype pos = 0;
    while (pos < delphiFormat.size()) {
        const QChar c = delphiFormat.at(pos);
        const QChar lower = c.toLower();
        if (c == u'"' || c == u'\'') { // quoted literal
            qsizetype end = delphiFormat.indexOf(c, pos + 1);
            if (end < 0)
                end = delphiFormat.size();
            for (qsizetype i = pos + 1; i < end; ++i)
                result += QtLiteral(delphiFormat.at(i));
            pos = end + 1;
            continue;
        }
        if (twelveHour &&
            delphiFormat.mid(pos, 5).compare(QLatin1String("am/pm"), Qt::CaseInsensitive) == 0) {
            result += c.isUpper() ? QStringLiteral("AP") : QStringLiteral("ap");
            pos += 5;
            continue;
        }
        const int run = RunLength(delphiFormat, pos);
        if (lower == u'd') {
            result += Repeat(u'd', qMin(run, 4));
        } else if (lower == u'm' && afterHour) {
            result += Repeat(u'm', qMin(run, 2));
        } else if (lower == u'm') {
            result += Repeat(u'M', qMin(run, 4));
        } else if (lower == u'n') {
            result += Repeat(u'm', qMin(run, 2));
        } else if (lower == u'y') {
            result += run <= 2 ? QStringLiteral("yy") : QStringLiteral("yyyy");
        } else if (lower == u'h') {
            result += Repeat(twelveHour ? u'h' : u'H', qMin(run, 2));
        } else if (lower == u's') {
            result += Repeat(u's', qMin(run, 2));
        } else if (lower == u'z') {
            result += run >= 3 ? QStringLiteral("zzz") : QStringLiteral("z");
        } else {
            result += QtLiteral(c);
            pos += 1;
            continue;
        }
        afterHour = lower == u'h';
        pos += run;
    }
    return result;
}

QString FormatDateTimeForSQL(TDateTime value, const QString& dbDateFormat, TMidnight midnight)
{
    const QDate date = DateTimeConv::ToQDate(value);
    const QTime time = DateTimeConv::ToQTime(value);
    const QString dateText = QLocale::c().toString(date, QtDateTimeFormat(dbDateFormat));
    if (time == QTime(0, 0) && midnight == TMidnight::DateOnly)
        return dateText;
    return dateText + u' ' + time.toString(TimeOfDayFormat);
}

QString FormatOptionalDateTimeForSQL(TDateTime value, const QString& dbDateFormat, TMidnight midnight)
{
    if (value == 0)
        return QStringLiteral("null");
    return u'\'' + FormatDateTimeForSQL(value, dbDateFormat, midnight) + u'\'';
}

QString DateTimeFormatText(const QString& dbDateFormat)
{
    return dbDateFormat + u' ' + TimeOfDayFormat;
}

QString FormatFloatForSQL(double value)
{
    if (!std::isfinite(value))
        throw Exception(InvalidFloatMessage(QString::number(value)));
    if (value == 0) // also turns -0 into 0
        return QStringLiteral("0");
    return QString::number(value, 'g', 15); // QString::number ignores the locale
}

QString FormatNumberForSQL(const QString& numberText)
{
    const QLocale locale;
    QString text = numberText.trimmed();
    const QString decimalPoint = locale.decimalPoint();
    bool ok = false;
    double value = 0;
    // The decimal key filter accepts '.' beside the locale's decimal separator, so "12.5" typed
    // where ',' is the separator means 12,5 and not 125.
    if (decimalPoint != u"." && !text.contains(decimalPoint) && text.count(u'.') == 1) {
        value = QLocale::c().toDouble(text, &ok);
    } else {
        text.remove(locale.groupSeparator());
        value = locale.toDouble(text, &ok);
    }
    if (!ok)
        throw Exception(InvalidFloatMessage(numberText));
    return FormatFloatForSQL(value);
}

QString TimeOfDayForSQL(const QString& timeText)
{
    const QString text = timeText.trimmed();
    if (text.isEmpty())
        return QStringLiteral("null");
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?\\s*(am|pm)?$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(text);
    int hour = match.captured(1).toInt();
    const int minute = match.captured(2).toInt();
    const int second = match.captured(3).toInt();
    const QString meridiem = match.captured(4).toLower();
    const int lastHour = meridiem.isEmpty() ? 23 : 12;
    if (!match.hasMatch() || hour > lastHour || minute > 59 || second > 59)
        throw Exception(QCoreApplication::translate("Formatters", "'%1' is not a valid time", "stINVALIDTIME")
                            .arg(timeText));
    if (!meridiem.isEmpty())
        hour = hour % 12 + (meridiem == u"pm" ? 12 : 0);
    return FormatFloatForSQL(DateTimeConv::EncodeTime(hour, minute, second));
}

QString DisplayTimeFormat(int timeFormat)
{
    return timeFormat != 0 ? TimeOfDayFormat : QStringLiteral("hh:mm am/pm");
}

QString FormatTimeOfDay(TDateTime value, int timeFormat)
{
    if (value == 0)
        return {};
    return QLocale::c().toString(DateTimeConv::ToQTime(value),
                                 QtDateTimeFormat(DisplayTimeFormat(timeFormat)));
}

QString MinutesAsHours(double minutes)
{
    double value = std::isfinite(minutes) ? std::fabs(minutes) : 0.0;
    // A value a hair below a whole minute (from float arithmetic) counts as that minute.
    if (std::trunc((value - std::trunc(value)) * 60) == 59)
        value += 1.0 / DateTimeConv::SecondsPerDay;
    const double whole = std::trunc(value);
    const double hours = std::trunc(whole / 60);
    const auto twoDigits = [](double part) { return QString::number(part, 'f', 0).rightJustified(2, u'0'); };
    return u' ' + twoDigits(hours) + u':' + twoDigits(whole - hours * 60);
}

double DaysToMinutes(double days)
{
    return days * 24 * 60;
}

TDateTime TruncateToMinute(TDateTime value)
{
    const DayAndTime parts = Split(value);
    const double time = double(parts.msecsOfDay / 60000) / DateTimeConv::MinutesPerDay;
    return value < 0 ? parts.day - time : parts.day + time;
}

int PowerOfTwo(int n)
{
    return n >= 0 && n <= 30 ? 1 << n : 0;
}

int BitTextToInteger(const QString& bits)
{
    int value = 0;
    for (int i = 0; i < bits.size() && i <= 30; ++i) {
        if (bits.at(i) == u'1')
            value += PowerOfTwo(i);
    }
    return value;
}

QString IntegerToBitText(int value, int minimumLength)
{
    QString bits;
    // A negative value is taken as its 32-bit pattern, so the loop ends.
    for (quint32 rest = quint32(value); rest != 0; rest >>= 1)
        bits += (rest & 1) ? u'1' : u'0';
    return bits.leftJustified(minimumLength, u'0');
}

QString JoinWithComma(const QString& first, const QString& second)
{
    if (first.isEmpty() || second.isEmpty())
        return second + first;
    return second + QStringLiteral(", ") + first;
}

QString EmployeeNameLastFirst(const QString& firstName, const QString& lastName)
{
    return JoinWithComma(firstName.trimmed(), lastName.trimmed());
}

QString EmployeeNameFirstLast(const QString& firstName, const QString& lastName)
{
    const QString first = firstName.trimmed();
    const QString last = lastName.trimmed();
    if (first.isEmpty() || last.isEmpty())
        return first + last;
    return first + u' ' + last;
}

} // namespace Formatters
