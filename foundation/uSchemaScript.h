#pragma once

#include <QString>
#include <QStringList>

class TDBManager;

// The table scripts of resources/schema (":/schema/..."): one per dialect, batches separated by
// lines of "---", each batch run as one statement in a transaction of its own.
namespace SchemaScript {

// ":/schema/SQLite.sql" (LOCAL), "Interbase.sql", "MSSQL.sql", "MySQL.sql" or "Oracle.sql";
// empty for an unknown dialect.
QString ResourcePath(int dialect);
// The script of a dialect; raises Exception naming the file when it cannot be read.
QString Read(int dialect);

// A line that is "---" once its blanks are removed ends a batch; lines that are blank are skipped;
// other lines are kept as they are and joined with line breaks. Empty batches are dropped.
QStringList SplitBatches(const QString& script);

// Runs each batch through the manager inside a transaction of its own (TDBTransaction on the
// connection of the manager's current mode): committed on success; on failure rolled back and the
// error passed on, the later batches not run.
void RunBatches(TDBManager& db, const QStringList& batches);
// Read, split and run the script of a dialect.
void Run(TDBManager& db, int dialect);

// The seven tables the program needs at start-up, and every table of the schema.
const QStringList& RequiredTables();
const QStringList& AllTables();
// True when every name occurs, without regard to case, in the comma-separated table names (a
// substring test: a table OLDEMPLOYEES satisfies EMPLOYEES).
bool ContainsTables(const QString& tableNames, const QStringList& names);
// ContainsTables of the manager's table names and RequiredTables().
bool TablesExist(const TDBManager& db);

// The local database: when any table of the schema is missing, runs the SQLite script, which
// creates only what is missing and adds the company settings row and station 1.
void EnsureLocalSchema(TDBManager& db);

} // namespace SchemaScript
