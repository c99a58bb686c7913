#pragma once

// Fresh databases on the loopback servers that scripts/test starts (scripts/test-servers), read
// from the HORAVANT_TEST_MYSQL_* and HORAVANT_TEST_FIREBIRD_* variables.
//
// Typical use in a test function:
//
//     const auto server = TestServers::CreateMariaDbDatabase(u"dbmanager"_s);
//     TESTSERVERS_REQUIRE(server);
//     const auto drop = qScopeGuard([&] { TestServers::DropDatabase(*server); });
//     TestServers::Connection connection(*server);   // declared after the guard: closed first
//     QVERIFY2(connection.isOpen(), qPrintable(connection.errorText()));
//     QSqlQuery query(connection.database());
//
// Each call makes a new, uniquely named database, so tests running side by side (ctest -j2)
// never share one.

#include "TestSupport.h"

#include <QSqlDatabase>
#include <QString>
#include <QTest>
#include <optional>

namespace TestServers
{

// Dialect numbers as the database manager numbers them.
inline constexpr int DialectInterbase = 1;
inline constexpr int DialectMySql = 3;

// One database on a test server, with everything needed to connect to it.
struct Database final {
    QString driver; // Qt SQL driver: "QMYSQL" or "QIBASE"
    QString host;   // always a loopback address
    int port = 0;
    QString database; // MariaDB: the schema name; Firebird: the database file's path on the server
    QString user;
    QString password;
    int dialect = 0; // DialectMySql or DialectInterbase
};

// A new empty database (utf8mb4 on MariaDB, UTF8 on Firebird) whose name starts with `prefix`
// (letters, digits and '_' are kept). Empty when that server's variables are not set, or when the
// server refused (then LastError() says why; TESTSERVERS_REQUIRE reports it).
std::optional<Database> CreateMariaDbDatabase(const QString& prefix);
std::optional<Database> CreateFirebirdDatabase(const QString& prefix);

// Why the last Create... call of this thread failed on a configured server; empty after a success
// or when the server's variables were missing.
QString LastError();

// Drops a database made above. Close every connection to it first (Firebird refuses to drop a
// database that is still attached). False, with a warning logged, when the drop failed.
bool DropDatabase(const Database& database);

// Says which servers are missing and how to start them; empty when all are configured.
QString MissingServersMessage();

// An open connection to `database` under a unique connection name, closed and removed from
// QSqlDatabase's list when it goes out of scope (keep no copy of database() beyond that).
// MariaDB sessions get NO_BACKSLASH_ESCAPES in their sql_mode, as the program's own connections
// do; Firebird sessions talk UTF8.
class Connection final
{
public:
    explicit Connection(const Database& database);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool isOpen() const { return m_database.isOpen(); }
    QString errorText() const { return m_error; }
    QSqlDatabase database() const { return m_database; }
    QString connectionName() const { return m_name; }

private:
    QString m_name;
    QSqlDatabase m_database;
    QString m_error;
};

} // namespace TestServers

// For a database from Create...: when it is empty, fails the current test function if the server
// refused or scripts/test promised the servers (TestSupport::ServersRequired()), and otherwise
// skips it because the servers were not started.
#define TESTSERVERS_REQUIRE(optionalDatabase)                                                                \
    do {                                                                                                     \
        if (!(optionalDatabase)) {                                                                           \
            if (!TestServers::LastError().isEmpty())                                                         \
                QFAIL(qPrintable(TestServers::LastError()));                                                 \
            if (TestSupport::ServersRequired())                                                              \
                QFAIL(qPrintable(TestServers::MissingServersMessage()));                                     \
            QSKIP(qPrintable(TestServers::MissingServersMessage()));                                         \
        }                                                                                                    \
    } while (false)
