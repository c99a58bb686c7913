#include "uSchemaScript.h"

#include "uDBManager.h"
#include "uExceptions.h"
#include "uSQLStringsHolder.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace SchemaScript {

namespace {

QString Translate(const char* text, const char* key)
{
    return QCoreApplication::translate("SchemaScript", text, key);
}

QString WithoutBlanks(const QString& line)
{
    QString result = line;
    result.removeIf([](QChar c) { return c.isSpace(); });
    return result;
}

} // namespace

QString ResourcePath(int dialect)
{
    switch (dialect) {
    case Dialect::LOCAL:
        return u":/schema/SQLite.sql"_s;
    case Dialect::INTERBASE:
        return u":/schema/Interbase.sql"_s;
    case Dialect::MSSQL:
        return u":/schema/MSSQL.sql"_s;
    case Dialect::MYSQL:
        return u":/schema/MySQL.sql"_s;
    case Dialect::ORACLE:
        return u":/schema/Oracle.sql"_s;
    default:
        return {};
    }
}

QString Read(int dialect)
{
    const QString path = ResourcePath(dialect);
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw Exception(
            Translate("The table script for database type %1 cannot be read.", "stSCRIPTREADERROR")
                .arg(dialect));
    return QString::fromUtf8(file.readAll());
}

QStringList SplitBatches(const QString& script)
{
    QStringList batches;
    QStringList collected;
    const auto endBatch = [&] {
        if (!collected.isEmpty())
            batches.append(collected.join(u'\n'));
        collected.clear();
    };
    for (const QString& line : script.split(u'\n')) {
        const QString bare = WithoutBlanks(line);
        if (bare == u"---"_s)
            endBatch();
        else if (!bare.isEmpty())
            collected.append(line.endsWith(u'\r') ? line.chopped(1) : line);
    }
    endBatch();
    return batches;
}

void RunBatches(TDBManager& db, const QStringList& batches)
{
    for (const QString& batch : batches) {
        TDBTransaction transaction(db);
        db.Execute(batch);
        transaction.Commit();
    }
}

void Run(TDBManager& db, int dialect)
{
    RunBatches(db, SplitBatches(Read(dialect)));
}

const QStringList& RequiredTables()
{
    static const QStringList names{u"CHECKRECORD"_s,     u"COMPANYSETTINGS"_s, u"CHECKSTATIONS"_s,
                                   u"CHECKOUTREASONS"_s, u"FIRTABLE"_s,        u"EMPLOYEES"_s,
                                   u"EMPLOYEEGROUPS"_s};
    return names;
}

const QStringList& AllTables()
{
    static const QStringList names = RequiredTables() + QStringList{u"EMAILREPORTS"_s, u"EMAILTRACKING"_s};
    return names;
}

bool ContainsTables(const QString& tableNames, const QStringList& names)
{
    const QString upper = tableNames.toUpper();
    return std::all_of(names.begin(), names.end(), [&](const QString& name) { return upper.contains(name); });
}

bool TablesExist(const TDBManager& db)
{
    return ContainsTables(db.GetTableNames(), RequiredTables());
}

void EnsureLocalSchema(TDBManager& db)
{
    // Exact names here: a stray OLDEMPLOYEES must not hide a missing EMPLOYEES.
    QStringList existing = db.GetTableNames().toUpper().split(u',');
    for (QString& name : existing)
        name = name.trimmed();
    const bool complete = std::all_of(AllTables().begin(), AllTables().end(),
                                      [&](const QString& name) { return existing.contains(name); });
    if (!complete)
        Run(db, Dialect::LOCAL);
}

} // namespace SchemaScript
