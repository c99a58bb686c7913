// The test-server helpers themselves: each server gives a fresh database that takes a table and
// keeps non-ASCII text, and the database is gone after DropDatabase.
#include "TestServers.h"

#include <QScopeGuard>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

using TestServers::Database;

class TestTestServers final : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void namesAreUnique();
    void refusedLoginSaysWhy_data();
    void refusedLoginSaysWhy();

private:
    static std::optional<Database> Create(const QString& server, const QString& prefix);
};

std::optional<Database> TestTestServers::Create(const QString& server, const QString& prefix)
{
    return server == u"MariaDB" ? TestServers::CreateMariaDbDatabase(prefix)
                                : TestServers::CreateFirebirdDatabase(prefix);
}

void TestTestServers::roundTrip_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("charsetQuery");
    QTest::addColumn<QString>("charset");
    QTest::newRow("MariaDB") << QStringLiteral("MariaDB") << QStringLiteral("SELECT @@character_set_database")
                             << QStringLiteral("utf8mb4");
    QTest::newRow("Firebird") << QStringLiteral("Firebird")
                              << QStringLiteral("SELECT RDB$CHARACTER_SET_NAME FROM RDB$DATABASE")
                              << QStringLiteral("UTF8");
}

void TestTestServers::roundTrip()
{
    QFETCH(QString, server);
    QFETCH(QString, charsetQuery);
    QFETCH(QString, charset);
    const auto database = Create(server, QStringLiteral("Self-Test"));
    TESTSERVERS_REQUIRE(database);
    const QString text = QStringLiteral("Peña's café \\ Ørsted 日本");
    {
        const auto drop = qScopeGuard([&] { TestServers::DropDatabase(*database); });
        TestServers::Connection connection(*database);
        QVERIFY2(connection.isOpen(), qPrintable(connection.errorText()));
        QSqlQuery query(connection.database());
        QVERIFY2(query.exec(charsetQuery) && query.next(), qPrintable(query.lastError().text()));
        QCOMPARE(query.value(0).toString().trimmed(), charset);
        QVERIFY2(query.exec(QStringLiteral("CREATE TABLE NOTE (ID INTEGER NOT NULL PRIMARY KEY, "
                                           "BODY VARCHAR(100))")),
                 qPrintable(query.lastError().text()));
        QVERIFY(query.prepare(QStringLiteral("INSERT INTO NOTE (ID, BODY) VALUES (?, ?)")));
        query.addBindValue(1);
        query.addBindValue(text);
        QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
        // A literal with a backslash must survive too: MariaDB sessions run NO_BACKSLASH_ESCAPES.
        QVERIFY2(query.exec(QStringLiteral("INSERT INTO NOTE (ID, BODY) VALUES (2, 'a\\''b')")),
                 qPrintable(query.lastError().text()));
        QVERIFY2(query.exec(QStringLiteral("SELECT BODY FROM NOTE ORDER BY ID")),
                 qPrintable(query.lastError().text()));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toString(), text);
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toString(), QStringLiteral("a\\'b"));
    }
    // Dropped: a second drop has nothing left to remove (MariaDB's IF EXISTS makes it succeed).
    TestServers::Connection again(*database);
    QVERIFY(!again.isOpen());
}

void TestTestServers::namesAreUnique()
{
    const auto first = TestServers::CreateMariaDbDatabase(QStringLiteral("same"));
    TESTSERVERS_REQUIRE(first);
    const auto dropFirst = qScopeGuard([&] { TestServers::DropDatabase(*first); });
    const auto second = TestServers::CreateMariaDbDatabase(QStringLiteral("same"));
    const auto dropSecond = qScopeGuard([&] { TestServers::DropDatabase(*second); });
    QVERIFY(first->database.startsWith(u"same_"));
    QVERIFY(first->database != second->database);
}

void TestTestServers::refusedLoginSaysWhy_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QByteArray>("passwordVariable");
    QTest::newRow("MariaDB") << QStringLiteral("MariaDB") << QByteArray("HORAVANT_TEST_MYSQL_PASSWORD");
    QTest::newRow("Firebird") << QStringLiteral("Firebird") << QByteArray("HORAVANT_TEST_FIREBIRD_PASSWORD");
}

// A server that refuses must fail the test with its reason, not skip it as if none were started.
void TestTestServers::refusedLoginSaysWhy()
{
    QFETCH(QString, server);
    QFETCH(QByteArray, passwordVariable);
    const QByteArray password = qgetenv(passwordVariable.constData());
    if (password.isEmpty())
        TESTSERVERS_REQUIRE(std::optional<Database>());
    const auto restore = qScopeGuard([&] { qputenv(passwordVariable.constData(), password); });
    qputenv(passwordVariable.constData(), password + "-wrong");
    QVERIFY(!Create(server, QStringLiteral("refused")));
    QVERIFY2(TestServers::LastError().contains(server), qPrintable(TestServers::LastError()));
}

QTEST_GUILESS_MAIN(TestTestServers)
#include "tst_testservers.moc"
