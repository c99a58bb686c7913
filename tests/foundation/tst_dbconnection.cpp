// DBConnection: the local SQLite file with its Access functions, and how a failed connection reads.

#include "DBTestBackend.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The single value of a one-row, one-column SELECT.
TField Value(TDBManager& manager, const QString& expression)
{
    TQueryReleaser query(manager, manager.Open(u"SELECT "_s + expression + u" AS V"_s));
    return query->FieldByName(u"V"_s);
}

QString SqlText(const QString& text) { return u'\'' + QString(text).replace(u'\'', u"''"_s) + u'\''; }

} // namespace

class TestDBConnection final : public QObject {
    Q_OBJECT

private slots:
    void localFileAndFolderAreCreated();
    void format_data();
    void format();
    void formatInLocalStatement();
    void now();
    void missingDriverIsNamed();
    void unknownDialect();
    void refusedLogin_data();
    void refusedLogin();
    void mySqlSession();
};

void TestDBConnection::localFileAndFolderAreCreated()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"new/folder/KronvikClock2.db"_s);
    const QString name = UniqueConnectionName();
    const auto close = qScopeGuard([&] { DBConnection::Close(name); });

    const QSqlDatabase db = DBConnection::Open(Dialect::LOCAL, {QString(), path, QString(), QString()}, name);
    QVERIFY(db.isOpen());
    QCOMPARE(db.driverName(), u"QSQLITE"_s);
    QVERIFY(QFileInfo::exists(path));
}

void TestDBConnection::format_data()
{
    QTest::addColumn<QString>("argument"); // SQL expression of the first argument
    QTest::addColumn<QString>("dateFormat");
    QTest::addColumn<QVariant>("expected");

    const QString iso = u"yyyy-mm-dd"_s;
    QTest::newRow("ISO date") << u"'2024-03-05'"_s << iso << QVariant(u"2024-03-05 00:00:00"_s);
    QTest::newRow("ISO date-time") << u"'2024-03-05 08:07:09'"_s << iso << QVariant(u"2024-03-05 08:07:09"_s);
    QTest::newRow("ISO with T, no seconds") << u"'2024-03-05T08:07'"_s << iso << QVariant(u"2024-03-05 08:07:00"_s);
    QTest::newRow("ISO whatever the format") << u"'2024-03-05 08:07:09'"_s << u"dd/mm/yyyy"_s
                                             << QVariant(u"2024-03-05 08:07:09"_s);
    QTest::newRow("day first") << u"'05/03/2024 08:07:09'"_s << u"dd/mm/yyyy"_s
                               << QVariant(u"2024-03-05 08:07:09"_s);
    QTest::newRow("month first, Qt letters") << u"'3/5/2024'"_s << u"M/d/yyyy"_s << QVariant(u"2024-03-05 00:00:00"_s);
    QTest::newRow("afternoon") << u"'3/5/2024 8:07 PM'"_s << u"m/d/yyyy"_s << QVariant(u"2024-03-05 20:07:00"_s);
    QTest::newRow("just after midnight") << u"'12/5/2024 12:30 am'"_s << u"m/d/yyyy"_s
                                         << QVariant(u"2024-12-05 00:30:00"_s);
    QTest::newRow("two-digit year") << u"'05.03.24'"_s << u"dd.mm.yy"_s << QVariant(u"2024-03-05 00:00:00"_s);
    QTest::newRow("day count") << QString::number(DateTimeConv::EncodeDate(2024, 3, 5) + 0.75, 'g', 15) << iso
                               << QVariant(u"2024-03-05 18:00:00"_s);
    QTest::newRow("not a date stays as it is") << u"'not a date'"_s << iso << QVariant(u"not a date"_s);
    QTest::newRow("impossible day stays") << u"'2024-02-30'"_s << iso << QVariant(u"2024-02-30"_s);
    QTest::newRow("impossible hour stays") << u"'2024-03-05 25:00:00'"_s << iso << QVariant(u"2024-03-05 25:00:00"_s);
    QTest::newRow("day first read month first stays") << u"'25/12/2024'"_s << u"mm/dd/yyyy"_s
                                                       << QVariant(u"25/12/2024"_s);
    QTest::newRow("empty stays") << u"''"_s << iso << QVariant(QString());
    QTest::newRow("null stays null") << u"NULL"_s << iso << QVariant();
}

void TestDBConnection::format()
{
    QFETCH(QString, argument);
    QFETCH(QString, dateFormat);
    QFETCH(QVariant, expected);

    TDBTestBackend db(TDBTestBackend::Sqlite);
    QVERIFY(db.Create());
    const TField value = Value(db.Manager(), u"format(%1, %2)"_s.arg(argument, SqlText(dateFormat)));
    QCOMPARE(value.IsNull(), !expected.isValid());
    QCOMPARE(value.AsString(), expected.toString());
}

// The LOCAL statements compare stored ISO timestamps with format() of a date in the database format.
void TestDBConnection::formatInLocalStatement()
{
    TDBTestBackend db(TDBTestBackend::Sqlite);
    QVERIFY(db.Create());
    TDBManager& manager = db.Manager();
    manager.Execute(u"CREATE TABLE CHECKRECORD (CHECKID INTEGER, CHECKINTIMESTAMP TIMESTAMP)"_s);
    manager.Execute(u"INSERT INTO CHECKRECORD VALUES (1, '2024-03-04 23:59:00'), (2, '2024-03-05 00:00:00'), "
                    "(3, '2024-03-05 17:30:00'), (4, '2024-03-06 00:00:00')"_s);

    TQueryReleaser rows(manager, manager.OpenFmt(u"SELECT CHECKID FROM CHECKRECORD WHERE CHECKINTIMESTAMP >= "
                                                 "format('%s', 'dd/mm/yyyy') AND CHECKINTIMESTAMP < "
                                                 "FORMAT('%s', 'dd/mm/yyyy') ORDER BY CHECKINTIMESTAMP"_s,
                                                 {u"05/03/2024"_s, u"06/03/2024"_s}));
    QList<int> ids;
    for (; !rows->Eof(); rows->Next())
        ids << rows->FieldByName(u"CHECKID"_s).AsInteger();
    QCOMPARE(ids, (QList<int>{2, 3}));
}

void TestDBConnection::now()
{
    TDBTestBackend db(TDBTestBackend::Sqlite);
    QVERIFY(db.Create());
    const QDateTime before = QDateTime::currentDateTime();
    const TField value = Value(db.Manager(), u"NOW()"_s);
    const QDateTime after = QDateTime::currentDateTime();

    static const QRegularExpression canonical(u"^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$"_s);
    QVERIFY2(canonical.match(value.AsString()).hasMatch(), qPrintable(value.AsString()));
    // Seconds are whole, so the value lies between the two readings cut to the second.
    const auto seconds = [](const QDateTime& t) { return DateTimeConv::FromQDateTime(t.addMSecs(-t.time().msec())); };
    QVERIFY(value.AsDateTime() >= seconds(before));
    QVERIFY(value.AsDateTime() <= seconds(after));
}

void TestDBConnection::missingDriverIsNamed()
{
    if (QSqlDatabase::isDriverAvailable(u"QOCI"_s))
        QSKIP("the Oracle driver is installed here");
    const QString name = UniqueConnectionName();
    try {
        DBConnection::Open(Dialect::ORACLE, {u"localhost"_s, u"XE"_s, u"u"_s, u"p"_s}, name);
        QFAIL("opened without a driver");
    } catch (const EDatabaseError& e) {
        QVERIFY2(e.Message().contains(u"QOCI"_s), qPrintable(e.Message()));
    }
    QVERIFY(!QSqlDatabase::contains(name));
}

void TestDBConnection::unknownDialect()
{
    try {
        DBConnection::Open(7, {}, UniqueConnectionName());
        QFAIL("opened an unknown dialect");
    } catch (const EDatabaseError& e) {
        QVERIFY2(e.Message().contains(u'7'), qPrintable(e.Message()));
    }
}

void TestDBConnection::refusedLogin_data()
{
    QTest::addColumn<int>("dialect");
    QTest::addColumn<QString>("reason"); // what the server says, in the message
    QTest::newRow("MariaDB") << int(Dialect::MYSQL) << u"Access denied"_s;
    QTest::newRow("Firebird") << int(Dialect::INTERBASE) << u"user name and password are not defined"_s;
}

void TestDBConnection::refusedLogin()
{
    QFETCH(int, dialect);
    QFETCH(QString, reason);

    const auto server = dialect == Dialect::MYSQL ? TestServers::CreateMariaDbDatabase(u"dbconnection"_s)
                                                  : TestServers::CreateFirebirdDatabase(u"dbconnection"_s);
    TESTSERVERS_REQUIRE(server);
    const auto drop = qScopeGuard([&] { TestServers::DropDatabase(*server); });
    const QString name = UniqueConnectionName();
    TConnectionSettings settings = SettingsOf(*server);
    settings.Password += u"-wrong"_s;
    try {
        DBConnection::Open(dialect, settings, name);
        QFAIL("a wrong password was accepted");
    } catch (const EDatabaseError& e) {
        QVERIFY2(e.Message().contains(reason), qPrintable(e.Message()));
        QVERIFY2(e.Message().contains(DBConnection::DriverName(dialect)), qPrintable(e.Message()));
    }
    QVERIFY(!QSqlDatabase::contains(name)); // nothing half-open stays behind
}

void TestDBConnection::mySqlSession()
{
    const auto server = TestServers::CreateMariaDbDatabase(u"dbconnection"_s);
    TESTSERVERS_REQUIRE(server);
    const auto drop = qScopeGuard([&] { TestServers::DropDatabase(*server); });
    const QString name = UniqueConnectionName();
    const auto close = qScopeGuard([&] { DBConnection::Close(name); });

    const QSqlDatabase db = DBConnection::Open(Dialect::MYSQL, SettingsOf(*server), name);
    QSqlQuery query(db);
    QVERIFY2(query.exec(u"SELECT @@SESSION.sql_mode, @@character_set_client, 'a\\b'"_s),
             qPrintable(query.lastError().text()));
    QVERIFY(query.next());
    QVERIFY2(query.value(0).toString().contains(u"NO_BACKSLASH_ESCAPES"_s), qPrintable(query.value(0).toString()));
    QCOMPARE(query.value(1).toString(), u"utf8mb4"_s);
    QCOMPARE(query.value(2).toString(), u"a\\b"_s); // a backslash is an ordinary letter
}

QTEST_GUILESS_MAIN(TestDBConnection)
#include "tst_dbconnection.moc"
