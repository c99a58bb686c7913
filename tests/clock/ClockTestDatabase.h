#pragma once

// A data module started on a fresh database of one kind, with the schema and nothing else: a
// SQLite file in a temporary directory, or a new database on one of the loopback servers of
// scripts/test. Groups and employees are added with ids of the test's choosing.

#include "TestServers.h"
#include "dmAppData.h"

#include <QSqlDatabase>
#include <QStringList>
#include <QTemporaryDir>
#include <map>
#include <memory>
#include <optional>

class TClockTestDatabase final
{
public:
    enum TBackend { Sqlite, MariaDb, Firebird };

    // "sqlite", "mariadb", "firebird".
    static QString Name(TBackend backend);
    static const QList<TBackend>& AllBackends();
    // A started database of each kind whose server is configured, for a whole test program.
    // Raises std::runtime_error when one cannot be started.
    static std::map<TBackend, std::unique_ptr<TClockTestDatabase>> StartAvailable();
    // A data column "backend" with one row per kind, named after it (the test declares the
    // metatype: Q_DECLARE_METATYPE(TClockTestDatabase::TBackend)).
    static void AddBackendRows();

    explicit TClockTestDatabase(TBackend backend);
    ~TClockTestDatabase();
    TClockTestDatabase(const TClockTestDatabase&) = delete;
    TClockTestDatabase& operator=(const TClockTestDatabase&) = delete;

    // Makes the database and starts the data module on it (settings in this fixture's own
    // directory; missing tables created). False when the server is not configured; raises
    // std::runtime_error when the data module cannot continue.
    bool Start();

    TBackend Backend() const { return m_backend; }
    TdtmAppData& AppData() { return *m_appData; }
    QSqlDatabase Database() const;

    // Runs a statement on the data module's connection, outside its manager; raises
    // std::runtime_error with the driver's text when it fails.
    void Execute(const QString& sql) const;
    // The first column of the first row (invalid when there is none).
    QVariant Scalar(const QString& sql) const;

    // EMPLOYEEGROUPS row `groupId` with the same schedule on Monday..Saturday (times "HH:mm", empty
    // for null) and Sunday without schedule (_S 0) and `sundayMinutes` to work.
    void AddGroup(int groupId, const QStringList& startBreakEndTimes, int minutesToWork, int tolerance,
                  bool checkInEarly, int sundayMinutes = 0) const;
    void AddEmployee(int employeeId, int groupId) const;

private:
    TBackend m_backend;
    QTemporaryDir m_dir;
    std::optional<TestServers::Database> m_server;
    std::unique_ptr<TdtmAppData> m_appData;
};

// Declares `variable` as the started database of `backend` in `databases`, or skips the test
// function when that server was not started (fails it when scripts/test promised the servers).
#define REQUIRE_CLOCK_DATABASE(variable, databases, backend)                                                 \
    TClockTestDatabase* variable = (databases)[backend].get();                                               \
    if (!variable) {                                                                                         \
        if (TestSupport::ServersRequired())                                                                  \
            QFAIL(qPrintable(TestServers::MissingServersMessage()));                                         \
        QSKIP(qPrintable(TestServers::MissingServersMessage()));                                             \
    }
