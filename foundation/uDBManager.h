#pragma once

#include "uDateTime.h"
#include "uExceptions.h"

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <initializer_list>
#include <memory>
#include <vector>

class TDBManager;

// One field of the current row, read by column name.
class TField final {
public:
    explicit TField(QVariant value) : m_value(std::move(value)) {}
    QString AsString() const;
    int AsInteger() const;
    double AsFloat() const;
    TDateTime AsDateTime() const; // days since 1899-12-30; null gives 0
    QByteArray AsBytes() const;
    bool IsNull() const;
    const QVariant& Value() const { return m_value; }

private:
    QVariant m_value;
};

// A pooled query. Handed out by TDBManager::Open (as a result set positioned on its first row) or
// Prepare (as a statement with named parameters); always given back with TDBManager::Release.
class TQuery final {
public:
    TField FieldByName(const QString& name) const; // unknown column raises an exception naming it
    bool Eof() const;                              // true past the last row (and for an empty result)
    void Next();
    bool IsEmpty() const;
    QStringList FieldNames() const;
    int Tag() const { return m_tag; } // the pool slot
    const QString& SQL() const { return m_sql; }

private:
    friend class TDBManager;
    TQuery(QSqlDatabase db, int tag);
    void Close();
    void SetText(const QString& sql);

    QSqlQuery m_query;
    QString m_sql;
    int m_tag;
    bool m_eof = true;
    QList<QPair<QString, QVariant>> m_params; // named parameters set before ExecPrepared
};

// The one object through which all SQL runs: local (SQLite) or server mode, a pool of reusable
// queries with a busy bit per slot, the lowest free slot reused first.
class TDBManager final {
public:
    TDBManager();
    ~TDBManager();
    TDBManager(const TDBManager&) = delete;
    TDBManager& operator=(const TDBManager&) = delete;

    // The two connections (by Qt connection name); either may be empty. Server mode picks one.
    void SetLocalConnection(const QString& connectionName);
    void SetServerConnection(const QString& connectionName);
    void SetServerMode(bool serverMode);
    bool ServerMode() const { return m_serverMode; }
    int StartedDialect() const { return m_startedDialect; }
    void SetStartedDialect(int dialect) { m_startedDialect = dialect; }

    void Execute(const QString& sql);
    void ExecuteFmt(const QString& format, std::initializer_list<QVariant> args);
    TQuery* Open(const QString& sql);
    TQuery* OpenFmt(const QString& format, std::initializer_list<QVariant> args);
    TQuery* Prepare(const QString& sql);
    TQuery* PrepareFmt(const QString& format, std::initializer_list<QVariant> args);
    void SetMemoParam(TQuery* query, const QString& name, const QString& text);
    void SetBinaryParam(TQuery* query, const QString& name, const QByteArray& data);
    void ExecPrepared(TQuery* query);
    void Release(TQuery* query);
    bool IsConnected() const;
    QString GetTableNames() const;
    void ClearPool();

    // Pool inspection for tests and diagnostics.
    int PoolCount() const;
    bool IsSlotBusy(int slot) const;

    // printf-style formatting where %D and %S act as %d and %s; %% is a percent sign.
    static QString FormatSQL(const QString& format, std::initializer_list<QVariant> args);

private:
    TQuery* Acquire();
    QSqlDatabase CurrentDatabase() const;
    void RequireConnection() const;

    QString m_localConnection;
    QString m_serverConnection;
    bool m_serverMode = false;
    int m_startedDialect = 0;
    mutable QMutex m_poolLock;
    std::vector<std::unique_ptr<TQuery>> m_pool;
    std::vector<bool> m_busy;
};

// Gives a query back to its manager at the end of a scope (the "finally" of every Open).
class TQueryReleaser final {
public:
    TQueryReleaser(TDBManager& manager, TQuery* query) : m_manager(manager), m_query(query) {}
    ~TQueryReleaser() { if (m_query) m_manager.Release(m_query); }
    TQueryReleaser(const TQueryReleaser&) = delete;
    TQueryReleaser& operator=(const TQueryReleaser&) = delete;
    TQuery* operator->() const { return m_query; }
    TQuery* get() const { return m_query; }

private:
    TDBManager& m_manager;
    TQuery* m_query;
};
