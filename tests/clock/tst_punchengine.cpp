#include "ClockTestDatabase.h"
#include "uPunchEngine.h"

#include <QScopeGuard>
#include <QTest>

#include <map>

using namespace Qt::StringLiterals;
using TBackend = TClockTestDatabase::TBackend;

Q_DECLARE_METATYPE(TClockTestDatabase::TBackend)

namespace
{

// The schedule of the examples: 08:00-11:00 and 12:00-15:00, 360 minutes, 15 minutes' tolerance on
// Monday..Saturday; Sunday has no schedule and 120 minutes to work.
const QStringList DaySchedule{u"08:00"_s, u"11:00"_s, u"12:00"_s, u"15:00"_s};
// A night shift: from 22:00 to 06:00, no break, 480 minutes.
const QStringList NightSchedule{u"22:00"_s, QString(), QString(), u"06:00"_s};

TDateTime ParseTime(const QString& text)
{
    const QString format = text.size() > 16 ? u"yyyy-MM-dd HH:mm:ss"_s : u"yyyy-MM-dd HH:mm"_s;
    const QDateTime value = QDateTime::fromString(text, format);
    if (!value.isValid())
        throw std::invalid_argument(text.toStdString());
    return DateTimeConv::FromQDateTime(value);
}

QString Stamp(const TField& field)
{
    return field.IsNull() ? u"-"_s : DateTimeConv::ToQDateTime(field.AsDateTime()).toString(u"MM-dd HH:mm"_s);
}

QString Number(const TField& field)
{
    return field.IsNull() ? u"-"_s : QString::number(field.AsFloat(), 'g', 12);
}

// A check record as one line, for comparing whole records at once.
QString RecordLine(const TQuery& row)
{
    const auto field = [&](const char* name) { return row.FieldByName(QString::fromLatin1(name)); };
    const QString should = field("SHOULDCHECKINAT").IsNull() && field("SHOULDCHECKOUTAT").IsNull()
                               ? u"-"_s
                               : Stamp(field("SHOULDCHECKINAT")) + u'/' + Stamp(field("SHOULDCHECKOUTAT"));
    QString line = u"in=%1 out=%2 should=%3 exc=%4 late=%5 worked=%6 accum=%7 swf=%8"_s.arg(
        Stamp(field("CHECKINTIMESTAMP")), Stamp(field("CHECKOUTTIMESTAMP")), should,
        Number(field("CHECKEXCEPTION")), Number(field("MINUTESLATE")), Number(field("WORKED")),
        Number(field("ACCUMWORKED")), Number(field("SHOULDWORKFOR")));
    if (!field("REASONID").IsNull())
        line += u" reason=%1 note=%2"_s.arg(Number(field("REASONID")), field("NOTE").AsString());
    return line;
}

// The employee's check records in the order they were made, then the employee's last operation.
QStringList Snapshot(TdtmAppData& appData, int employeeId)
{
    TDBManager& db = appData.DBManager();
    QStringList lines;
    {
        TQueryReleaser rows(
            db,
            db.OpenFmt(u"SELECT * FROM CHECKRECORD WHERE EMPLOYEEID = %d ORDER BY CHECKID"_s, {employeeId}));
        for (; !rows->Eof(); rows->Next())
            lines.append(RecordLine(*rows.get()));
    }
    TQueryReleaser employee(
        db, db.OpenFmt(u"SELECT LASTOPERATION, LASTCHECKTIMESTAMP FROM EMPLOYEES WHERE EMPLOYEEID = %d"_s,
                       {employeeId}));
    lines.append(u"employee op=%1 last=%2"_s.arg(employee->FieldByName(u"LASTOPERATION"_s).AsInteger())
                     .arg(Stamp(employee->FieldByName(u"LASTCHECKTIMESTAMP"_s))));
    return lines;
}

// "in|2024-03-04 08:15" or "out|2024-03-04 15:00[|reason id|note]", as the clock station punches.
void Punch(TPunchEngine& engine, int employeeId, const QString& punch)
{
    const QStringList parts = punch.split(u'|');
    const TDateTime time = ParseTime(parts.at(1));
    if (parts.at(0) == u"in"_s)
        engine.RegisterCheckIn(CheckType::Normal, employeeId, true, time);
    else if (parts.size() > 2)
        engine.RegisterCheckOut(CheckType::Normal, true, true, parts.at(3), parts.at(2).toInt(), employeeId,
                                time);
    else
        engine.RegisterCheckOut(CheckType::Normal, false, true, QString(), 0, employeeId, time);
}

} // namespace

class TestPunchEngine : public QObject
{
    Q_OBJECT

    // One database of each kind for the whole run; every test uses employees of its own.
    std::map<TBackend, std::unique_ptr<TClockTestDatabase>> m_databases;
    int m_nextId = 100;

    // A new employee in a new group of the given schedule.
    int AddEmployee(TClockTestDatabase& database, const QStringList& schedule = DaySchedule,
                    int minutesToWork = 360, bool checkInEarly = false)
    {
        const int id = m_nextId++;
        database.AddGroup(id, schedule, minutesToWork, 15, checkInEarly, 120);
        database.AddEmployee(id, id);
        return id;
    }

    static void AddBackendColumn() { QTest::addColumn<TBackend>("backend"); }
    template <typename AddRow> static void ForEachBackend(AddRow addRow)
    {
        for (TBackend backend : TClockTestDatabase::AllBackends())
            addRow(backend, TClockTestDatabase::Name(backend));
    }

private slots:
    void initTestCase()
    {
        try {
            m_databases = TClockTestDatabase::StartAvailable();
        } catch (const std::exception& error) {
            QFAIL(error.what());
        }
    }
    void cleanupTestCase() { m_databases.clear(); }

    // Schedule, lateness, early arrival and departure, minutes worked and day totals: each row
    // punches a fresh employee and compares the records it left and the employee's last operation.
    void punches_data()
    {
        AddBackendColumn();
        QTest::addColumn<bool>("nightShift");
        QTest::addColumn<bool>("checkInEarly");
        QTest::addColumn<QStringList>("punches");
        QTest::addColumn<QStringList>("expected");

        struct TCase {
            const char* name;
            bool nightShift;
            bool checkInEarly;
            QStringList punches;
            QStringList expected;
        };
        const QString dayShould = u"should=03-04 08:00/03-04 11:00"_s;
        // clang-format off
        const QList<TCase> cases{
            {"in 08:15, the end of the tolerance", false, false, {u"in|2024-03-04 08:15"_s},
             {u"in=03-04 08:15 out=- %1 exc=0 late=0 worked=- accum=0 swf=360"_s.arg(dayShould),
              u"employee op=1 last=03-04 08:15"_s}},
            {"in 08:16, late", false, false, {u"in|2024-03-04 08:16"_s},
             {u"in=03-04 08:16 out=- %1 exc=1 late=16 worked=- accum=0 swf=360"_s.arg(dayShould),
              u"employee op=1 last=03-04 08:16"_s}},
            {"in 08:16:59, seconds dropped", false, false, {u"in|2024-03-04 08:16:59"_s},
             {u"in=03-04 08:16 out=- %1 exc=1 late=16 worked=- accum=0 swf=360"_s.arg(dayShould),
              u"employee op=1 last=03-04 08:16"_s}},
            {"in 07:30, moved to the start", false, false, {u"in|2024-03-04 07:30"_s},
             {u"in=03-04 08:00 out=- %1 exc=0 late=0 worked=- accum=0 swf=360"_s.arg(dayShould),
              u"employee op=1 last=03-04 08:00"_s}},
            {"in 07:30, group checks in early", false, true, {u"in|2024-03-04 07:30"_s},
             {u"in=03-04 07:30 out=- %1 exc=0 late=0 worked=- accum=0 swf=360"_s.arg(dayShould),
              u"employee op=1 last=03-04 07:30"_s}},
            {"in 07:00, exactly an hour early", false, false, {u"in|2024-03-04 07:00"_s},
             {u"in=03-04 08:00 out=- %1 exc=0 late=0 worked=- accum=0 swf=360"_s.arg(dayShould),
              u"employee op=1 last=03-04 08:00"_s}},
            {"in 06:55, more than an hour early", false, false, {u"in|2024-03-04 06:55"_s},
             {u"in=03-04 06:55 out=- %1 exc=0 late=0 worked=- accum=0 swf=360"_s.arg(dayShould),
              u"employee op=1 last=03-04 06:55"_s}},
            {"in 06:55, group checks in early", false, true, {u"in|2024-03-04 06:55"_s},
             {u"in=03-04 06:55 out=- %1 exc=0 late=0 worked=- accum=0 swf=360"_s.arg(dayShould),
              u"employee op=1 last=03-04 06:55"_s}},
            {"in 11:30, after the break start", false, false, {u"in|2024-03-04 11:30"_s},
             {u"in=03-04 12:00 out=- should=03-04 12:00/03-04 15:00 exc=0 late=0 worked=- accum=0 swf=360"_s,
              u"employee op=1 last=03-04 12:00"_s}},
            {"in 11:30, group checks in early", false, true, {u"in|2024-03-04 11:30"_s},
             {u"in=03-04 11:30 out=- should=03-04 12:00/03-04 15:00 exc=0 late=0 worked=- accum=0 swf=360"_s,
              u"employee op=1 last=03-04 11:30"_s}},
            {"in 11:00, exactly at the break start", false, false, {u"in|2024-03-04 11:00"_s},
             {u"in=03-04 11:00 out=- should=03-04 08:00/03-04 15:00 exc=1 late=180 worked=- accum=0 swf=360"_s,
              u"employee op=1 last=03-04 11:00"_s}},
            {"in 15:01, after the end", false, false, {u"in|2024-03-04 15:01"_s},
             {u"in=03-04 15:01 out=- should=- exc=0 late=0 worked=- accum=0 swf=360"_s,
              u"employee op=1 last=03-04 15:01"_s}},
            {"in on a day without schedule", false, false, {u"in|2024-03-10 09:00"_s},
             {u"in=03-10 09:00 out=- should=- exc=0 late=0 worked=- accum=0 swf=120"_s,
              u"employee op=1 last=03-10 09:00"_s}},
            {"night shift, in before its end", true, false, {u"in|2024-03-04 05:00"_s},
             {u"in=03-04 05:00 out=- should=03-04 22:00/03-04 06:00 exc=0 late=0 worked=- accum=0 swf=480"_s,
              u"employee op=1 last=03-04 05:00"_s}},
            {"night shift, in after its end", true, false, {u"in|2024-03-04 22:00"_s},
             {u"in=03-04 22:00 out=- should=- exc=0 late=0 worked=- accum=0 swf=480"_s,
              u"employee op=1 last=03-04 22:00"_s}},
            {"out 10:45, early", false, false, {u"in|2024-03-04 08:00"_s, u"out|2024-03-04 10:45"_s},
             {u"in=03-04 08:00 out=03-04 10:45 %1 exc=6 late=15 worked=165 accum=165 swf=360"_s.arg(dayShould),
              u"employee op=0 last=03-04 10:45"_s}},
            {"out 11:00, on time, day incomplete", false, false,
             {u"in|2024-03-04 08:00"_s, u"out|2024-03-04 11:00"_s},
             {u"in=03-04 08:00 out=03-04 11:00 %1 exc=4 late=0 worked=180 accum=180 swf=360"_s.arg(dayShould),
              u"employee op=0 last=03-04 11:00"_s}},
            {"late in and early out add up", false, false, {u"in|2024-03-04 08:20"_s, u"out|2024-03-04 10:50"_s},
             {u"in=03-04 08:20 out=03-04 10:50 %1 exc=7 late=30 worked=150 accum=150 swf=360"_s.arg(dayShould),
              u"employee op=0 last=03-04 10:50"_s}},
            {"two periods complete the day", false, false,
             {u"in|2024-03-04 08:00"_s, u"out|2024-03-04 11:00"_s, u"in|2024-03-04 12:00"_s,
              u"out|2024-03-04 15:00"_s},
             {u"in=03-04 08:00 out=03-04 11:00 %1 exc=0 late=0 worked=180 accum=180 swf=360"_s.arg(dayShould),
              u"in=03-04 12:00 out=03-04 15:00 should=03-04 12:00/03-04 15:00 exc=0 late=0 worked=180 accum=360 "
              "swf=360"_s,
              u"employee op=0 last=03-04 15:00"_s}},
            {"two periods short of the day", false, false,
             {u"in|2024-03-04 08:00"_s, u"out|2024-03-04 11:00"_s, u"in|2024-03-04 12:00"_s,
              u"out|2024-03-04 14:30"_s},
             {u"in=03-04 08:00 out=03-04 11:00 %1 exc=4 late=0 worked=180 accum=180 swf=360"_s.arg(dayShould),
              u"in=03-04 12:00 out=03-04 14:30 should=03-04 12:00/03-04 15:00 exc=6 late=30 worked=150 accum=330 "
              "swf=360"_s,
              u"employee op=0 last=03-04 14:30"_s}},
            {"out before the check-in it closes", false, false,
             {u"in|2024-03-04 07:30"_s, u"out|2024-03-04 07:45"_s},
             {u"in=03-04 08:00 out=03-04 08:00 %1 exc=4 late=0 worked=0 accum=0 swf=360"_s.arg(dayShould),
              u"employee op=0 last=03-04 08:00"_s}},
            {"out with a reason and a note", false, false,
             {u"in|2024-03-04 08:00"_s, u"out|2024-03-04 15:00|3|Doctor's visit"_s},
             {u"in=03-04 08:00 out=03-04 15:00 %1 exc=0 late=0 worked=420 accum=420 swf=360 reason=3 "
              "note=Doctor's visit"_s.arg(dayShould),
              u"employee op=0 last=03-04 15:00"_s}},
            {"period across midnight counts with the day before", false, false,
             {u"in|2024-03-04 08:00"_s, u"out|2024-03-04 11:00"_s, u"in|2024-03-04 22:00"_s,
              u"out|2024-03-05 02:00"_s},
             {u"in=03-04 08:00 out=03-04 11:00 %1 exc=4 late=0 worked=180 accum=180 swf=360"_s.arg(dayShould),
              u"in=03-04 22:00 out=03-05 02:00 should=- exc=0 late=0 worked=240 accum=420 swf=360"_s,
              u"employee op=0 last=03-05 02:00"_s}},
            {"period across midnight marks only the check-out day", false, false,
             {u"in|2024-03-04 22:00"_s, u"out|2024-03-05 02:00"_s},
             {u"in=03-04 22:00 out=03-05 02:00 should=- exc=0 late=0 worked=240 accum=240 swf=360"_s,
              u"employee op=0 last=03-05 02:00"_s}},
        };
        // clang-format on
        ForEachBackend([&](TBackend backend, const QString& backendName) {
            for (const TCase& c : cases) {
                QTest::addRow("%s: %s", qPrintable(backendName), c.name)
                    << backend << c.nightShift << c.checkInEarly << c.punches << c.expected;
            }
        });
    }
    void punches()
    {
        QFETCH(TBackend, backend);
        QFETCH(bool, nightShift);
        QFETCH(bool, checkInEarly);
        QFETCH(QStringList, punches);
        QFETCH(QStringList, expected);
        REQUIRE_CLOCK_DATABASE(database, m_databases, backend);
        const int employee = nightShift ? AddEmployee(*database, NightSchedule, 480, checkInEarly)
                                        : AddEmployee(*database, DaySchedule, 360, checkInEarly);

        TPunchEngine engine(database->AppData());
        for (const QString& punch : punches)
            Punch(engine, employee, punch);

        QCOMPARE(Snapshot(database->AppData(), employee), expected);
        const int station = database->AppData().AppRegistry().StationId;
        QCOMPARE(
            database
                ->Scalar(
                    u"SELECT COUNT(*) FROM CHECKRECORD WHERE EMPLOYEEID = %1 AND (CHECKINSTATIONID <> %2 "
                    "OR CHECKOUTSTATIONID <> %2)"_s.arg(employee)
                        .arg(station))
                .toInt(),
            0);
    }

    // A statement that fails after the record was closed and the last operation set (here the
    // running totals, blocked by a trigger): the whole check-out is undone.
    void failingStatementLeavesCheckOutUndone_data() { TClockTestDatabase::AddBackendRows(); }
    void failingStatementLeavesCheckOutUndone()
    {
        QFETCH(TBackend, backend);
        REQUIRE_CLOCK_DATABASE(database, m_databases, backend);
        const int employee = AddEmployee(*database);
        TPunchEngine engine(database->AppData());
        QList<TTrackEvent> told;
        engine.SetTrackHandler([&](int, TTrackEvent event, TDateTime) { told.append(event); });
        engine.RegisterCheckIn(CheckType::Normal, employee, false, ParseTime(u"2024-03-04 08:00"_s));
        const QStringList before = Snapshot(database->AppData(), employee);

        const QStringList blockTotals = BlockAccumulatedTotals(backend);
        const QStringList unblock = UnblockAccumulatedTotals(backend);
        for (const QString& sql : blockTotals)
            database->Execute(sql);
        auto removeTrigger = qScopeGuard([&] {
            for (const QString& sql : unblock)
                database->Execute(sql);
        });
        QVERIFY_THROWS_EXCEPTION(EDatabaseError,
                                 engine.RegisterCheckOut(CheckType::Normal, false, true, QString(), 0,
                                                         employee, ParseTime(u"2024-03-04 11:00"_s)));
        QCOMPARE(Snapshot(database->AppData(), employee), before);
        QCOMPARE(told, QList<TTrackEvent>());
        QVERIFY(!database->AppData().DBManager().InTransaction());

        // The connection is usable again: the same check-out goes through once the block is gone.
        removeTrigger.dismiss();
        for (const QString& sql : unblock)
            database->Execute(sql);
        engine.RegisterCheckOut(CheckType::Normal, false, true, QString(), 0, employee,
                                ParseTime(u"2024-03-04 11:00"_s));
        QCOMPARE(Snapshot(database->AppData(), employee).last(), u"employee op=0 last=03-04 11:00"_s);
        QCOMPARE(told, (QList<TTrackEvent>{TTrackEvent::CheckOut, TTrackEvent::Exceptions}));
    }

    // Without an open record there is nothing to close: the check-out is refused and nothing changes,
    // neither for an employee who never checked in nor for one who already checked out.
    void checkOutWithoutOpenRecordIsRefused_data()
    {
        AddBackendColumn();
        QTest::addColumn<QStringList>("punches");
        ForEachBackend([](TBackend backend, const QString& name) {
            QTest::addRow("%s: never checked in", qPrintable(name)) << backend << QStringList();
            QTest::addRow("%s: already checked out", qPrintable(name))
                << backend << QStringList{u"in|2024-03-04 08:00"_s, u"out|2024-03-04 11:00"_s};
        });
    }
    void checkOutWithoutOpenRecordIsRefused()
    {
        QFETCH(TBackend, backend);
        QFETCH(QStringList, punches);
        REQUIRE_CLOCK_DATABASE(database, m_databases, backend);
        const int employee = AddEmployee(*database);
        TPunchEngine engine(database->AppData());
        for (const QString& punch : punches)
            Punch(engine, employee, punch);
        const QStringList before = Snapshot(database->AppData(), employee);

        try {
            engine.RegisterCheckOut(CheckType::Normal, false, true, QString(), 0, employee,
                                    ParseTime(u"2024-03-04 16:00"_s));
            QFAIL("the check-out was accepted");
        } catch (const EDatabaseError& error) {
            QFAIL(error.what());
        } catch (const Exception& error) {
            QCOMPARE(error.Message(),
                     u"The employee has no open check-in, so the check-out was not registered."_s);
        }
        QCOMPARE(Snapshot(database->AppData(), employee), before);
    }

    // The latest record of the day, and whether the records looked at start after the time asked.
    void readDayRecord_data()
    {
        AddBackendColumn();
        QTest::addColumn<QString>("time");
        QTest::addColumn<int>("record"); // 0 none, 1 the 08:00 record, 2 the 12:00 record
        QTest::addColumn<bool>("laterOrNone");
        QTest::addColumn<bool>("moreRecords");
        ForEachBackend([](TBackend backend, const QString& name) {
            QTest::addRow("%s: before both", qPrintable(name))
                << backend << u"2024-03-04 07:00"_s << 2 << true << true;
            QTest::addRow("%s: between", qPrintable(name))
                << backend << u"2024-03-04 10:00"_s << 2 << false << true;
            QTest::addRow("%s: after both", qPrintable(name))
                << backend << u"2024-03-04 16:00"_s << 2 << false << true;
            QTest::addRow("%s: other day", qPrintable(name))
                << backend << u"2024-03-05 10:00"_s << 0 << true << false;
        });
    }
    void readDayRecord()
    {
        QFETCH(TBackend, backend);
        QFETCH(QString, time);
        QFETCH(int, record);
        QFETCH(bool, laterOrNone);
        QFETCH(bool, moreRecords);
        REQUIRE_CLOCK_DATABASE(database, m_databases, backend);
        const int employee = AddEmployee(*database);
        TPunchEngine engine(database->AppData());
        for (const QString& punch : {u"in|2024-03-04 08:00"_s, u"out|2024-03-04 11:00"_s,
                                     u"in|2024-03-04 12:00"_s, u"out|2024-03-04 15:00|3|Dentist"_s})
            Punch(engine, employee, punch);

        const TCheckInInfo info = engine.ReadDayRecord(employee, ParseTime(time));
        QCOMPARE(info.LaterOrNone, laterOrNone);
        QCOMPARE(info.MoreRecords, moreRecords);
        QCOMPARE(info.EmployeeId, employee);
        if (record == 0) {
            QCOMPARE(info.CheckId, -1);
            QCOMPARE(info.CheckIn, 0.0);
            return;
        }
        QCOMPARE(DateTimeConv::ToQDateTime(info.CheckIn).toString(u"HH:mm"_s), u"12:00"_s);
        QCOMPARE(DateTimeConv::ToQDateTime(info.CheckOut).toString(u"HH:mm"_s), u"15:00"_s);
        QCOMPARE(info.ReasonId, 3);
        QCOMPARE(info.Note, u"Dentist"_s);
        QCOMPARE(info.ModifiedBy, -1);
        QCOMPARE(info.Worked, 180.0);
        QCOMPARE(info.AccumWorked, 360.0);
    }

    // The time-record editor recomputes a day after deleting its last record: with no check-in to
    // start from, only that day is recomputed, never the employee's earlier days.
    void dayTotalsWithoutCheckInStayOnTheDay()
    {
        REQUIRE_CLOCK_DATABASE(database, m_databases, TClockTestDatabase::Sqlite);
        const int employee = AddEmployee(*database);
        TPunchEngine engine(database->AppData());
        for (const QString& punch : {u"in|2024-03-04 08:00"_s, u"out|2024-03-04 11:00"_s,
                                     u"in|2024-03-05 08:00"_s, u"out|2024-03-05 11:00"_s})
            Punch(engine, employee, punch);
        const QStringList before = Snapshot(database->AppData(), employee);

        TCheckInInfo noRecord;
        noRecord.EmployeeId = employee;
        noRecord.ShouldWorkFor = 360;
        engine.UpdateDayTotals(noRecord, false, ParseTime(u"2024-03-05 12:00"_s));
        QCOMPARE(Snapshot(database->AppData(), employee), before);
    }

    // Tracking hears each event of a committed punch, with the punch time, and only when asked to.
    void trackingHearsCommittedPunches()
    {
        REQUIRE_CLOCK_DATABASE(database, m_databases, TClockTestDatabase::Sqlite);
        const int employee = AddEmployee(*database);
        TPunchEngine engine(database->AppData());
        QStringList told;
        engine.SetTrackHandler([&](int id, TTrackEvent event, TDateTime time) {
            told.append(u"%1 %2 %3"_s.arg(id)
                            .arg(int(event))
                            .arg(DateTimeConv::ToQDateTime(time).toString(u"HH:mm"_s)));
        });
        engine.RegisterCheckIn(CheckType::Normal, employee, true, ParseTime(u"2024-03-04 07:30:40"_s));
        engine.RegisterCheckOut(CheckType::Normal, false, true, QString(), 0, employee,
                                ParseTime(u"2024-03-04 10:00:10"_s));
        engine.RegisterCheckIn(CheckType::Normal, employee, false, ParseTime(u"2024-03-04 12:00"_s));
        engine.RegisterCheckOut(CheckType::Normal, false, false, QString(), 0, employee,
                                ParseTime(u"2024-03-04 15:00"_s));
        const QString id = QString::number(employee);
        QCOMPARE(told, (QStringList{id + u" 1 08:00"_s, id + u" 2 10:00"_s, id + u" 3 10:00"_s}));
    }

private:
    // Statements that make every change of CHECKRECORD.ACCUMWORKED fail, and their undoing.
    static QStringList BlockAccumulatedTotals(TBackend backend)
    {
        switch (backend) {
        case TClockTestDatabase::Sqlite:
            return {u"CREATE TRIGGER BLOCKTOTALS BEFORE UPDATE OF ACCUMWORKED ON CHECKRECORD "
                    "BEGIN SELECT RAISE(ABORT, 'totals blocked'); END"_s};
        case TClockTestDatabase::MariaDb:
            return {u"CREATE TRIGGER BLOCKTOTALS BEFORE UPDATE ON CHECKRECORD FOR EACH ROW BEGIN "
                    "IF NOT (NEW.ACCUMWORKED <=> OLD.ACCUMWORKED) THEN "
                    "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'totals blocked'; END IF; END"_s};
        case TClockTestDatabase::Firebird:
            return {
                u"CREATE EXCEPTION BLOCKTOTALS 'totals blocked'"_s,
                u"CREATE TRIGGER BLOCKTOTALS_BU FOR CHECKRECORD ACTIVE BEFORE UPDATE POSITION 0 AS BEGIN "
                "IF (NEW.ACCUMWORKED IS DISTINCT FROM OLD.ACCUMWORKED) THEN EXCEPTION BLOCKTOTALS; END"_s};
        }
        return {};
    }
    static QStringList UnblockAccumulatedTotals(TBackend backend)
    {
        if (backend == TClockTestDatabase::Firebird)
            return {u"DROP TRIGGER BLOCKTOTALS_BU"_s, u"DROP EXCEPTION BLOCKTOTALS"_s};
        return {u"DROP TRIGGER BLOCKTOTALS"_s};
    }
};

QTEST_GUILESS_MAIN(TestPunchEngine)
#include "tst_punchengine.moc"
