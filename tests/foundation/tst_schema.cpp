// The table scripts: batch splitting, the same tables and columns in every dialect, the scripts run
// batch by batch on a real SQLite file, MariaDB and Firebird, and the data module's statements
// run on each of them.

#include "DBTestBackend.h"
#include "uExceptions.h"
#include "uSQLStringsHolder.h"
#include "uSchemaScript.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <map>

using namespace Qt::StringLiterals;

namespace {

using TableColumns = std::map<QString, QStringList>;

// Every table and column the program addresses, as named in the data model.
const TableColumns& ExpectedTables()
{
    static const TableColumns tables = [] {
        const QStringList rates{u"REGULARRATE"_s, u"EXTRARATE"_s, u"SICKRATE"_s, u"VACATIONRATE"_s};
        QStringList groups =
            QStringList{u"GROUPID"_s, u"GROUPNAME"_s} + rates +
            QStringList{u"PRIVILEGESLEVEL"_s, u"AUTHFINGERPRINT"_s, u"AUTHPASSWORD"_s,  u"AUTHBARCODE"_s,
                        u"CHECKOUTREASON"_s,  u"TOLERANCE"_s,       u"TOLERANCETYPE"_s, u"CHECKINEARLY"_s};
        for (const char* day :
             {"MONDAY", "TUESDAY", "WEDNESDAY", "THURSDAY", "FRIDAY", "SATURDAY", "SUNDAY"}) {
            for (const char* part : {"_S", "_L", "_B", "_E", "_T"})
                groups << QLatin1String(day) + QLatin1String(part);
        }
        return TableColumns{
            {u"EMPLOYEEGROUPS"_s, groups},
            {u"EMPLOYEES"_s,
             QStringList{u"EMPLOYEEID"_s, u"FIRSTNAME"_s, u"LASTNAME"_s, u"EMAIL"_s, u"USERPASSWORD"_s,
                         u"GROUPID"_s, u"SSN"_s, u"BARCODE"_s} +
                 rates +
                 QStringList{u"PRIVILEGESLEVEL"_s, u"AUTHFINGERPRINT"_s, u"AUTHPASSWORD"_s, u"AUTHBARCODE"_s,
                             u"EMPLOYEESTATUS"_s, u"CHECKOUTREASON"_s, u"PICTURE"_s, u"QUICKBOOKSID"_s,
                             u"LASTOPERATION"_s, u"LASTCHECKTIMESTAMP"_s}},
            {u"CHECKRECORD"_s,
             {u"CHECKID"_s, u"EMPLOYEEID"_s, u"CHECKINTIMESTAMP"_s, u"CHECKOUTTIMESTAMP"_s,
              u"CHECKINSTATIONID"_s, u"CHECKOUTSTATIONID"_s, u"SHOULDCHECKINAT"_s, u"SHOULDCHECKOUTAT"_s,
              u"SHOULDWORKFOR"_s, u"TOLERANCE"_s, u"CHECKEXCEPTION"_s, u"MINUTESLATE"_s, u"CHECKTYPE"_s,
              u"WORKED"_s, u"ACCUMWORKED"_s, u"REASONID"_s, u"NOTE"_s, u"MODIFIEDBY"_s}},
            {u"CHECKOUTREASONS"_s, {u"REASONID"_s, u"REASONNAME"_s, u"REASONCODE"_s, u"REASONSTATUS"_s}},
            {u"CHECKSTATIONS"_s, {u"STATIONID"_s, u"STATIONNAME"_s, u"LASTIPADDRESS"_s}},
            {u"COMPANYSETTINGS"_s,
             {u"COMPANYNAME"_s, u"COMPANYADDRESS"_s, u"COMPANYLOGO"_s, u"ROUNDING"_s, u"TIMEFORMAT"_s,
              u"EXTRATIMECOMP"_s}},
            {u"FIRTABLE"_s, {u"EMPLOYEEID"_s, u"FIRTEXT"_s}},
            {u"EMAILREPORTS"_s,
             {u"EMAILREPORTID"_s, u"EMAILADDRESS"_s, u"REPORTS"_s, u"DATESRANGE"_s, u"INCLUDEDETAILS"_s,
              u"FRECUENCY"_s, u"CRITERIA1"_s, u"CRITERIA2"_s, u"SENDAT"_s, u"NEXTREPORT"_s}},
            {u"EMAILTRACKING"_s, {u"EMPLOYEEID"_s, u"TRACKEMAIL"_s, u"TRACKOPTIONS"_s}},
        };
    }();
    return tables;
}

// The batch without its leading comment lines.
QString WithoutComments(const QString& batch)
{
    QStringList lines = batch.split(u'\n');
    while (!lines.isEmpty() && lines.first().trimmed().startsWith(u"--"_s))
        lines.removeFirst();
    return lines.join(u'\n');
}

// Tables and their columns as the CREATE TABLE batches of a script declare them.
TableColumns DeclaredTables(const QStringList& batches)
{
    static const QRegularExpression create(u"^CREATE TABLE (?:IF NOT EXISTS )?(\\w+) \\("_s);
    TableColumns tables;
    for (const QString& batch : batches) {
        const QStringList lines = WithoutComments(batch).split(u'\n');
        const auto match = create.match(lines.first());
        if (!match.hasMatch())
            continue;
        QStringList& columns = tables[match.captured(1)];
        for (const QString& line : lines.mid(1, lines.size() - 2))
            columns << line.trimmed().section(u' ', 0, 0);
    }
    return tables;
}

QStringList ColumnsOf(const QSqlDatabase& db, const QString& table)
{
    const QSqlRecord record = db.record(table);
    QStringList columns;
    for (int i = 0; i < record.count(); ++i)
        columns << record.fieldName(i).toUpper();
    return columns;
}

QSqlDatabase ConnectionOf(const TDBTestBackend& db)
{
    return QSqlDatabase::database(db.ConnectionName(), false);
}

// A column (by default the first) of the first row, as text.
QString Scalar(TDBManager& manager, const QString& sql, const QString& column = QString())
{
    TQueryReleaser rows(manager, manager.Open(sql));
    if (rows->Eof())
        return u"(no row)"_s;
    return rows->FieldByName(column.isEmpty() ? rows->FieldNames().first() : column).AsString();
}

void AddServerRows()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("SQLite") << int(TDBTestBackend::Sqlite);
    QTest::newRow("MariaDB") << int(TDBTestBackend::MariaDb);
    QTest::newRow("Firebird") << int(TDBTestBackend::Firebird);
}

const QString Note = u"\\' and ' OR '1'='1 -- Ñandú"_s;

} // namespace

class TestSchema : public QObject {
    Q_OBJECT
private slots:
    void splitBatches_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("batches");
        QTest::newRow("two batches") << u"CREATE A\n---\nCREATE B\n"_s
                                     << QStringList{u"CREATE A"_s, u"CREATE B"_s};
        QTest::newRow("lines joined, indentation kept")
            << u"CREATE A (\n    X INTEGER\n)\n---"_s << QStringList{u"CREATE A (\n    X INTEGER\n)"_s};
        QTest::newRow("separator with blanks") << u"A\n  - - -\t\nB"_s << QStringList{u"A"_s, u"B"_s};
        QTest::newRow("four dashes are text") << u"A\n----\nB"_s << QStringList{u"A\n----\nB"_s};
        QTest::newRow("blank lines skipped") << u"\nA\n   \n\nB\n---\n\n"_s << QStringList{u"A\nB"_s};
        QTest::newRow("empty batches dropped") << u"---\n---\nA\n---\n   \n---\n"_s << QStringList{u"A"_s};
        QTest::newRow("CRLF") << u"A\r\n---\r\nB\r\n"_s << QStringList{u"A"_s, u"B"_s};
        QTest::newRow("last batch without separator") << u"A\n---\nB\nC"_s << QStringList{u"A"_s, u"B\nC"_s};
        QTest::newRow("nothing") << u"\n \n"_s << QStringList{};
    }
    void splitBatches()
    {
        QFETCH(QString, script);
        QFETCH(QStringList, batches);
        QCOMPARE(SchemaScript::SplitBatches(script), batches);
    }

    void everyDialectDeclaresTheSameTables_data()
    {
        QTest::addColumn<int>("dialect");
        for (int dialect = 0; dialect < 5; ++dialect)
            QTest::newRow(qPrintable(Dialect::SetNames().at(dialect))) << dialect;
    }
    void everyDialectDeclaresTheSameTables()
    {
        QFETCH(int, dialect);
        const QStringList batches = SchemaScript::SplitBatches(SchemaScript::Read(dialect));
        const TableColumns declared = DeclaredTables(batches);
        for (const auto& [table, columns] : ExpectedTables())
            QCOMPARE(declared.count(table) ? declared.at(table) : QStringList{u"(missing)"_s}, columns);
        QCOMPARE(declared.size(), ExpectedTables().size());

        // One statement per batch: the drivers run one statement at a time, and Oracle refuses a
        // ';' after plain SQL. Only PL/SQL (Oracle triggers) ends with one.
        for (const QString& batch : batches) {
            const QString statement = WithoutComments(batch).trimmed();
            const bool psql = statement.contains(u"TRIGGER"_s) || statement.startsWith(u"CREATE FUNCTION"_s);
            if (!psql)
                QVERIFY2(!statement.contains(u';'), qPrintable(statement));
            if (dialect == Dialect::ORACLE && statement.contains(u"TRIGGER"_s))
                QVERIFY2(statement.endsWith(u"END;"_s), qPrintable(statement));
        }
        // The company settings row and station 1 come last.
        QVERIFY(WithoutComments(batches.at(batches.size() - 2)).startsWith(u"INSERT INTO COMPANYSETTINGS"_s));
        QVERIFY(batches.last().startsWith(u"INSERT INTO CHECKSTATIONS"_s));
    }

    void sqlServerFunctionsOpenTheirBatches()
    {
        const QStringList batches = SchemaScript::SplitBatches(SchemaScript::Read(Dialect::MSSQL));
        QStringList functions;
        QStringList statements;
        for (const QString& batch : batches) {
            statements << WithoutComments(batch);
            if (batch.contains(u"FUNCTION"_s)) {
                // CREATE FUNCTION must be the first statement of its batch.
                const QString statement = WithoutComments(batch);
                QVERIFY2(statement.startsWith(u"CREATE FUNCTION "_s), qPrintable(batch));
                functions << statement.section(u' ', 2, 2).section(u'(', 0, 0);
            }
        }
        QCOMPARE(functions, (QStringList{u"dbo.GetDateFormat"_s, u"dbo.GETONLYDATE"_s}));
        QVERIFY(statements.join(u'\n').contains(u"RETURN 'yyyy-mm-dd'"_s));
        // DATETIME would read 'yyyy-mm-dd' as year-day-month under dmy languages; DATETIME2 never does.
        QVERIFY(!statements.join(u'\n').contains(QRegularExpression(u"\\bDATETIME\\b"_s)));
    }

    void tablesExist_data()
    {
        QTest::addColumn<QString>("tableNames");
        QTest::addColumn<bool>("exist");
        const QString all = u"CHECKRECORD,COMPANYSETTINGS,CHECKSTATIONS,CHECKOUTREASONS,FIRTABLE,EMPLOYEES,"
                            "EMPLOYEEGROUPS"_s;
        QTest::newRow("all seven") << all << true;
        QTest::newRow("lower case") << all.toLower() << true;
        QTest::newRow("e-mail tables are not required") << all << true;
        QTest::newRow("one missing") << QString(all).remove(u"FIRTABLE,"_s) << false;
        QTest::newRow("a longer name holds a required one")
            << QString(all).replace(u",EMPLOYEES,"_s, u",OLDEMPLOYEES,"_s) << true;
        QTest::newRow("none") << QString() << false;
    }
    void tablesExist()
    {
        QFETCH(QString, tableNames);
        QFETCH(bool, exist);
        QCOMPARE(SchemaScript::ContainsTables(tableNames, SchemaScript::RequiredTables()), exist);
    }

    void localSchemaCreatedOnceAndCompleted()
    {
        TDBTestBackend db(TDBTestBackend::Sqlite);
        QVERIFY(db.Create());
        QVERIFY(!SchemaScript::TablesExist(db.Manager()));
        SchemaScript::EnsureLocalSchema(db.Manager());
        QVERIFY(SchemaScript::TablesExist(db.Manager()));
        for (const auto& [table, columns] : ExpectedTables())
            QCOMPARE(ColumnsOf(ConnectionOf(db), table), columns);

        // A second run, and one on a file that lost a table, add only what is missing.
        db.Manager().Execute(u"INSERT INTO EMPLOYEES (FIRSTNAME) VALUES ('Ana')"_s);
        SchemaScript::EnsureLocalSchema(db.Manager());
        db.Manager().Execute(u"DROP TABLE EMAILTRACKING"_s);
        db.Manager().Execute(u"CREATE TABLE OLDEMAILTRACKING (X INTEGER)"_s);
        SchemaScript::EnsureLocalSchema(db.Manager());
        QCOMPARE(ColumnsOf(ConnectionOf(db), u"EMAILTRACKING"_s), ExpectedTables().at(u"EMAILTRACKING"_s));
        QCOMPARE(Scalar(db.Manager(), u"SELECT COUNT(*) FROM EMPLOYEES WHERE FIRSTNAME = 'Ana'"_s), u"1"_s);
        QCOMPARE(Scalar(db.Manager(), u"SELECT COUNT(*) FROM COMPANYSETTINGS"_s), u"1"_s);
        QCOMPARE(Scalar(db.Manager(), u"SELECT COUNT(*) FROM CHECKSTATIONS"_s), u"1"_s);
    }

    void failingBatchStopsTheScript()
    {
        TDBTestBackend db(TDBTestBackend::Sqlite);
        QVERIFY(db.Create());
        const QStringList batches{u"CREATE TABLE T (A INTEGER)"_s, u"INSERT INTO T VALUES (1)"_s,
                                  u"INSERT INTO MISSING VALUES (1)"_s, u"INSERT INTO T VALUES (2)"_s};
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, SchemaScript::RunBatches(db.Manager(), batches));
        QCOMPARE(Scalar(db.Manager(), u"SELECT COUNT(*) FROM T"_s), u"1"_s);

        // No transaction is left open: the next script runs and commits.
        QVERIFY(!db.Manager().InTransaction());
        SchemaScript::RunBatches(db.Manager(), {u"INSERT INTO T VALUES (3)"_s});
        db.Manager().ClearPool();
        DBConnection::Close(db.ConnectionName());
        QSqlDatabase other = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"tst_schema_reader"_s);
        other.setDatabaseName(db.LocalFile());
        QVERIFY(other.open());
        {
            QSqlQuery count(u"SELECT COUNT(*) FROM T"_s, other);
            QVERIFY(count.next());
            QCOMPARE(count.value(0).toInt(), 2);
        }
        other.close();
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase(u"tst_schema_reader"_s);
    }

    void unknownDialectHasNoScript()
    {
        QVERIFY(SchemaScript::ResourcePath(9).isEmpty());
        QVERIFY_THROWS_EXCEPTION(Exception, SchemaScript::Read(9));
    }

    void scriptRunsOnServer_data() { AddServerRows(); }
    void scriptRunsOnServer()
    {
        QFETCH(int, kind);
        TDBTestBackend db(static_cast<TDBTestBackend::Kind>(kind));
        TESTSERVERS_REQUIRE(db.Create());
        SchemaScript::Run(db.Manager(), db.Dialect());
        QVERIFY(SchemaScript::TablesExist(db.Manager()));
        for (const auto& [table, columns] : ExpectedTables())
            QCOMPARE(ColumnsOf(ConnectionOf(db), table), columns);
        QCOMPARE(Scalar(db.Manager(), u"SELECT COUNT(*) FROM COMPANYSETTINGS"_s), u"1"_s);
        QCOMPARE(Scalar(db.Manager(), u"SELECT STATIONID FROM CHECKSTATIONS"_s), u"1"_s);
        // Defaults that statements naming fewer columns rely on.
        db.Manager().Execute(
            u"INSERT INTO CHECKOUTREASONS (REASONCODE, REASONNAME) VALUES ('0001', 'Break')"_s);
        QCOMPARE(Scalar(db.Manager(), u"SELECT REASONSTATUS FROM CHECKOUTREASONS"_s), u"1"_s);
        db.Manager().Execute(u"INSERT INTO EMPLOYEES (FIRSTNAME, LASTNAME) VALUES ('A', 'B')"_s);
        QCOMPARE(Scalar(db.Manager(), u"SELECT EMPLOYEESTATUS FROM EMPLOYEES"_s), u"1"_s);
        QCOMPARE(Scalar(db.Manager(), u"SELECT LASTOPERATION FROM EMPLOYEES"_s), u"0"_s);
        // The auto key follows station 1.
        db.Manager().Execute(
            u"INSERT INTO CHECKSTATIONS (STATIONNAME, LASTIPADDRESS) VALUES ('Door', '10.0.0.2')"_s);
        QCOMPARE(Scalar(db.Manager(), u"SELECT STATIONID FROM CHECKSTATIONS WHERE STATIONNAME = 'Door'"_s),
                 u"2"_s);
    }

    // One row per table written through the holder's placeholders and read back.
    void rowPerTableThroughPlaceholders_data() { AddServerRows(); }
    void rowPerTableThroughPlaceholders()
    {
        QFETCH(int, kind);
        TDBTestBackend db(static_cast<TDBTestBackend::Kind>(kind));
        TESTSERVERS_REQUIRE(db.Create());
        SchemaScript::Run(db.Manager(), db.Dialect());
        TDBManager& manager = db.Manager();

        TSQLStringsHolder holder;
        holder.Language(Dialect::MSSQL).Strings() = {
            u"GROUP=INSERT INTO EMPLOYEEGROUPS (GROUPNAME, REGULARRATE, TOLERANCE, MONDAY_S, MONDAY_L, "
            u"MONDAY_B, "
            "MONDAY_E, MONDAY_T) VALUES ('<#NAME/>', <#RATE/>, 15, <#START/>, 0.5, 0.541666666666667, "
            "0.708333333333333, 480)"_s,
            u"EMPLOYEE=INSERT INTO EMPLOYEES (FIRSTNAME, LASTNAME, EMAIL, USERPASSWORD, GROUPID, SSN, "
            u"BARCODE, "
            "QUICKBOOKSID, LASTOPERATION, LASTCHECKTIMESTAMP) VALUES ('<#FIRST/>', '<#LAST/>', '<#EMAIL/>', "
            "'<#PASSWORD/>', 1, '123-45-6789', '1234', '<#QUICKBOOKSID>', 1, '<#STAMP/>')"_s,
            u"CHECK=INSERT INTO CHECKRECORD (EMPLOYEEID, CHECKINTIMESTAMP, CHECKOUTTIMESTAMP, MINUTESLATE, "
            "WORKED, NOTE) VALUES (1, '<#STAMP/>', '<#STAMPOUT/>', <#LATE/>, <#WORKED/>, '<#NOTE/>')"_s,
            u"REASON=INSERT INTO CHECKOUTREASONS (REASONNAME, REASONCODE) VALUES ('<#NAME/>', '<#CODE/>')"_s,
            u"STATION=INSERT INTO CHECKSTATIONS (STATIONNAME, LASTIPADDRESS) VALUES ('<#NAME/>', '<#IP/>')"_s,
            u"COMPANY=UPDATE COMPANYSETTINGS SET COMPANYNAME = '<#NAME/>', COMPANYADDRESS = '<#ADDRESS/>', "
            "ROUNDING = 2, TIMEFORMAT = 1, EXTRATIMECOMP = 3"_s,
            u"FIR=INSERT INTO FIRTABLE (EMPLOYEEID, FIRTEXT) VALUES (1, :FIRTEXT)"_s,
            u"PICTURE=UPDATE EMPLOYEES SET PICTURE = :PICTURE WHERE EMPLOYEEID = 1"_s,
            u"REPORT=INSERT INTO EMAILREPORTS (EMAILADDRESS, REPORTS, FRECUENCY, SENDAT, NEXTREPORT) VALUES "
            "('<#ADDRESS/>', 5, 2, 23, '<#STAMP/>')"_s,
            u"TRACK=INSERT INTO EMAILTRACKING (EMPLOYEEID, TRACKEMAIL, TRACKOPTIONS) VALUES (1, '<#EMAIL/>', 7)"_s,
        };
        const auto run = [&](const QString& name, const QStringList& params) {
            holder.Params() = params;
            manager.Execute(holder.GetStatement(name));
        };
        run(u"GROUP"_s, {u"NAME=Night shift 'B'"_s, u"RATE=12.75"_s, u"START=0.333333333333333"_s});
        run(u"EMPLOYEE"_s,
            {u"FIRST=Zoë"_s, u"LAST=O'Brien"_s, u"EMAIL=zoe@example.com"_s, u"PASSWORD=' OR '1'='1"_s,
             u"QUICKBOOKSID=80000001-1234"_s, u"STAMP=2026-01-05 08:00:00"_s});
        run(u"CHECK"_s, {u"STAMP=2026-01-05 08:00:00"_s, u"STAMPOUT=2026-01-05 17:30:00"_s, u"LATE=2.5"_s,
                         u"WORKED=570.25"_s, u"NOTE=" + Note});
        run(u"REASON"_s, {u"NAME=Médico"_s, u"CODE=0001"_s});
        run(u"STATION"_s, {u"NAME=Front \\ door"_s, u"IP=192.168.1.20"_s});
        run(u"COMPANY"_s, {u"NAME=Kronvik's Ltd"_s, u"ADDRESS=1 Main St\\"_s});
        run(u"REPORT"_s, {u"ADDRESS=a@example.com; b@example.com"_s, u"STAMP=2026-02-01"_s});
        run(u"TRACK"_s, {u"EMAIL=boss@example.com"_s});
        QString memo(70000, u'x');
        memo.replace(0, 10, u"Template'\\"_s);
        QByteArray picture;
        for (int i = 0; i < 70000; ++i)
            picture.append(char(i % 256));
        holder.ClearParams();
        TQuery* fir = manager.Prepare(holder.GetStatement(u"FIR"_s));
        manager.SetMemoParam(fir, u"FIRTEXT"_s, memo);
        manager.ExecPrepared(fir);
        manager.Release(fir);
        TQuery* photo = manager.Prepare(holder.GetStatement(u"PICTURE"_s));
        manager.SetBinaryParam(photo, u"PICTURE"_s, picture);
        manager.ExecPrepared(photo);
        manager.Release(photo);

        const auto row = [&](const QString& sql) { return TQueryReleaser(manager, manager.Open(sql)); };
        {
            auto group = row(u"SELECT * FROM EMPLOYEEGROUPS"_s);
            QCOMPARE(group->FieldByName(u"GROUPID"_s).AsInteger(), 1);
            QCOMPARE(group->FieldByName(u"GROUPNAME"_s).AsString(), u"Night shift 'B'"_s);
            QCOMPARE(group->FieldByName(u"REGULARRATE"_s).AsFloat(), 12.75);
            QCOMPARE(group->FieldByName(u"MONDAY_S"_s).AsFloat(), 0.333333333333333);
            QCOMPARE(group->FieldByName(u"MONDAY_T"_s).AsInteger(), 480);
            QVERIFY(group->FieldByName(u"SUNDAY_S"_s).IsNull());
        }
        {
            auto employee = row(u"SELECT * FROM EMPLOYEES"_s);
            QCOMPARE(employee->FieldByName(u"EMPLOYEEID"_s).AsInteger(), 1);
            QCOMPARE(employee->FieldByName(u"FIRSTNAME"_s).AsString(), u"Zoë"_s);
            QCOMPARE(employee->FieldByName(u"LASTNAME"_s).AsString(), u"O'Brien"_s);
            QCOMPARE(employee->FieldByName(u"USERPASSWORD"_s).AsString(), u"' OR '1'='1"_s);
            QCOMPARE(employee->FieldByName(u"QUICKBOOKSID"_s).AsString(), u"80000001-1234"_s);
            QCOMPARE(employee->FieldByName(u"LASTCHECKTIMESTAMP"_s).AsDateTime(),
                     DateTimeConv::EncodeDate(2026, 1, 5) + DateTimeConv::EncodeTime(8, 0));
            QCOMPARE(employee->FieldByName(u"PICTURE"_s).AsBytes(), picture);
            QCOMPARE(employee->FieldByName(u"EMPLOYEESTATUS"_s).AsInteger(), 1);
        }
        {
            auto check = row(u"SELECT * FROM CHECKRECORD"_s);
            QCOMPARE(check->FieldByName(u"NOTE"_s).AsString(), Note);
            QCOMPARE(check->FieldByName(u"CHECKOUTTIMESTAMP"_s).AsDateTime(),
                     DateTimeConv::EncodeDate(2026, 1, 5) + DateTimeConv::EncodeTime(17, 30));
            QCOMPARE(check->FieldByName(u"MINUTESLATE"_s).AsFloat(), 2.5);
            QCOMPARE(check->FieldByName(u"WORKED"_s).AsFloat(), 570.25);
            QCOMPARE(check->FieldByName(u"CHECKTYPE"_s).AsInteger(), 1);
            QVERIFY(check->FieldByName(u"REASONID"_s).IsNull());
        }
        QCOMPARE(Scalar(db.Manager(), u"SELECT REASONNAME FROM CHECKOUTREASONS"_s), u"Médico"_s);
        QCOMPARE(Scalar(db.Manager(), u"SELECT STATIONNAME FROM CHECKSTATIONS WHERE STATIONID = 2"_s),
                 u"Front \\ door"_s);
        QCOMPARE(Scalar(db.Manager(), u"SELECT COMPANYNAME FROM COMPANYSETTINGS"_s), u"Kronvik's Ltd"_s);
        QCOMPARE(Scalar(db.Manager(), u"SELECT COMPANYADDRESS FROM COMPANYSETTINGS"_s), u"1 Main St\\"_s);
        QCOMPARE(Scalar(db.Manager(), u"SELECT EXTRATIMECOMP FROM COMPANYSETTINGS"_s), u"3"_s);
        QCOMPARE(Scalar(db.Manager(), u"SELECT FIRTEXT FROM FIRTABLE"_s), memo);
        {
            auto report = row(u"SELECT * FROM EMAILREPORTS"_s);
            QCOMPARE(report->FieldByName(u"EMAILADDRESS"_s).AsString(), u"a@example.com; b@example.com"_s);
            QCOMPARE(report->FieldByName(u"NEXTREPORT"_s).AsDateTime(), DateTimeConv::EncodeDate(2026, 2, 1));
            QCOMPARE(report->FieldByName(u"SENDAT"_s).AsInteger(), 23);
        }
        QCOMPARE(Scalar(db.Manager(), u"SELECT TRACKOPTIONS FROM EMAILTRACKING"_s), u"7"_s);
    }

    // Every statement of the data module's set, in the order a punch uses them, on a real database.
    void dataModuleStatementsRun_data() { AddServerRows(); }
    void dataModuleStatementsRun()
    {
        QFETCH(int, kind);
        TDBTestBackend db(static_cast<TDBTestBackend::Kind>(kind));
        TESTSERVERS_REQUIRE(db.Create());
        SchemaScript::Run(db.Manager(), db.Dialect());
        TDBManager& manager = db.Manager();
        TSQLStringsHolderDispatcher dispatcher;
        TSQLStringsHolder holder(u"dmAppData"_s);
        holder.SetDispatcher(&dispatcher);
        dispatcher.SetActiveLanguage(db.Dialect());

        const auto statement = [&](const QString& name, const QStringList& params = {}) {
            holder.ClearParams();
            holder.AddParam(u"SHORTDATEFORMAT"_s, u"yyyy-mm-dd"_s);
            holder.Params() += params;
            return holder.GetStatement(name);
        };
        const auto scalar = [&](const QString& sql, const QString& column) {
            return Scalar(db.Manager(), sql, column);
        };

        // On an empty database, before any group exists.
        QCOMPARE(scalar(statement(u"GETDATEFORMAT"_s), u"DBDATEFORMAT"_s), u"yyyy-mm-dd"_s);
        QVERIFY(scalar(statement(u"GETSERVERTIME"_s), u"SERVERDATETIME"_s).startsWith(u"20"_s));

        manager.Execute(
            u"INSERT INTO EMPLOYEEGROUPS (GROUPNAME, MONDAY_T, TUESDAY_T) VALUES ('G', 480, 240)"_s);
        manager.Execute(u"INSERT INTO EMPLOYEES (FIRSTNAME, LASTNAME, GROUPID) VALUES ('Ana', 'Núñez', 1)"_s);
        manager.Execute(u"INSERT INTO CHECKOUTREASONS (REASONNAME, REASONCODE) VALUES ('Lunch', '0001')"_s);
        manager.Execute(
            u"INSERT INTO EMAILTRACKING (EMPLOYEEID, TRACKEMAIL, TRACKOPTIONS) VALUES (1, 'x@y.z', 3)"_s);

        const QString checkIn = u"2026-01-05 08:07:00"_s;
        const QString dayStart = u"2026-01-05"_s;
        const QString dayEnd = u"2026-01-06"_s;
        manager.ExecuteFmt(
            statement(u"CHECKIN"_s, {u"EMPLOYEEID=1"_s, u"CHECKINTIMESTAMP="_s + checkIn, u"STATIONID=1"_s,
                                     u"SHOULDWORKFOR=480"_s, u"TOLERANCE=5"_s, u"CHECKEXCEPTION=1"_s,
                                     u"MINUTESLATE=7"_s, u"CHECKTYPE=1"_s}),
            {u"'2026-01-05 08:00:00'"_s, u"null"_s});
        manager.Execute(
            statement(u"UPDATELASTOPERATION"_s,
                      {u"LASTOPERATION=1"_s, u"LASTCHECKTIMESTAMP="_s + checkIn, u"EMPLOYEEID=1"_s}));
        QCOMPARE(scalar(statement(u"GETGROUPINFO"_s, {u"EMPLOYEEID=1"_s}), u"MONDAY_T"_s), u"480"_s);
        // Found through LASTCHECKTIMESTAMP = CHECKINTIMESTAMP: both columns must keep the same value.
        QCOMPARE(scalar(TDBManager::FormatSQL(statement(u"GETLASTCHECK"_s), {1}), u"CHECKID"_s), u"1"_s);
        QCOMPARE(scalar(TDBManager::FormatSQL(statement(u"GETLASOPERATION"_s), {1}), u"LASTOPERATION"_s),
                 u"1"_s);

        manager.Execute(statement(u"CHECKOUTREASON"_s,
                                  {u"CHECKOUTTIMESTAMP=2026-01-05 17:00:00"_s, u"STATIONID=1"_s,
                                   u"REASONID=1"_s, u"NOTE="_s + Note, u"CHECKEXCEPTION=1"_s,
                                   u"MINUTESLATE=7"_s, u"CHECKTYPE=1"_s, u"WORKED=533"_s, u"CHECKID=1"_s}));
        manager.ExecuteFmt(statement(u"UPDATEWORKED"_s), {u"533.5"_s, 1, dayStart, dayEnd, 1});
        manager.ExecuteFmt(statement(u"UPDATEEXCEPTION"_s, {u"CHECKEXCEPTION=4"_s}), {1, dayStart, dayEnd});
        QCOMPARE(scalar(u"SELECT CHECKEXCEPTION FROM CHECKRECORD"_s, u"CHECKEXCEPTION"_s), u"5"_s);
        manager.ExecuteFmt(statement(u"REMOVEEXCPWORKDAY"_s), {1, dayStart, dayEnd});
        {
            TQueryReleaser today(manager, manager.OpenFmt(statement(u"GETCHECKINFOFORTODAY"_s),
                                                          {1, dayStart, dayEnd, u"DESC"_s}));
            QVERIFY(!today->Eof());
            QCOMPARE(today->FieldByName(u"CHECKEXCEPTION"_s).AsInteger(), 1);
            QCOMPARE(today->FieldByName(u"ACCUMWORKED"_s).AsFloat(), 533.5);
            QCOMPARE(today->FieldByName(u"NOTE"_s).AsString(), Note);
            QCOMPARE(today->FieldByName(u"REASONID"_s).AsInteger(), 1);
            QVERIFY(today->FieldByName(u"SHOULDCHECKOUTAT"_s).IsNull());
            QCOMPARE(today->FieldByName(u"SHOULDCHECKINAT"_s).AsDateTime(),
                     DateTimeConv::EncodeDate(2026, 1, 5) + DateTimeConv::EncodeTime(8, 0));
        }
        manager.Execute(statement(u"CHECKOUT"_s, {u"CHECKOUTTIMESTAMP=2026-01-05 17:30:00"_s,
                                                  u"STATIONID=1"_s, u"CHECKEXCEPTION=0"_s, u"MINUTESLATE=0"_s,
                                                  u"CHECKTYPE=2"_s, u"WORKED=563"_s, u"CHECKID=1"_s}));
        QCOMPARE(scalar(u"SELECT CHECKTYPE FROM CHECKRECORD"_s, u"CHECKTYPE"_s), u"2"_s);

        QCOMPARE(scalar(TDBManager::FormatSQL(statement(u"GETEMPLOYEESCHEDULE"_s), {1}), u"TUESDAY_T"_s),
                 u"240"_s);
        QCOMPARE(scalar(TDBManager::FormatSQL(statement(u"GETEMAILTRACK"_s), {1, u"1,3"_s}), u"TRACKEMAIL"_s),
                 u"x@y.z"_s);
        QCOMPARE(scalar(TDBManager::FormatSQL(statement(u"GETUSERNAME"_s), {1}), u"LASTNAME"_s), u"Núñez"_s);
        QCOMPARE(scalar(TDBManager::FormatSQL(statement(u"GETCHECKOUTREASON"_s), {1}), u"REASONNAME"_s),
                 u"Lunch"_s);
        QCOMPARE(scalar(TDBManager::FormatSQL(statement(u"GETSATIONNAME"_s), {1}), u"STATIONID"_s), u"1"_s);
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
