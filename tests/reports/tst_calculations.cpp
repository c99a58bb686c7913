#include "uDBConnection.h"
#include "uDBManager.h"
#include "uExceptions.h"
#include "uReportCalculations.h"
#include "uSQLStringsHolder.h"
#include "uSchemaScript.h"

#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

namespace {

TDateTime At(const QString& text)
{
    const QDateTime moment = QDateTime::fromString(text, Qt::ISODate);
    Q_ASSERT(moment.isValid());
    return DateTimeConv::FromQDateTime(moment);
}

// One record fed to the calculator and what it must make of it. Times are "yyyy-MM-ddTHH:mm[:ss]";
// a check-out of "HH:mm" is on the check-in's day. Expected amounts are minutes.
struct Step {
    TCheckRecordRow row;
    bool resetBefore = false;
    bool inPeriod = true;
    double regular = 0;
    double extra = 0;
    double absence = 0; // sick or vacation minutes of a sick or vacation record

    Step(int checkType, QAnyStringView checkInText, QAnyStringView checkOutText)
    {
        const QString checkIn = checkInText.toString();
        const QString checkOut = checkOutText.toString();
        row.CheckType = checkType;
        row.CheckInTimestamp = At(checkIn);
        row.CheckOutTimestamp = At(checkOut.size() <= 8 ? checkIn.left(11) + checkOut : checkOut);
    }
    // The day's schedule and the day's worked time up to this record, as the punch engine stores them.
    Step& day(double shouldWorkFor, double accumWorked)
    {
        row.ShouldWorkFor = shouldWorkFor;
        row.AccumWorked = accumWorked;
        return *this;
    }
    Step& gives(double regularMinutes, double extraMinutes)
    {
        regular = regularMinutes;
        extra = extraMinutes;
        return *this;
    }
    Step& gives(double absenceMinutes)
    {
        absence = absenceMinutes;
        return *this;
    }
    Step& outside()
    {
        inPeriod = false;
        return *this;
    }
    Step& afterReset()
    {
        resetBefore = true;
        return *this;
    }
};

Step Work(QAnyStringView checkIn, QAnyStringView checkOut)
{
    return Step(TKronvikCalculations::WorkCheck, checkIn, checkOut);
}
Step Sick(QAnyStringView checkIn, QAnyStringView checkOut)
{
    return Step(TKronvikCalculations::SickCheck, checkIn, checkOut);
}
Step Vacation(QAnyStringView checkIn, QAnyStringView checkOut)
{
    return Step(TKronvikCalculations::VacationCheck, checkIn, checkOut);
}

// Minutes.
struct Totals {
    double regular = 0;
    double extra = 0;
    double sick = 0;
    double vacation = 0;
};

using Steps = QList<Step>;

// A week of 9-hour days from Monday 4 March 2024.
Steps NineHourDays(int count)
{
    Steps steps;
    for (int day = 0; day < count; ++day)
        steps << Work(QStringLiteral("2024-03-%1T08:00").arg(4 + day, 2, 10, QLatin1Char('0')),
                      QStringLiteral("17:00"));
    return steps;
}

} // namespace

Q_DECLARE_METATYPE(Steps)
Q_DECLARE_METATYPE(Totals)
Q_DECLARE_METATYPE(TExtraTimeMode)

class TestCalculations : public QObject {
    Q_OBJECT
private slots:
    void addRecord_data();
    void addRecord();
    void currentRecordFields();
    void modifiedByName_data();
    void modifiedByName();
    void checkTypeOutOfRangeChangesNothing();
    void roundTotals_data();
    void roundTotals();
    void hoursToText_data();
    void hoursToText();
    void hoursToTextOutOfRange();
    void readsTheEmployeeTimesRows();
};

void TestCalculations::addRecord_data()
{
    QTest::addColumn<TExtraTimeMode>("mode");
    QTest::addColumn<double>("thresholdHours");
    QTest::addColumn<QString>("periodStart");
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<Totals>("totals");

    const auto daily = TExtraTimeMode::Daily;
    const auto weekly = TExtraTimeMode::Weekly;
    const auto monthly = TExtraTimeMode::Monthly;
    const QString noStart;

    QTest::newRow("daily: 300 + 240 min against 480 scheduled")
        << daily << 0.0 << noStart
        << Steps{Work("2024-03-04T07:00", "12:00").day(480, 300).gives(300, 0),
                 Work("2024-03-04T13:00", "17:00").day(480, 540).gives(180, 60)}
        << Totals{480, 60, 0, 0};
    QTest::newRow("daily: exactly at the schedule is all regular")
        << daily << 0.0 << noStart << Steps{Work("2024-03-04T08:00", "16:00").day(480, 480).gives(480, 0)}
        << Totals{480, 0, 0, 0};
    QTest::newRow("daily: records after the schedule is met are wholly extra")
        << daily << 0.0 << noStart
        << Steps{Work("2024-03-04T08:00", "16:00").day(480, 480).gives(480, 0),
                 Work("2024-03-04T17:00", "18:00").day(480, 540).gives(0, 60),
                 Work("2024-03-04T19:00", "20:00").day(480, 600).gives(0, 60)}
        << Totals{480, 120, 0, 0};
    QTest::newRow("daily: nothing scheduled, all extra")
        << daily << 0.0 << noStart
        << Steps{Work("2024-03-09T08:00", "12:00").day(0, 240).gives(0, 240),
                 Work("2024-03-09T13:00", "15:00").day(0, 360).gives(0, 120)}
        << Totals{0, 360, 0, 0};
    QTest::newRow("daily: sick and vacation records count whole")
        << daily << 0.0 << noStart
        << Steps{Sick("2024-03-04T08:00", "16:00").gives(480), Vacation("2024-03-05T08:00", "12:30").gives(270),
                 Work("2024-03-06T08:00", "18:00").day(480, 600).gives(480, 120)}
        << Totals{480, 120, 480, 270};
    QTest::newRow("daily: unknown check types count nowhere")
        << daily << 0.0 << noStart
        << Steps{Work("2024-03-04T08:00", "12:00").day(480, 240).gives(240, 0),
                 Step(0, "2024-03-04T12:00", "13:00").day(480, 300),
                 Step(4, "2024-03-04T13:00", "14:00").day(480, 360)}
        << Totals{240, 0, 0, 0};
    QTest::newRow("daily: seconds are ignored")
        << daily << 0.0 << noStart
        << Steps{Work("2024-03-04T08:00:59", "12:00:01").day(480, 240).gives(240, 0)} << Totals{240, 0, 0, 0};
    QTest::newRow("daily: a night shift across midnight")
        << daily << 0.0 << noStart
        << Steps{Work("2024-03-04T22:00", "2024-03-05T07:00").day(480, 540).gives(480, 60)}
        << Totals{480, 60, 0, 0};

    Steps fullWeek = NineHourDays(5);
    fullWeek[0].gives(540, 0);
    fullWeek[1].gives(540, 0);
    fullWeek[2].gives(540, 0);
    fullWeek[3].gives(540, 0);
    fullWeek[4].gives(240, 300);
    fullWeek << Work("2024-03-09T09:00", "13:00").gives(0, 240);
    QTest::newRow("weekly: 40 h, five 9-hour days and a Saturday")
        << weekly << 40.0 << QStringLiteral("2024-03-04T00:00") << fullWeek << Totals{2400, 540, 0, 0};

    Steps fromWednesday = NineHourDays(5);
    fromWednesday[0].outside().gives(540, 0);
    fromWednesday[1].outside().gives(540, 0);
    fromWednesday.insert(2, Sick("2024-03-05T18:00", "20:00").outside());
    fromWednesday[3].gives(540, 0);
    fromWednesday[4].gives(540, 0);
    fromWednesday[5].gives(240, 300);
    QTest::newRow("weekly: report from Wednesday, Monday and Tuesday only feed the threshold")
        << weekly << 40.0 << QStringLiteral("2024-03-06T00:00") << fromWednesday << Totals{1320, 300, 0, 0};
    QTest::newRow("weekly: a record checked in at the start instant is the report's own")
        << weekly << 40.0 << QStringLiteral("2024-03-06T00:00")
        << Steps{Work("2024-03-05T23:00", "23:59").outside().gives(59, 0),
                 Work("2024-03-06T00:00", "06:00").gives(360, 0)}
        << Totals{360, 0, 0, 0};
    QTest::newRow("weekly: two weeks, the count restarts, sick hours of both weeks add up")
        << weekly << 16.0 << QStringLiteral("2024-03-04T00:00")
        << Steps{Work("2024-03-04T08:00", "18:00").gives(600, 0), Sick("2024-03-05T08:00", "16:00").gives(480),
                 Work("2024-03-06T08:00", "18:00").gives(360, 240), Work("2024-03-07T08:00", "10:00").gives(0, 120),
                 Work("2024-03-11T08:00", "18:00").gives(600, 0), Sick("2024-03-12T08:00", "16:00").gives(480),
                 Step(4, "2024-03-13T08:00", "18:00"),
                 Work("2024-03-14T08:00", "14:00").gives(360, 0)}
        << Totals{1920, 360, 960, 0};
    QTest::newRow("weekly: ISO weeks across the new year")
        << weekly << 16.0 << QStringLiteral("2024-12-23T00:00")
        << Steps{Work("2024-12-29T08:00", "18:00").gives(600, 0), // Sunday, week 52
                 Work("2024-12-30T08:00", "18:00").gives(600, 0), // Monday, week 1 of 2025
                 Work("2025-01-02T08:00", "18:00").gives(360, 240)}
        << Totals{1560, 240, 0, 0};
    QTest::newRow("weekly: a reset each day totals the day, the week's count runs on")
        << weekly << 16.0 << QStringLiteral("2024-03-04T00:00")
        << Steps{Work("2024-03-04T08:00", "18:00").gives(600, 0),
                 Work("2024-03-05T08:00", "18:00").afterReset().gives(360, 240)}
        << Totals{360, 240, 0, 0};

    Steps month;
    for (int day = 1; day <= 15; ++day)
        month << Work(QStringLiteral("2024-03-%1T06:00").arg(day, 2, 10, QLatin1Char('0')), QStringLiteral("18:00"))
                     .gives(720, 0);
    month[13].gives(240, 480); // 168 h worked: 8 h beyond the 160
    month[14].gives(0, 720);   // wholly extra, never more than its own hours
    month << Sick("2024-03-18T08:00", "16:00").gives(480) << Work("2024-04-01T06:00", "18:00").gives(720, 0);
    QTest::newRow("monthly: 160 h, then each record's own hours are extra; April starts afresh")
        << monthly << 160.0 << noStart << month << Totals{13 * 720 + 240 + 720, 480 + 720, 480, 0};
    QTest::newRow("monthly: the same month a year later is a new period")
        << monthly << 10.0 << noStart
        << Steps{Work("2023-03-06T08:00", "16:00").gives(480, 0), Work("2024-03-04T08:00", "16:00").gives(480, 0)}
        << Totals{960, 0, 0, 0};

    QTest::newRow("no extra time: everything worked is regular")
        << TExtraTimeMode::None << 0.0 << noStart
        << Steps{Work("2024-03-04T06:00", "20:00").day(480, 840).gives(840, 0),
                 Sick("2024-03-05T08:00", "16:00").gives(480), Vacation("2024-03-06T08:00", "16:00").gives(480)}
        << Totals{840, 0, 480, 480};
}

void TestCalculations::addRecord()
{
    QFETCH(TExtraTimeMode, mode);
    QFETCH(double, thresholdHours);
    QFETCH(QString, periodStart);
    QFETCH(Steps, steps);
    QFETCH(Totals, totals);

    TKronvikCalculations calc;
    calc.ExtraTimeMode = mode;
    calc.PeriodThreshold = thresholdHours;
    calc.PeriodStart = periodStart.isEmpty() ? 0 : At(periodStart);
    for (qsizetype i = 0; i < steps.size(); ++i) {
        const Step& step = steps.at(i);
        if (step.resetBefore)
            calc.Reset();
        calc.AddRecord(step.row);
        const TKronvikTimeRecord& record = calc.Current;
        const auto where = [i](const char* what) {
            return QByteArray(QByteArray("record ") + QByteArray::number(i) + ' ' + what);
        };
        QVERIFY2(calc.InPeriod == step.inPeriod, where("in period").constData());
        switch (record.CheckType) {
        case TKronvikCalculations::WorkCheck:
            QVERIFY2(qFuzzyCompare(1 + record.RegularHours * 60, 1 + step.regular), where("regular").constData());
            QVERIFY2(qFuzzyCompare(1 + record.ExtraHours * 60, 1 + step.extra), where("extra").constData());
            break;
        case TKronvikCalculations::SickCheck:
            if (step.inPeriod)
                QVERIFY2(qFuzzyCompare(1 + record.SickHours * 60, 1 + step.absence), where("sick").constData());
            break;
        case TKronvikCalculations::VacationCheck:
            if (step.inPeriod)
                QVERIFY2(qFuzzyCompare(1 + record.VacationHours * 60, 1 + step.absence), where("vacation").constData());
            break;
        }
    }
    QCOMPARE(calc.RegularTotal * 60, totals.regular);
    QCOMPARE(calc.ExtraTotal * 60, totals.extra);
    QCOMPARE(calc.SickTotal * 60, totals.sick);
    QCOMPARE(calc.VacationTotal * 60, totals.vacation);
}

void TestCalculations::currentRecordFields()
{
    TCheckRecordRow row;
    row.CheckInTimestamp = At(QStringLiteral("2024-12-30T21:15:42"));
    row.CheckOutTimestamp = At(QStringLiteral("2024-12-31T05:45:10"));
    row.CheckType = TKronvikCalculations::WorkCheck;
    row.ShouldWorkFor = 450;
    row.AccumWorked = 510;
    row.Note = QStringLiteral("Inventory");
    row.CheckInStationId = 3;
    row.CheckOutStationId = 7;

    TKronvikCalculations calc;
    calc.AddRecord(row);
    const TKronvikTimeRecord& record = calc.Current;
    QCOMPARE(DateTimeConv::ToQDateTime(record.CheckIn), QDateTime(QDate(2024, 12, 30), QTime(21, 15)));
    QCOMPARE(DateTimeConv::ToQDateTime(record.CheckOut), QDateTime(QDate(2024, 12, 31), QTime(5, 45)));
    QCOMPARE(record.Worked, 8.5);
    QCOMPARE(record.ShouldWork, 7.5);
    QCOMPARE(record.AccumWorked, 8.5);
    QCOMPARE(record.Week, quint16(1)); // ISO: the Monday before New Year belongs to week 1
    QCOMPARE(record.Month, quint16(12));
    QCOMPARE(record.Note, QStringLiteral("Inventory"));
    QVERIFY(!record.Modified);
    QCOMPARE(calc.CheckInStationId, 3);
    QCOMPARE(calc.CheckOutStationId, 7);
}

void TestCalculations::modifiedByName_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("lastName");
    QTest::addColumn<QString>("firstName");
    QTest::addColumn<QString>("expected");
    QTest::newRow("both names") << true << QStringLiteral("Ortega") << QStringLiteral("Ana")
                                << QStringLiteral("Ortega, Ana");
    QTest::newRow("last name only") << true << QStringLiteral("Ortega") << QString() << QStringLiteral("Ortega");
    QTest::newRow("first name only") << true << QString() << QStringLiteral("Ana") << QStringLiteral("Ana");
    QTest::newRow("not modified") << false << QStringLiteral("Ortega") << QStringLiteral("Ana") << QString();
}

void TestCalculations::modifiedByName()
{
    QFETCH(bool, modified);
    QFETCH(QString, lastName);
    QFETCH(QString, firstName);
    QFETCH(QString, expected);

    TKronvikCalculations calc;
    Step first = Work(QStringLiteral("2024-03-04T08:00"), QStringLiteral("12:00"));
    first.row.Modified = true;
    first.row.LastName = QStringLiteral("Earlier");
    calc.AddRecord(first.row);

    Step step = Work(QStringLiteral("2024-03-05T08:00"), QStringLiteral("12:00"));
    step.row.Modified = modified;
    step.row.LastName = lastName;
    step.row.FirstName = firstName;
    calc.AddRecord(step.row);
    QCOMPARE(calc.Current.Modified, modified);
    QCOMPARE(calc.ModifiedByName, expected);
}

void TestCalculations::checkTypeOutOfRangeChangesNothing()
{
    TKronvikCalculations calc;
    calc.AddRecord(Work(QStringLiteral("2024-03-04T08:00"), QStringLiteral("12:00")).day(480, 240).row);
    const Step bad = Step(200, QStringLiteral("2024-03-05T08:00"), QStringLiteral("12:00"));
    QVERIFY_THROWS_EXCEPTION(Exception, calc.AddRecord(bad.row));
    QCOMPARE(calc.Current.CheckIn, At(QStringLiteral("2024-03-04T08:00")));
    QCOMPARE(calc.RegularTotal, 4.0);
}

void TestCalculations::roundTotals_data()
{
    QTest::addColumn<int>("rounding");
    QTest::addColumn<double>("total");
    QTest::addColumn<double>("expected");
    const auto hm = [](int hours, double minutes) { return hours + minutes / 60.0; };

    QTest::newRow("none keeps 7:47") << 0 << hm(7, 47) << hm(7, 47);
    QTest::newRow("negative keeps 7:47") << -1 << hm(7, 47) << hm(7, 47);
    QTest::newRow("15 min: 7:47 down") << 1 << hm(7, 47) << hm(7, 45);
    QTest::newRow("15 min: 7:52 down") << 1 << hm(7, 52) << hm(7, 45);
    QTest::newRow("15 min: 7:53 up to the hour") << 1 << hm(7, 53) << 8.0;
    QTest::newRow("15 min: 22.5 min, half to even 22, down") << 1 << hm(7, 22.5) << hm(7, 15);
    QTest::newRow("15 min: 0") << 1 << 0.0 << 0.0;
    QTest::newRow("30 min: 7:47 up") << 2 << hm(7, 47) << 8.0;
    QTest::newRow("30 min: 7:44 down") << 2 << hm(7, 44) << hm(7, 30);
    QTest::newRow("30 min: 7:45 up") << 2 << hm(7, 45) << 8.0;
    QTest::newRow("any other positive is 30 min") << 5 << hm(7, 44) << hm(7, 30);
    QTest::newRow("15 min: 7:59.99 floating dust") << 1 << 7.9999999 << 8.0;
}

void TestCalculations::roundTotals()
{
    QFETCH(int, rounding);
    QFETCH(double, total);
    QFETCH(double, expected);

    TKronvikCalculations calc;
    calc.Rounding = rounding;
    calc.RegularTotal = calc.ExtraTotal = calc.SickTotal = calc.VacationTotal = total;
    calc.RegularRate = 10;
    calc.ExtraRate = 15;
    calc.SickRate = 8;
    calc.VacationRate = 9;
    calc.RoundTotals();
    QCOMPARE(calc.RegularTotal, expected);
    QCOMPARE(calc.ExtraTotal, expected);
    QCOMPARE(calc.SickTotal, expected);
    QCOMPARE(calc.VacationTotal, expected);
    // Pays follow the rounded totals.
    QCOMPARE(calc.RegularPay(), 10 * expected);
    QCOMPARE(calc.ExtraPay(), 15 * expected);
    QCOMPARE(calc.SickPay(), 8 * expected);
    QCOMPARE(calc.VacationPay(), 9 * expected);
}

void TestCalculations::hoursToText_data()
{
    QTest::addColumn<double>("hours");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0.0 << QStringLiteral("0:00");
    QTest::newRow("9 min") << 9 / 60.0 << QStringLiteral("0:09");
    QTest::newRow("10 min") << 10 / 60.0 << QStringLiteral("0:10");
    QTest::newRow("0.1") << 0.1 << QStringLiteral("0:06");
    QTest::newRow("7.75") << 7.75 << QStringLiteral("7:45");
    QTest::newRow("8") << 8.0 << QStringLiteral("8:00");
    QTest::newRow("7.9999 rounds up to the hour") << 7.9999 << QStringLiteral("8:00");
    QTest::newRow("7:59.6 stays 7:59") << 7.994 << QStringLiteral("7:59");
    QTest::newRow("three-digit hours") << 123.5 << QStringLiteral("123:30");
    QTest::newRow("negative") << -0.5 << QStringLiteral("-0:30");
    QTest::newRow("negative rounding to nothing") << -0.001 << QStringLiteral("0:00");
}

void TestCalculations::hoursToText()
{
    QFETCH(double, hours);
    QFETCH(QString, text);
    QCOMPARE(TKronvikCalculations::HoursToText(hours), text);
}

void TestCalculations::hoursToTextOutOfRange()
{
    QVERIFY_THROWS_EXCEPTION(Exception, TKronvikCalculations::HoursToText(1e12));
    QVERIFY_THROWS_EXCEPTION(Exception, TKronvikCalculations::HoursToText(std::nan("")));
    TKronvikCalculations calc;
    calc.Rounding = 1;
    calc.RegularTotal = 1e12;
    QVERIFY_THROWS_EXCEPTION(Exception, calc.RoundTotals());
}

// The report's own statement over a SQLite database: the columns are found by name, the modifier's
// names come from the join, and a row without a column the calculator needs is refused.
void TestCalculations::readsTheEmployeeTimesRows()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString connection = QStringLiteral("tst_calculations");
    TDBManager db;
    const auto closeDatabase = qScopeGuard([&] {
        db.ClearPool();
        DBConnection::Close(connection);
    });
    DBConnection::Open(Dialect::LOCAL, {{}, dir.filePath(QStringLiteral("KronvikClock2.db")), {}, {}}, connection);
    db.SetLocalConnection(connection);
    SchemaScript::EnsureLocalSchema(db);
    db.Execute(QStringLiteral("INSERT INTO EMPLOYEES (EMPLOYEEID, FIRSTNAME, LASTNAME) VALUES (1, 'Ana', 'Ortega')"));
    db.Execute(QStringLiteral("INSERT INTO EMPLOYEES (EMPLOYEEID, FIRSTNAME, LASTNAME) VALUES (2, 'Luis', 'Vera')"));
    db.Execute(QStringLiteral(
        "INSERT INTO CHECKRECORD (EMPLOYEEID, CHECKINTIMESTAMP, CHECKOUTTIMESTAMP, CHECKINSTATIONID, "
        "CHECKOUTSTATIONID, SHOULDWORKFOR, CHECKTYPE, WORKED, ACCUMWORKED, NOTE, MODIFIEDBY) VALUES "
        "(2, '2024-03-04 08:00:40', '2024-03-04 13:00:05', 1, 2, 480, 1, 999, 300, NULL, NULL), "
        "(2, '2024-03-04 14:00:00', '2024-03-04 18:00:00', 2, 3, 480, 1, 999, 540, 'Forgot to punch', 1)"));

    TQuery* query = db.OpenFmt(
        QStringLiteral(
            "SELECT CR.CHECKINTIMESTAMP, CR.CHECKOUTTIMESTAMP, CR.SHOULDWORKFOR,WORKED, CR.ACCUMWORKED, CR.NOTE, "
            "CR.EMPLOYEEID, CR.MODIFIEDBY, E.FIRSTNAME, E.LASTNAME, CR.CHECKINSTATIONID, CR.CHECKOUTSTATIONID, "
            "CR.CHECKTYPE FROM CHECKRECORD CR LEFT OUTER JOIN EMPLOYEES E ON CR.MODIFIEDBY = E.EMPLOYEEID "
            "WHERE CR.EMPLOYEEID=%D AND CR.CHECKINTIMESTAMP >= '%S' AND CR.CHECKOUTTIMESTAMP < '%S' "
            "ORDER BY CR.CHECKINTIMESTAMP "),
        {2, QStringLiteral("2024-03-04"), QStringLiteral("2024-03-05")});
    TQueryReleaser release(db, query);
    TKronvikCalculations calc;
    QStringList seen;
    for (; !query->Eof(); query->Next()) {
        calc.AddRecord(*query);
        seen << QStringLiteral("%1 %2-%3 %4 \"%5\" \"%6\"")
                    .arg(DateTimeConv::ToQDateTime(calc.Current.CheckIn).toString(Qt::ISODate))
                    .arg(calc.CheckInStationId)
                    .arg(calc.CheckOutStationId)
                    .arg(TKronvikCalculations::HoursToText(calc.Current.Worked))
                    .arg(calc.ModifiedByName, calc.Current.Note);
    }
    QCOMPARE(seen, QStringList({QStringLiteral("2024-03-04T08:00:00 1-2 5:00 \"\" \"\""),
                                QStringLiteral("2024-03-04T14:00:00 2-3 4:00 \"Ortega, Ana\" \"Forgot to punch\"")}));
    QCOMPARE(calc.RegularTotal, 8.0);
    QCOMPARE(calc.ExtraTotal, 1.0);

    TQuery* withoutNote = db.Open(QStringLiteral(
        "SELECT CHECKINTIMESTAMP, CHECKOUTTIMESTAMP, CHECKTYPE, SHOULDWORKFOR, ACCUMWORKED, MODIFIEDBY, "
        "CHECKINSTATIONID, CHECKOUTSTATIONID FROM CHECKRECORD"));
    TQueryReleaser releaseWithoutNote(db, withoutNote);
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, calc.AddRecord(*withoutNote));
    QCOMPARE(calc.CheckInStationId, 2);
    QCOMPARE(calc.RegularTotal, 8.0);
}

QTEST_GUILESS_MAIN(TestCalculations)
#include "tst_calculations.moc"
