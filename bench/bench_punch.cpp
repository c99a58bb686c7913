// Punches per second: a check-in and a check-out with its day totals, through the punch engine and
// through the same statements run directly with QSqlQuery on the same connection, in one run. On
// SQLite (a file in a temporary directory) and on MariaDB when the HORAVANT_TEST_MYSQL_* variables
// name a server (scripts/test-servers start prints them). Every iteration punches on a day of its
// own (a Monday, a week after the last), so each day totals pass sees one record as at a real
// clock. Times are wall-clock (the server works in another process); the engine/direct ratios of
// each database, of wall time and of this process's CPU time (the engine's own cost, which a busy
// machine disturbs less), are printed at the end.

#include "ClockTestDatabase.h"
#include "uPunchEngine.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>

using namespace Qt::StringLiterals;

namespace
{

constexpr int EngineEmployee = 1;
constexpr int DirectEmployee = 2;
const TDateTime FirstDay = DateTimeConv::EncodeDate(2024, 3, 4);

QSqlQuery Run(const QSqlDatabase& db, const QString& sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        throw std::runtime_error(QString(query.lastError().text() + u'\n' + sql).toStdString());
    return query;
}

// A data module on a fresh database, made as the clock tests make theirs, with one group
// (08:00-11:00, 12:00-15:00, 360 minutes, Monday to Saturday) and the two employees in it.
class TBenchDatabase final
{
public:
    explicit TBenchDatabase(TClockTestDatabase::TBackend backend) : m_database(backend)
    {
        if (!m_database.Start())
            throw std::runtime_error("the test server is not configured");
        m_database.AddGroup(1, {u"08:00"_s, u"11:00"_s, u"12:00"_s, u"15:00"_s}, 360, 15, false);
        m_database.AddEmployee(EngineEmployee, 1);
        m_database.AddEmployee(DirectEmployee, 1);
    }

    TdtmAppData& AppData() { return m_database.AppData(); }
    QSqlDatabase Database() const { return m_database.Database(); }
    bool Local() const { return m_database.Backend() == TClockTestDatabase::Sqlite; }
    // CHECKRECORD has no index but its key: every run starts from an empty table, so both sides
    // scan tables of the same size.
    void ClearRecords() const { m_database.Execute(u"DELETE FROM CHECKRECORD"_s); }

private:
    TClockTestDatabase m_database;
};

std::map<std::string, TBenchDatabase*> Databases;

// The punch times of iteration `week`: in at 08:00, out at 15:00, on a Monday, a week later each
// time (Sundays have no schedule).
TDateTime CheckInTime(qint64 week)
{
    return FirstDay + 7.0 * double(week) + DateTimeConv::EncodeTime(8, 0);
}
TDateTime CheckOutTime(qint64 week)
{
    return FirstDay + 7.0 * double(week) + DateTimeConv::EncodeTime(15, 0);
}

void EnginePunch(benchmark::State& state, const std::string& database)
{
    TBenchDatabase& db = *Databases.at(database);
    db.ClearRecords();
    TPunchEngine engine(db.AppData());
    qint64 week = 0;
    for (auto _ : state) {
        engine.RegisterCheckIn(CheckType::Normal, EngineEmployee, false, CheckInTime(week));
        engine.RegisterCheckOut(CheckType::Normal, false, false, QString(), 0, EngineEmployee,
                                CheckOutTime(week));
        ++week;
    }
    state.counters["punches/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

// The engine's statements for this database, written out by hand and run with QSqlQuery, reading
// the same values the engine reads.
class TDirectPunch final
{
public:
    explicit TDirectPunch(const TBenchDatabase& db) : m_db(db.Database()), m_local(db.Local()) {}

    void Punch(qint64 week)
    {
        const QString date = DateTimeConv::ToQDate(CheckInTime(week)).toString(u"yyyy-MM-dd"_s);
        const QString nextDate =
            DateTimeConv::ToQDate(CheckInTime(week)).addDays(1).toString(u"yyyy-MM-dd"_s);
        const QString checkIn = date + u" 08:00:00"_s;
        const QString checkOut = date + u" 15:00:00"_s;
        const QString employee = QString::number(DirectEmployee);

        Transaction([&] {
            QSqlQuery group =
                Run(m_db, u"SELECT * FROM EMPLOYEEGROUPS EG, EMPLOYEES E WHERE EG.GROUPID = E.GROUPID "
                          "AND EMPLOYEEID = "_s +
                              employee);
            group.next();
            const QString weekday = DateTimeConv::ToQDate(CheckInTime(week)).toString(u"dddd"_s).toUpper();
            for (const QString& suffix : {u"_S"_s, u"_L"_s, u"_B"_s, u"_E"_s, u"_T"_s})
                benchmark::DoNotOptimize(group.value(weekday + suffix).toDouble());
            const QString tolerance = group.value(u"TOLERANCE"_s).toString();
            benchmark::DoNotOptimize(group.value(u"CHECKINEARLY"_s).toInt());
            Run(m_db,
                u"INSERT INTO CHECKRECORD (EMPLOYEEID, CHECKINTIMESTAMP, CHECKINSTATIONID, SHOULDCHECKINAT, "
                "SHOULDCHECKOUTAT, SHOULDWORKFOR, TOLERANCE, CHECKEXCEPTION, MINUTESLATE, CHECKTYPE ) VALUES "
                "(%1, '%2', 1, '%2', '%3 11:00:00', 360, %4, 0, 0, 1)"_s.arg(employee, checkIn, date,
                                                                             tolerance));
            SetLastOperation(employee, 1, checkIn);
        });
        Transaction([&] {
            QSqlQuery open = Run(
                m_db,
                u"SELECT C.* FROM CHECKRECORD C, EMPLOYEES E WHERE E.EMPLOYEEID = %1 AND "
                "C.EMPLOYEEID = E.EMPLOYEEID AND E.LASTCHECKTIMESTAMP = C.CHECKINTIMESTAMP"_s.arg(employee));
            open.next();
            const QString checkId = open.value(u"CHECKID"_s).toString();
            for (const QString& column : {u"CHECKINTIMESTAMP"_s, u"SHOULDCHECKOUTAT"_s, u"CHECKEXCEPTION"_s,
                                          u"MINUTESLATE"_s, u"SHOULDWORKFOR"_s, u"TOLERANCE"_s})
                benchmark::DoNotOptimize(open.value(column));
            open.finish();
            Run(m_db,
                u"UPDATE CHECKRECORD SET CHECKOUTTIMESTAMP= '%1', CHECKOUTSTATIONID = 1, CHECKEXCEPTION = 0, "
                "MINUTESLATE = 0, CHECKTYPE = 1, WORKED = 420 WHERE CHECKID = %2"_s.arg(checkOut, checkId));
            SetLastOperation(employee, 0, checkOut);
            const QString range = DayRange(date, nextDate);
            QSqlQuery rows = Run(m_db, u"SELECT * FROM CHECKRECORD WHERE EMPLOYEEID = %1 AND %2 ORDER BY "
                                       "CHECKINTIMESTAMP ASC"_s.arg(employee, range));
            double total = 0;
            while (rows.next()) {
                total += rows.value(u"WORKED"_s).toDouble();
                Run(m_db,
                    u"UPDATE CHECKRECORD SET ACCUMWORKED = %1 WHERE EMPLOYEEID = %2 AND %3 AND CHECKID = %4"_s
                        .arg(QString::number(total), employee, range, rows.value(u"CHECKID"_s).toString()));
            }
            Run(m_db, u"UPDATE CHECKRECORD SET CHECKEXCEPTION = CHECKEXCEPTION - 4 WHERE EMPLOYEEID = %1 AND "
                      u"%2 AND "
                      "CHECKEXCEPTION > 3"_s.arg(employee, range));
        });
    }

private:
    template <typename Statements> void Transaction(Statements statements)
    {
        m_db.transaction();
        try {
            statements();
            m_db.commit();
        } catch (...) {
            m_db.rollback();
            throw;
        }
    }
    void SetLastOperation(const QString& employee, int operation, const QString& time)
    {
        Run(m_db,
            u"UPDATE EMPLOYEES SET LASTOPERATION = %1 , LASTCHECKTIMESTAMP = '%2' WHERE EMPLOYEEID = %3"_s
                .arg(QString::number(operation), time, employee));
    }
    // The day range as the LOCAL texts write it (through the Access format() function) or the others.
    QString DayRange(const QString& date, const QString& nextDate) const
    {
        if (m_local)
            return u"CHECKINTIMESTAMP >= format('%1', 'yyyy-mm-dd') AND CHECKINTIMESTAMP < format('%2', 'yyyy-mm-dd')"_s
                .arg(date, nextDate);
        return u"CHECKINTIMESTAMP >= '%1' AND CHECKINTIMESTAMP < '%2'"_s.arg(date, nextDate);
    }

    QSqlDatabase m_db;
    bool m_local;
};

void DirectPunch(benchmark::State& state, const std::string& database)
{
    Databases.at(database)->ClearRecords();
    TDirectPunch punch(*Databases.at(database));
    qint64 week = 0;
    for (auto _ : state)
        punch.Punch(week++);
    state.counters["punches/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

// A fixed number of punches on each side: the table grows with every punch, so both must see the
// same sizes.
void Register(const std::string& database, int punches)
{
    benchmark::RegisterBenchmark(("EnginePunch/" + database).c_str(), EnginePunch, database)
        ->UseRealTime()
        ->Iterations(punches);
    benchmark::RegisterBenchmark(("DirectPunch/" + database).c_str(), DirectPunch, database)
        ->UseRealTime()
        ->Iterations(punches);
}

// The console output, plus each database's engine/direct ratio at the end.
class TRatioReporter final : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            m_nanoseconds[run.benchmark_name()] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const auto& [database, db] : Databases) {
            const auto engine = FindRun("EnginePunch/" + database);
            const auto direct = FindRun("DirectPunch/" + database);
            if (engine == m_nanoseconds.end() || direct == m_nanoseconds.end())
                continue;
            const auto [engineReal, engineCpu] = engine->second;
            const auto [directReal, directCpu] = direct->second;
            std::printf("%s: engine %.0f punches/s, direct %.0f punches/s; engine / direct: wall time %.2f, "
                        "CPU time of this process %.2f\n",
                        database.c_str(), 1e9 / engineReal, 1e9 / directReal, engineReal / directReal,
                        engineCpu / directCpu);
        }
    }

private:
    // The run whose name starts with `prefix` (the rest names the iterations and the time kind).
    using TTimes = std::pair<double, double>; // wall, CPU (ns per punch)

    std::map<std::string, TTimes>::const_iterator FindRun(const std::string& prefix) const
    {
        const auto run = m_nanoseconds.lower_bound(prefix);
        return run != m_nanoseconds.end() && run->first.compare(0, prefix.size(), prefix) == 0
                   ? run
                   : m_nanoseconds.end();
    }

    std::map<std::string, TTimes> m_nanoseconds;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    TBenchDatabase sqlite(TClockTestDatabase::Sqlite);
    Databases["sqlite"] = &sqlite;
    std::unique_ptr<TBenchDatabase> mariaDb;
    if (qEnvironmentVariableIsEmpty("HORAVANT_TEST_MYSQL_HOST")) {
        std::printf(
            "MariaDB skipped: no HORAVANT_TEST_MYSQL_* variables (scripts/test-servers start prints them)\n");
    } else {
        mariaDb = std::make_unique<TBenchDatabase>(TClockTestDatabase::MariaDb);
        Databases["mariadb"] = mariaDb.get();
    }
    for (const auto& [database, db] : Databases)
        Register(database, db->Local() ? 40 : 400); // a local commit waits for the disk
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    Databases.clear();
    return 0;
}
