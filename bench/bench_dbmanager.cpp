// What the database manager costs over SQLite itself: the same UPDATE (Execute) and the same keyed
// SELECT with two fields read (Open, FieldByName, Release) through TDBManager and through the raw
// sqlite3 API, on one database file, in one run. Prints the manager/raw ratio of each pair (CPU time,
// which a busy machine disturbs less than wall time). Both connections skip fsync so that the disk's
// wait does not hide what the manager adds to a write.

#include "uDBConnection.h"
#include "uDBManager.h"
#include "uSQLStringsHolder.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <map>
#include <string>

using namespace Qt::StringLiterals;

namespace {

const char* const UpdateSql = "UPDATE EMPLOYEES SET LASTOPERATION = 1 - LASTOPERATION WHERE EMPLOYEEID = 7";
const char* const SelectSql = "SELECT FIRSTNAME, LASTOPERATION FROM EMPLOYEES WHERE EMPLOYEEID = 7";

// One database file, reached both through a TDBManager and through its own sqlite3 handle.
struct TBenchDatabase {
    QTemporaryDir dir;
    TDBManager manager;
    sqlite3* raw = nullptr;

    TBenchDatabase()
    {
        const QString path = dir.filePath(u"bench.db"_s);
        DBConnection::Open(Dialect::LOCAL, {QString(), path, QString(), QString()}, u"bench"_s);
        manager.SetLocalConnection(u"bench"_s);
        manager.Execute(u"CREATE TABLE EMPLOYEES (EMPLOYEEID INTEGER PRIMARY KEY, FIRSTNAME TEXT, LASTOPERATION INTEGER)"_s);
        for (int id = 1; id <= 100; ++id)
            manager.ExecuteFmt(u"INSERT INTO EMPLOYEES VALUES (%d, '%s', 0)"_s, {id, u"Name %1"_s.arg(id)});
        manager.Execute(u"PRAGMA synchronous = OFF"_s);
        sqlite3_open(path.toUtf8().constData(), &raw);
        sqlite3_exec(raw, "PRAGMA synchronous = OFF", nullptr, nullptr, nullptr);
    }
    ~TBenchDatabase()
    {
        sqlite3_close(raw);
        manager.ClearPool();
        DBConnection::Close(u"bench"_s);
    }
};

TBenchDatabase* Db = nullptr;

void ManagerExecute(benchmark::State& state)
{
    const QString sql = QString::fromLatin1(UpdateSql);
    for (auto _ : state)
        Db->manager.Execute(sql);
}

void RawExecute(benchmark::State& state)
{
    for (auto _ : state) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(Db->raw, UpdateSql, -1, &statement, nullptr);
        sqlite3_step(statement);
        sqlite3_finalize(statement);
    }
}

void ManagerOpen(benchmark::State& state)
{
    const QString sql = QString::fromLatin1(SelectSql);
    for (auto _ : state) {
        TQueryReleaser query(Db->manager, Db->manager.Open(sql));
        benchmark::DoNotOptimize(query->FieldByName(u"FIRSTNAME"_s).AsString());
        benchmark::DoNotOptimize(query->FieldByName(u"LASTOPERATION"_s).AsInteger());
    }
}

void RawOpen(benchmark::State& state)
{
    for (auto _ : state) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(Db->raw, SelectSql, -1, &statement, nullptr);
        if (sqlite3_step(statement) == SQLITE_ROW) {
            benchmark::DoNotOptimize(QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)), sqlite3_column_bytes(statement, 0)));
            benchmark::DoNotOptimize(sqlite3_column_int(statement, 1));
        }
        sqlite3_finalize(statement);
    }
}

BENCHMARK(ManagerExecute);
BENCHMARK(RawExecute);
BENCHMARK(ManagerOpen);
BENCHMARK(RawOpen);

// The console output, plus each Manager*/Raw* pair's ratio at the end.
class TRatioReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            m_nanoseconds[run.benchmark_name()] = run.GetAdjustedCPUTime();
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const char* pair : {"Execute", "Open"}) {
            const auto manager = m_nanoseconds.find(std::string("Manager") + pair);
            const auto raw = m_nanoseconds.find(std::string("Raw") + pair);
            if (manager != m_nanoseconds.end() && raw != m_nanoseconds.end() && raw->second > 0)
                std::printf("%s: TDBManager / raw sqlite3 = %.2f\n", pair, manager->second / raw->second);
        }
    }

private:
    std::map<std::string, double> m_nanoseconds;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    TBenchDatabase db;
    Db = &db;
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
