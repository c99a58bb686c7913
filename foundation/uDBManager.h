#pragma once

#include "uDateTime.h"
#include "uExceptions.h"

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

class TDBManager;

// One field of the current row, read by column name.
class TField final {
public:
    explicit TField(QVariant value) : m_value(std::move(value)), m_null(m_value.isNull()) {}
    TField(QVariant value, bool isNull) : m_value(std::move(value)), m_null(isNull) {}
    QString AsString() const;     // null gives ""; trailing NUL characters are dropped
    int AsInteger() const;        // null gives 0; a float is rounded; other text raises EDatabaseError
    double AsFloat() const;       // null gives 0
    TDateTime AsDateTime() const; // days since 1899-12-30; null gives 0; ISO text is read too
    QByteArray AsBytes() const;
    bool IsNull() const { return m_null; }
    const QVariant& Value() const { return m_value; }

private:
    QVariant m_value;
    bool m_null;
};

// A pooled query. Handed out by TDBManager::Open (as a result set positioned on its first row) or
// Prepare (as a statement with named parameters); always given back with TDBManager::Release.
class TQuery final {
public:
    ~TQuery();
    TQuery(const TQuery&) = delete;
    TQuery& operator=(const TQuery&) = delete;

    TField FieldByName(const QString& name) const; // case-insensitive; unknown column raises EDatabaseError
    bool Eof() const;                              // true past the last row (and for an empty result)
    void Next();
    bool First(); // back to the first row (for counting rows and reading again); false when empty
    bool IsEmpty() const;
    QStringList FieldNames() const;
    int Tag() const { return m_tag; } // the pool slot
    const QString& SQL() const { return m_sql; }
    // The value a named parameter will be bound to by ExecPrepared (invalid when not set).
    QVariant ParamValue(const QString& name) const;

private:
    friend class TDBManager;
    TQuery(const QSqlDatabase& db, int tag);
    void Close();
    void SetText(const QString& sql);
    void SetParam(const QString& name, const QVariant& value);
    void Execute();  // a statement without result set
    void OpenRows(); // a result set, positioned on its first row
    void ExecPrepared();
    [[noreturn]] void RaiseError() const;

    QSqlQuery m_query;
    QSqlRecord m_columns; // of the open result set
    QString m_sql;
    int m_tag;
    bool m_eof = true;
    bool m_empty = true;
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

    // Execute and Open raise "Database is not opened!" when the connection of the current mode is
    // not open; driver errors raise EDatabaseError with the driver's text and the statement.
    void Execute(const QString& sql);
    void ExecuteFmt(const QString& format, const QVariantList& args);
    TQuery* Open(const QString& sql);
    TQuery* OpenFmt(const QString& format, const QVariantList& args);
    // Named parameters (":FIRTEXT") are set with SetMemoParam/SetBinaryParam, then ExecPrepared.
    TQuery* Prepare(const QString& sql);
    TQuery* PrepareFmt(const QString& format, const QVariantList& args);
    void SetMemoParam(TQuery* query, const QString& name, const QString& text);
    void SetBinaryParam(TQuery* query, const QString& name, const QByteArray& data);
    void ExecPrepared(TQuery* query);
    void Release(TQuery* query); // nullptr is ignored
    bool IsConnected() const;
    QString GetTableNames() const; // comma-separated
    // Frees every pooled query; call it before the connection is closed, removed or replaced.
    void ClearPool();

    // One transaction on the connection of the current mode (TDBTransaction below is the usual way).
    // BeginTransaction and Commit raise EDatabaseError when the driver refuses; Rollback never
    // raises, as it runs while another failure is on its way.
    void BeginTransaction();
    void Commit();
    void Rollback() noexcept;
    bool InTransaction() const { return m_inTransaction; }

    // Pool inspection for tests and diagnostics.
    int PoolCount() const;
    bool IsSlotBusy(int slot) const;

    // Arguments are written in braces: OpenFmt(u"... WHERE EMPLOYEEID = %d"_s, {employeeId}).
    // printf-style formatting where %D and %S act as %d and %s; %% is a percent sign. Also %u, %x,
    // %f and %g, with Delphi's optional "index:", "-", width and ".precision". Numbers are
    // written with '.' whatever the locale. Too few arguments or an argument of the wrong kind
    // (%d takes an integer, %s a text, %f/%g a number) raise Exception.
    static QString FormatSQL(const QString& format, const QVariantList& args);

private:
    TQuery* Acquire();
    QSqlDatabase CurrentDatabase() const;
    void RequireConnection() const;

    QString m_localConnection;
    QString m_serverConnection;
    bool m_serverMode = false;
    int m_startedDialect = 0;
    bool m_inTransaction = false;
    mutable QMutex m_poolLock;
    std::vector<std::unique_ptr<TQuery>> m_pool;
    std::vector<bool> m_busy;
};

// Gives a query back to its manager at the end of a scope (the "finally" of every Open).
class TQueryReleaser final {
public:
    TQueryReleaser(TDBManager& manager, TQuery* query) : m_manager(manager), m_query(query) {}
    ~TQueryReleaser() { m_manager.Release(m_query); }
    TQueryReleaser(const TQueryReleaser&) = delete;
    TQueryReleaser& operator=(const TQueryReleaser&) = delete;
    TQuery* operator->() const { return m_query; }
    TQuery* get() const { return m_query; }

private:
    TDBManager& m_manager;
    TQuery* m_query;
};

// The statements of a scope as one transaction: begun on construction, rolled back on destruction
// unless Commit() ran. Inside a transaction already open it joins that one and leaves commit and
// rollback to its owner, so a function that needs a transaction can be called from one that has it.
class TDBTransaction final {
public:
    explicit TDBTransaction(TDBManager& manager);
    ~TDBTransaction();
    TDBTransaction(const TDBTransaction&) = delete;
    TDBTransaction& operator=(const TDBTransaction&) = delete;
    void Commit();

private:
    TDBManager& m_manager;
    bool m_owner;
    bool m_finished = false;
};
