#pragma once

#include <QSqlDatabase>
#include <QString>

// The four connection settings (HostName, DatabaseName, UserName, Password of the settings store).
struct TConnectionSettings {
    QString HostName;     // "host" or "host:port" ("host/port" is accepted too, as Firebird writes it)
    QString DatabaseName; // the server's database (Firebird: its path or alias); LOCAL: the SQLite file
    QString UserName;
    QString Password;
};

// Opens the Qt SQL connection of a dialect (the numbers of Dialect in uSQLStringsHolder.h):
// LOCAL a SQLite file, INTERBASE Firebird, MSSQL SQL Server over ODBC with FreeTDS, MYSQL MariaDB or
// MySQL, ORACLE through QOCI.
namespace DBConnection {

// The Qt SQL driver a dialect needs ("QSQLITE", "QIBASE", "QODBC", "QMYSQL", "QOCI"); empty when unknown.
QString DriverName(int dialect);

// KronvikClock2.db in the user's data directory: the local database when DatabaseName is empty.
QString DefaultLocalDatabasePath();

// Opens `connectionName` for the dialect, replacing a connection of that name (clear the query pool
// using it first). A missing driver, a refused login or an unknown dialect raises EDatabaseError whose
// message names the cause; nothing stays registered then. LOCAL creates a missing file (and its
// folder) and registers the Access functions format() and NOW(); MYSQL adds NO_BACKSLASH_ESCAPES to the
// session's sql_mode and talks utf8mb4; INTERBASE talks UTF8.
QSqlDatabase Open(int dialect, const TConnectionSettings& settings, const QString& connectionName);

// Closes and removes the connection; nothing happens when there is none of that name.
void Close(const QString& connectionName);

// Registers on an open SQLite connection the Access functions the LOCAL statements use:
//   format(text, dateFormat) -> 'yyyy-mm-dd hh:mm:ss', reading text as an ISO date (with or without
//       time) or as a date in dateFormat (such as 'dd/mm/yyyy' or 'M/d/yyyy') followed by an optional
//       time; text it cannot read comes back unchanged, NULL stays NULL;
//   NOW() -> the local time as 'yyyy-mm-dd hh:mm:ss'.
void RegisterLocalFunctions(const QSqlDatabase& db);

} // namespace DBConnection
