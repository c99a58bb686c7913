#pragma once

#include "uDateTime.h"

#include <QString>

// Values written into SQL texts and shown to the user. Every function is pure: the database date
// format (a Delphi-style pattern such as "yyyy-mm-dd" or "DD/MM/YYYY", read from the database at
// start-up) is passed in, and numbers always use '.' whatever the user's locale says.
namespace Formatters
{

// Delphi date-time pattern → Qt pattern: d/m/y are day, month and year; h, n (or m right after h)
// and s the time; "am/pm" switches to the 12-hour clock. Other characters are kept literally.
QString QtDateTimeFormat(const QString& delphiFormat);

// How a date-time at exactly midnight is written: servers take the date alone; the local database
// keeps timestamps as text, where "2024-03-05" would sort before "2024-03-05 00:00:00", so there
// every value carries its time and all stored timestamps have one form.
enum class TMidnight { DateOnly, WithTime };

// Date in the database date format, a blank and "HH:mm:ss"; only the date at exactly midnight
// unless `midnight` asks for the time.
QString FormatDateTimeForSQL(TDateTime value, const QString& dbDateFormat,
                             TMidnight midnight = TMidnight::DateOnly);
// 0 (no date-time) gives the bare word null, anything else the quoted formatted value.
QString FormatOptionalDateTimeForSQL(TDateTime value, const QString& dbDateFormat,
                                     TMidnight midnight = TMidnight::DateOnly);
// Database date format + " HH:mm:ss".
QString DateTimeFormatText(const QString& dbDateFormat);

// General format, up to 15 significant digits, '.' as decimal point, no thousands separator.
QString FormatFloatForSQL(double value);
// A number typed or formatted in the user's locale (QLocale()), its thousands separators removed,
// written for SQL. Raises Exception when the text is not a number.
QString FormatNumberForSQL(const QString& numberText);
// "H:mm[:ss][ am/pm]" → its day fraction for SQL; empty text gives null. Raises Exception when the
// text is not a time.
QString TimeOfDayForSQL(const QString& timeText);

// TIMEFORMAT of the company settings: 0 the 12-hour clock, anything else the 24-hour clock.
QString DisplayTimeFormat(int timeFormat);
// The time part in the display time format; empty for 0.
QString FormatTimeOfDay(TDateTime value, int timeFormat);

// " HH:MM" from a minute count (its absolute value); hours grow past two digits when needed.
QString MinutesAsHours(double minutes);
double DaysToMinutes(double days);
TDateTime TruncateToMinute(TDateTime value);

// Bit sets shown as check lists: one '0'/'1' character per bit, lowest bit first.
int PowerOfTwo(int n);
int BitTextToInteger(const QString& bits);
QString IntegerToBitText(int value, int minimumLength);

// The second, ", " when both are non-empty, then the first.
QString JoinWithComma(const QString& first, const QString& second);
// "LASTNAME, FIRSTNAME" (either alone when the other is empty) and "FIRSTNAME LASTNAME".
QString EmployeeNameLastFirst(const QString& firstName, const QString& lastName);
QString EmployeeNameFirstLast(const QString& firstName, const QString& lastName);

} // namespace Formatters
