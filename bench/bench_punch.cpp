// Punches per second: a check-in and a check-out with its day totals, through the punch engine and
// through the same statements run directly with QSqlQuery on the same connection, in one run. On
// SQLite (a file in a temporary directory) and on MariaDB when the HORAVANT_TEST_MYSQL_* variables
// name a server (scripts/test-servers start prints them). Every iteration punches on a day of its
// own, so each day totals pass sees one record as at a real clock. Times are wall-clock (the server
// works in another process); the engine/direct ratios of each database, of wall time and of this
// process's CPU time (the engine's own cost, which a busy machine disturbs less), are printed at
// the end.

#include "TestServers.h"
#include "dmAppData.h"
#include "uPunchEngine.h"

#include <QCoreApplication>
#include <QSettings>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>

using namespace Qt::StringLiterals;

namespace
{

constexpr int EngineEmployee = 1;
constexpr int DirectEmployee = 2;
const TDateTime FirstDay = DateTimeConv::EncodeDate(2024, 3, 4);

class TAgreeingPrompts final : public TStartupPrompts
{
public:
    bool AskYesNo(TKind, const QString&) override { return true; }
    void Show(TKind, const QString&) override {}
    bool EditDatabaseSettings(TAppRegistry&) override { return false; }
};

QSqlQuery Run(const QSqlDatabase& db, const QString& sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        throw std::runtime_error(QString(query.lastError().text() + u'\n' + sql).toStdString());
    return query;
}

// A data module on a database with one group (08:00-11:00, 12:00-15:00, 360 minutes, every day)
// and two employees in it.
class TBenchDatabase final
{
public:
    explicit TBenchDatabase(bool mariaDb)
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.filePath(u"config"_s));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_dir.filePath(u"cache"_s)));
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, u"Ostrelo"_s, u"KronvikClock2"_s);
        if (mariaDb) {
            m_server = TestServers::CreateMariaDbDatabase(u"benchpunch"_s);
            settings.setValue(u"DatabaseType"_s, Dialect::MYSQL);
            settings.setValue(u"HostName"_s, QString(m_server->host + u':' + QString::number(m_server->port)));
            settings.setValue(u"DatabaseName"_s, m_server->database);
            settings.setValue(u"UserName"_s, m_server->user);
            settings.setValue(u"Password"_s, m_server->password);
        } else {
            settings.setValue(u"DatabaseType"_s, Dialect::LOCAL);
            settings.setValue(u"DatabaseName"_s, m_dir.filePath(u"bench.db"_s));
        }
        settings.sync();
        TAgreeingPrompts prompts;
        appData = std::make_unique<TdtmAppData>(prompts);
        if (appData->CannotContinue())
            throw std::runtime_error("the data module cannot continue");
        AddGroupAndEmployees();
    }
    ~TBenchDatabase()
    {
        appData.reset();
        if (m_server)
            TestServers::DropDatabase(*m_server);
    }

    QSqlDatabase Database() const { return QSqlDatabase::database(appData->ActiveConnectionName()); }
    // CHECKRECORD has no index but its key: every run starts from an empty table, so both sides
    // scan tables of the same size.
    void ClearRecords() const { Run(Database(), u"DELETE FROM CHECKRECORD"_s); }
    bool Local() const { return !m_server; }

    std::unique_ptr<TdtmAppData> appData;

private:
    void AddGroupAndEmployees() const
    {
        QStringList columns{u"GROUPID"_s, u"GROUPNAME"_s, u"TOLERANCE"_s, u"CHECKINEARLY"_s};
        QStringList values{u"1"_s, u"'Bench'"_s, u"15"_s, u"0"_s};
        for (const QString& day : {u"MONDAY"_s, u"TUESDAY"_s, u"WEDNESDAY"_s, u"THURSDAY"_s, u"FRIDAY"_s,
                                  u"SATURDAY"_s, u"SUNDAY"_s}) {
            columns << day + u"_S"_s << day + u"_L"_s << day + u"_B"_s << day + u"_E"_s << day + u"_T"_s;
            values << Formatters::TimeOfDayForSQL(u"08:00"_s) << Formatters::TimeOfDayForSQL(u"11:00"_s)
                   << Formatters::TimeOfDayForSQL(u"12:00"_s) << Formatters::TimeOfDayForSQL(u"15:00"_s) << u"360"_s;
        }
        Run(Database(), u"INSERT INTO EMPLOYEEGROUPS (%1) VALUES (%2)"_s.arg(columns.join(u','), values.join(u',')));
        for (int id : {EngineEmployee, DirectEmployee})
            Run(Database(), u"INSERT INTO EMPLOYEES (EMPLOYEEID, FIRSTNAME, LASTNAME, GROUPID, LASTOPERATION) "
                            "VALUES (%1, 'Bench', 'Employee', 1, 0)"_s.arg(id));
    }

    QTemporaryDir m_dir;
    std::optional<TestServers::Database> m_server;
};

std::map<std::string, TBenchDatabase*> Databases;

// The punch times of iteration `day`: in at 08:00, out at 15:00, a day later each time.
TDateTime CheckInTime(qint64 day) { return FirstDay + double(day) + DateTimeConv::EncodeTime(8, 0); }
TDateTime CheckOutTime(qint64 day) { return FirstDay + double(day) + DateTimeConv::EncodeTime(15, 0); }

void EnginePunch(benchmark::State& state, const std::string& database)
{
    TBenchDatabase& db = *Databases.at(database);
    db.ClearRecords();
    TPunchEngine engine(*db.appData);
    qint64 day = 0;
    for (auto _ : state) {
        engine.RegisterCheckIn(CheckType::Normal, EngineEmployee, false, CheckInTime(day));
        engine.RegisterCheckOut(CheckType::Normal, false, false, QString(), 0, EngineEmployee, CheckOutTime(day));
        ++day;
    }
    state.counters["punches/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

// The engine's statements for this database, written out by hand and run with QSqlQuery, reading
// the same values the engine reads.
class TDirectPunch final
{
public:
    explicit TDirectPunch(const TBenchDatabase& db) : m_db(db.Database()), m_local(db.Local()) {}

    void Punch(qint64 day)
    {
        const QString date = DateTimeConv::ToQDate(CheckInTime(day)).toString(u"yyyy-MM-dd"_s);
        const QString nextDate = DateTimeConv::ToQDate(CheckInTime(day + 1)).toString(u"yyyy-MM-dd"_s);
        const QString checkIn = date + u" 08:00:00"_s;
        const QString checkOut = date + u" 15:00:00"_s;
        const QString employee = QString::number(DirectEmployee);

        Transaction([&] {
            QSqlQuery group = Run(m_db, u"SELECT * FROM EMPLOYEEGROUPS EG, EMPLOYEES E WHERE EG.GROUPID = E.GROUPID "
                                        "AND EMPLOYEEID = "_s + employee);
            group.next();
            const QString weekday = DateTimeConv::ToQDate(CheckInTime(day)).toString(u"dddd"_s).toUpper();
            for (const QString& suffix : {u"_S"_s, u"_L"_s, u"_B"_s, u"_E"_s, u"_T"_s})
                benchmark::DoNotOptimize(group.value(weekday + suffix).toDouble());
            const QString tolerance = group.value(u"TOLERANCE"_s).toString();
            benchmark::DoNotOptimize(group.value(u"CHECKINEARLY"_s).toInt());
            Run(m_db, u"INSERT INTO CHECKRECORD (EMPLOYEEID, CHECKINTIMESTAMP, CHECKINSTATIONID, SHOULDCHECKINAT, "
                      "SHOULDCHECKOUTAT, SHOULDWORKFOR, TOLERANCE, CHECKEXCEPTION, MINUTESLATE, CHECKTYPE ) VALUES "
                      "(%1, '%2', 1, '%2', '%3 11:00:00', 360, %4, 0, 0, 1)"_s.arg(employee, checkIn, date, tolerance));
            SetLastOperation(employee, 1, checkIn);
        });
        Transaction([&] {
            QSqlQuery open = Run(m_db, u"SELECT C.* FROM CHECKRECORD C, EMPLOYEES E WHERE E.EMPLOYEEID = %1 AND "
                                       "C.EMPLOYEEID = E.EMPLOYEEID AND E.LASTCHECKTIMESTAMP = C.CHECKINTIMESTAMP"_s
                                           .arg(employee));
            open.next();
            const QString checkId = open.value(u"CHECKID"_s).toString();
            for (const QString& column : {u"CHECKINTIMESTAMP"_s, u"SHOULDCHECKOUTAT"_s, u"CHECKEXCEPTION"_s,
                                         u"MINUTESLATE"_s, u"SHOULDWORKFOR"_s, u"TOLERANCE"_s})
                benchmark::DoNotOptimize(open.value(column));
            open.finish();
            Run(m_db, u"UPDATE CHECKRECORD SET CHECKOUTTIMESTAMP= '%1', CHECKOUTSTATIONID = 1, CHECKEXCEPTION = 0, "
                      "MINUTESLATE = 0, CHECKTYPE = 1, WORKED = 420 WHERE CHECKID = %2"_s.arg(checkOut, checkId));
            SetLastOperation(employee, 0, checkOut);
            const QString range = DayRange(date, nextDate);
            QSqlQuery rows = Run(m_db, u"SELECT * FROM CHECKRECORD WHERE EMPLOYEEID = %1 AND %2 ORDER BY "
                                       "CHECKINTIMESTAMP ASC"_s.arg(employee, range));
            double total = 0;
            while (rows.next()) {
                total += rows.value(u"WORKED"_s).toDouble();
                Run(m_db, u"UPDATE CHECKRECORD SET ACCUMWORKED = %1 WHERE EMPLOYEEID = %2 AND %3 AND CHECKID = %4"_s
                              .arg(QString::number(total), employee, range, rows.value(u"CHECKID"_s).toString()));
            }
            Run(m_db, u"UPDATE CHECKRECORD SET CHECKEXCEPTION = CHECKEXCEPTION - 4 WHERE EMPLOYEEID = %1 AND %2 AND "
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
        Run(m_db, u"UPDATE EMPLOYEES SET LASTOPERATION = %1 , LASTCHECKTIMESTAMP = '%2' WHERE EMPLOYEEID = %3"_s.arg(
                      QString::number(operation), time, employee));
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
    qint64 day = 0;
    for (auto _ : state)
        punch.Punch(day++);
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
        return run != m_nanoseconds.end() && run->first.compare(0, prefix.size(), prefix) == 0 ? run
                                                                                               : m_nanoseconds.end();
    }

    std::map<std::string, TTimes> m_nanoseconds;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    TBenchDatabase sqlite(false);
    Databases["sqlite"] = &sqlite;
    std::unique_ptr<TBenchDatabase> mariaDb;
    if (qEnvironmentVariableIsEmpty("HORAVANT_TEST_MYSQL_HOST")) {
        std::printf("MariaDB skipped: no HORAVANT_TEST_MYSQL_* variables (scripts/test-servers start prints them)\n");
    } else {
        mariaDb = std::make_unique<TBenchDatabase>(true);
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
