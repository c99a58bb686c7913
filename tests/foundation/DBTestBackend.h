#pragma once

// The database the TDBManager and DBConnection tests run against: a SQLite file in a temporary
// directory, or a fresh database on one of the loopback servers of scripts/test.

#include "TestServers.h"
#include "uDBConnection.h"
#include "uDBManager.h"
#include "uSQLStringsHolder.h"

#include <QTemporaryDir>
#include <optional>

using namespace Qt::StringLiterals;

inline QString UniqueConnectionName()
{
    static int sequence = 0;
    return u"dbtest_%1"_s.arg(++sequence);
}

// The four connection settings of a database on a test server.
inline TConnectionSettings SettingsOf(const TestServers::Database& server)
{
    return {server.host + u':' + QString::number(server.port), server.database, server.user, server.password};
}

// A database reached through a TDBManager: a SQLite file in a temporary directory, or a fresh
// database on one of the loopback servers. Everything is closed and dropped at the end.
class TDBTestBackend final {
public:
    enum Kind { Sqlite, MariaDb, Firebird };

    explicit TDBTestBackend(Kind kind) : m_kind(kind), m_connectionName(UniqueConnectionName()) {}

    ~TDBTestBackend()
    {
        m_manager.ClearPool();
        DBConnection::Close(m_connectionName);
        if (m_server)
            TestServers::DropDatabase(*m_server);
    }

    // False when the server is not configured (the caller skips or fails through TESTSERVERS_REQUIRE).
    bool Create()
    {
        TConnectionSettings settings;
        if (m_kind == Sqlite) {
            settings.DatabaseName = LocalFile();
        } else {
            m_server = m_kind == MariaDb ? TestServers::CreateMariaDbDatabase(u"dbtest"_s)
                                         : TestServers::CreateFirebirdDatabase(u"dbtest"_s);
            if (!m_server)
                return false;
            settings = SettingsOf(*m_server);
        }
        DBConnection::Open(Dialect(), settings, m_connectionName);
        if (m_kind == Sqlite) {
            m_manager.SetLocalConnection(m_connectionName);
        } else {
            m_manager.SetServerConnection(m_connectionName);
            m_manager.SetServerMode(true);
        }
        return true;
    }

    const std::optional<TestServers::Database>& Server() const { return m_server; }
    const QString& ConnectionName() const { return m_connectionName; }
    QString LocalFile() const { return m_dir.filePath(u"test.db"_s); }
    TDBManager& Manager() { return m_manager; }
    int Dialect() const
    {
        return m_kind == Sqlite ? Dialect::LOCAL : m_kind == MariaDb ? Dialect::MYSQL : Dialect::INTERBASE;
    }

    // Column types for a memo and a blob as each server spells them.
    QString MemoType() const
    {
        return m_kind == MariaDb ? u"LONGTEXT"_s : m_kind == Firebird ? u"BLOB SUB_TYPE TEXT"_s : u"TEXT"_s;
    }
    QString BlobType() const { return m_kind == MariaDb ? u"LONGBLOB"_s : u"BLOB"_s; }
    QString DateTimeType() const { return m_kind == MariaDb ? u"DATETIME"_s : u"TIMESTAMP"_s; }
    QString FloatType() const { return u"DOUBLE PRECISION"_s; }

private:
    Kind m_kind;
    QTemporaryDir m_dir;
    QString m_connectionName;
    std::optional<TestServers::Database> m_server;
    TDBManager m_manager;
};
