#include "uExceptions.h"
#include "uFormatters.h"

#include <QLocale>
#include <QTest>

using namespace Formatters;
using DateTimeConv::EncodeDate;
using DateTimeConv::EncodeTime;

// Restores the default locale when a test that changes it ends, whatever its outcome.
class LocaleGuard final
{
public:
    explicit LocaleGuard(const QString& name) { QLocale::setDefault(QLocale(name)); }
    ~LocaleGuard() { QLocale::setDefault(m_saved); }

private:
    QLocale m_saved = QLocale();
};

class TestFormatters : public QObject
{
    Q_OBJECT
private slots:
    void qtDateTimeFormat_data()
    {
        QTest::addColumn<QString>("delphi");
        QTest::addColumn<QString>("qt");
        QTest::newRow("iso") << "yyyy-mm-dd"
                             << "yyyy-MM-dd";
        QTest::newRow("day first") << "dd/mm/yyyy"
                                   << "dd/MM/yyyy";
        QTest::newRow("month first") << "mm/dd/yyyy"
                                     << "MM/dd/yyyy";
        QTest::newRow("upper case") << "DD/MM/YYYY"
                                    << "dd/MM/yyyy";
        QTest::newRow("short forms") << "d/m/yy"
                                     << "d/M/yy";
        QTest::newRow("month names") << "dd-mmm-yyyy"
                                     << "dd-MMM-yyyy";
        QTest::newRow("minutes after hours") << "yyyy-mm-dd hh:mm:ss"
                                             << "yyyy-MM-dd HH:mm:ss";
        QTest::newRow("n for minutes") << "hh:nn"
                                       << "HH:mm";
        QTest::newRow("12-hour clock") << "hh:mm am/pm"
                                       << "hh:mm ap";
        QTest::newRow("letters are literals") << "yyyy\"T\"hh"
                                              << "yyyy'T'HH";
        QTest::newRow("quote inside literal text") << "d'x''"
                                                   << "d'x'";
    }
    void qtDateTimeFormat()
    {
        QFETCH(QString, delphi);
        QFETCH(QString, qt);
        QCOMPARE(QtDateTimeFormat(delphi), qt);
    }

    void dateTimeForSQL_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        const double day = EncodeDate(2026, 3, 7);
        const double afternoon = day + EncodeTime(14, 5, 9);
        QTest::newRow("iso") << afternoon << "yyyy-mm-dd"
                             << "2026-03-07 14:05:09";
        QTest::newRow("day first") << afternoon << "dd/mm/yyyy"
                                   << "07/03/2026 14:05:09";
        QTest::newRow("month first") << afternoon << "mm/dd/yyyy"
                                     << "03/07/2026 14:05:09";
        QTest::newRow("oracle") << afternoon << "DD/MM/YYYY"
                                << "07/03/2026 14:05:09";
        QTest::newRow("midnight has no time") << day << "yyyy-mm-dd"
                                              << "2026-03-07";
        QTest::newRow("midnight for the local database") << day << "yyyy-mm-dd!"
                                                         << "2026-03-07 00:00:00";
        QTest::newRow("one second past midnight") << day + EncodeTime(0, 0, 1) << "yyyy-mm-dd"
                                                  << "2026-03-07 00:00:01";
        QTest::newRow("a hair below midnight is midnight") << day - 1e-11 << "yyyy-mm-dd"
                                                           << "2026-03-07";
        QTest::newRow("milliseconds dropped") << afternoon + EncodeTime(0, 0, 0, 700) << "yyyy-mm-dd"
                                              << "2026-03-07 14:05:09";
        QTest::newRow("epoch") << 0.0 << "yyyy-mm-dd"
                               << "1899-12-30";
        QTest::newRow("before the epoch") << -1.25 << "yyyy-mm-dd"
                                          << "1899-12-29 06:00:00";
    }
    void dateTimeForSQL()
    {
        QFETCH(double, value);
        QFETCH(QString, format);
        QFETCH(QString, expected);
        // A trailing '!' in the table asks for the time at midnight too.
        const bool withTime = format.endsWith(u'!');
        const auto midnight = withTime ? TMidnight::WithTime : TMidnight::DateOnly;
        QCOMPARE(FormatDateTimeForSQL(value, format.chopped(withTime ? 1 : 0), midnight), expected);
    }

    void optionalDateTime()
    {
        QCOMPARE(FormatOptionalDateTimeForSQL(0, QStringLiteral("yyyy-mm-dd")), QStringLiteral("null"));
        QCOMPARE(FormatOptionalDateTimeForSQL(EncodeDate(2026, 1, 2) + 0.5, QStringLiteral("yyyy-mm-dd")),
                 QStringLiteral("'2026-01-02 12:00:00'"));
        QCOMPARE(DateTimeFormatText(QStringLiteral("dd/mm/yyyy")), QStringLiteral("dd/mm/yyyy HH:mm:ss"));
    }

    void floatForSQL_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("whole") << 480.0 << "480";
        QTest::newRow("fraction") << 7.5 << "7.5";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("negative") << -12.25 << "-12.25";
        QTest::newRow("15 significant digits") << 1.0 / 3.0 << "0.333333333333333";
        QTest::newRow("float noise rounded away") << 0.1 + 0.2 << "0.3";
        QTest::newRow("no thousands separator") << 1234567.891 << "1234567.891";
        QTest::newRow("large") << 1e20 << "1e+20";
    }
    void floatForSQL()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(FormatFloatForSQL(value), expected);
        const LocaleGuard german(QStringLiteral("de_DE"));
        QCOMPARE(FormatFloatForSQL(value), expected);
    }
    void floatForSQLRefusesNonFinite()
    {
        QVERIFY_THROWS_EXCEPTION(Exception, FormatFloatForSQL(std::nan("")));
        QVERIFY_THROWS_EXCEPTION(Exception, FormatFloatForSQL(HUGE_VAL));
    }

    void numberForSQL_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("en plain") << "en_US"
                                  << "12.5"
                                  << "12.5";
        QTest::newRow("en thousands") << "en_US"
                                      << "1,234.75"
                                      << "1234.75";
        QTest::newRow("en blanks") << "en_US"
                                   << " 8 "
                                   << "8";
        QTest::newRow("en negative") << "en_US"
                                     << "-3.25"
                                     << "-3.25";
        QTest::newRow("de comma") << "de_DE"
                                  << "12,5"
                                  << "12.5";
        QTest::newRow("de thousands") << "de_DE"
                                      << "1.234,75"
                                      << "1234.75";
        QTest::newRow("de several dots are thousands") << "de_DE"
                                                       << "1.234.567"
                                                       << "1234567";
        QTest::newRow("de dot typed as decimal point") << "de_DE"
                                                       << "12.5"
                                                       << "12.5";
        QTest::newRow("fr narrow blank thousands") << "fr_FR" << QStringLiteral("1\u202f234,5") << "1234.5";
    }
    void numberForSQL()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const LocaleGuard guard(locale);
        QCOMPARE(FormatNumberForSQL(text), expected);
    }
    void numberForSQLRefusesText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("letters") << "abc";
        QTest::newRow("trailing letter") << "12a";
    }
    void numberForSQLRefusesText()
    {
        QFETCH(QString, text);
        const LocaleGuard guard(QStringLiteral("en_US"));
        QVERIFY_THROWS_EXCEPTION(Exception, FormatNumberForSQL(text));
    }

    void timeOfDayForSQL_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << ""
                               << "null";
        QTest::newRow("blank") << "  "
                               << "null";
        QTest::newRow("noon") << "12:00"
                              << "0.5";
        QTest::newRow("midnight") << "00:00"
                                  << "0";
        QTest::newRow("morning") << "8:30"
                                 << "0.354166666666667";
        QTest::newRow("seconds") << "18:00:30"
                                 << "0.750347222222222";
        QTest::newRow("pm") << "6:00 pm"
                            << "0.75";
        QTest::newRow("12 am is midnight") << "12:00 AM"
                                           << "0";
        QTest::newRow("12 pm is noon") << "12:00 PM"
                                       << "0.5";
        QTest::newRow("one second") << "00:00:01"
                                    << "1.15740740740741e-05";
    }
    void timeOfDayForSQL()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const LocaleGuard german(QStringLiteral("de_DE"));
        QCOMPARE(TimeOfDayForSQL(text), expected);
    }
    void timeOfDayForSQLRefusesNonTimes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("no separator") << "1200";
        QTest::newRow("hour 24") << "24:00";
        QTest::newRow("minute 60") << "10:60";
        QTest::newRow("13 pm") << "13:00 pm";
        QTest::newRow("letters") << "ab:cd";
    }
    void timeOfDayForSQLRefusesNonTimes()
    {
        QFETCH(QString, text);
        QVERIFY_THROWS_EXCEPTION(Exception, TimeOfDayForSQL(text));
    }

    void timeOfDayDisplay_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("timeFormat");
        QTest::addColumn<QString>("expected");
        const double day = EncodeDate(2026, 5, 4);
        QTest::newRow("24-hour") << day + EncodeTime(18, 7, 3) << 1 << "18:07:03";
        QTest::newRow("any non-zero is 24-hour") << day + EncodeTime(9, 0) << 7 << "09:00:00";
        QTest::newRow("12-hour evening") << day + EncodeTime(18, 7, 3) << 0 << "06:07 pm";
        QTest::newRow("12-hour after midnight") << day + EncodeTime(0, 30) << 0 << "12:30 am";
        QTest::newRow("zero is empty") << 0.0 << 1 << "";
    }
    void timeOfDayDisplay()
    {
        QFETCH(double, value);
        QFETCH(int, timeFormat);
        QFETCH(QString, expected);
        QCOMPARE(FormatTimeOfDay(value, timeFormat), expected);
    }

    void minutesAsHours_data()
    {
        QTest::addColumn<double>("minutes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("75") << 75.0 << " 01:15";
        QTest::newRow("5") << 5.0 << " 00:05";
        QTest::newRow("zero") << 0.0 << " 00:00";
        QTest::newRow("negative shows its size") << -90.0 << " 01:30";
        QTest::newRow("fraction dropped") << 61.4 << " 01:01";
        QTest::newRow("a hair below a minute") << 74.9999999 << " 01:15";
        QTest::newRow("more than 99 hours") << 6000.0 << " 100:00";
    }
    void minutesAsHours()
    {
        QFETCH(double, minutes);
        QFETCH(QString, expected);
        QCOMPARE(MinutesAsHours(minutes), expected);
    }

    void daysToMinutes()
    {
        QCOMPARE(DaysToMinutes(0.5), 720.0);
        QCOMPARE(DaysToMinutes(EncodeTime(1, 30)), 90.0);
    }

    void truncateToMinute_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("expected");
        const double day = EncodeDate(2026, 3, 7);
        QTest::newRow("seconds dropped") << day + EncodeTime(14, 5, 59, 999) << day + EncodeTime(14, 5);
        QTest::newRow("whole minute kept") << day + EncodeTime(8, 0) << day + EncodeTime(8, 0);
        QTest::newRow("float noise below the minute")
            << day + EncodeTime(8, 0) - 1e-10 << day + EncodeTime(8, 0);
        QTest::newRow("midnight") << day << day;
        QTest::newRow("before the epoch") << -1.0 - EncodeTime(6, 0, 30) << -1.0 - EncodeTime(6, 0);
    }
    void truncateToMinute()
    {
        QFETCH(double, value);
        QFETCH(double, expected);
        QCOMPARE(TruncateToMinute(value), expected);
    }

    void bitTexts_data()
    {
        QTest::addColumn<QString>("bits");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("minimumLength");
        QTest::newRow("1010") << "1010" << 5 << 4;
        QTest::newRow("0001") << "0001" << 8 << 4;
        QTest::newRow("zero padded") << "000" << 0 << 3;
        QTest::newRow("zero unpadded") << "" << 0 << 0;
        QTest::newRow("longer than minimum") << "111111" << 63 << 2;
        QTest::newRow("highest bit") << QString(30, u'0') + u'1' << (1 << 30) << 0;
    }
    void bitTexts()
    {
        QFETCH(QString, bits);
        QFETCH(int, value);
        QFETCH(int, minimumLength);
        QCOMPARE(BitTextToInteger(bits), value);
        QCOMPARE(IntegerToBitText(value, minimumLength), bits);
    }
    void bitTextOddInput()
    {
        QCOMPARE(BitTextToInteger(QStringLiteral("1x1")), 5); // anything but '1' is a clear bit
        QCOMPARE(IntegerToBitText(-1, 0), QString(32, u'1')); // a negative value ends too
        QCOMPARE(PowerOfTwo(0), 1);
        QCOMPARE(PowerOfTwo(10), 1024);
        QCOMPARE(PowerOfTwo(-1), 0);
    }

    void names_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("lastFirst");
        QTest::addColumn<QString>("firstLast");
        QTest::newRow("both") << "Ana"
                              << "Diaz"
                              << "Diaz, Ana"
                              << "Ana Diaz";
        QTest::newRow("padded") << " Ana "
                                << "Diaz  "
                                << "Diaz, Ana"
                                << "Ana Diaz";
        QTest::newRow("first only") << "Ana"
                                    << ""
                                    << "Ana"
                                    << "Ana";
        QTest::newRow("last only") << ""
                                   << "Diaz"
                                   << "Diaz"
                                   << "Diaz";
        QTest::newRow("none") << ""
                              << ""
                              << ""
                              << "";
    }
    void names()
    {
        QFETCH(QString, first);
        QFETCH(QString, last);
        QFETCH(QString, lastFirst);
        QFETCH(QString, firstLast);
        QCOMPARE(EmployeeNameLastFirst(first, last), lastFirst);
        QCOMPARE(EmployeeNameFirstLast(first, last), firstLast);
    }
};

QTEST_GUILESS_MAIN(TestFormatters)
#include "tst_formatters.moc"
