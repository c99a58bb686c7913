// TDBManager: the query pool, printf-style formatting, result sets read by column name, and a round
// trip of every value kind through SQLite, MariaDB and Firebird.

#include "DBTestBackend.h"

#include <QBuffer>
#include <QImage>
#include <QScopeGuard>
#include <QTest>

namespace {

// Quote doubling as the statement holder does it for values spliced into SQL text.
QString Quoted(QString text) { return text.replace(u'\'', u"''"_s); }

QByteArray SmallJpeg()
{
    QImage image(24, 16, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 10, y * 15, 128));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

// 64 KiB of template-like text that also carries the characters SQL and C treat specially.
QString LargeMemo()
{
    const QString pattern = u"AbC0+/=' \\\"%_;\n"_s;
    QString memo;
    while (memo.size() < 65536)
        memo += pattern;
    memo.truncate(65536);
    return memo;
}

} // namespace

class TestDBManager final : public QObject {
    Q_OBJECT

private slots:
    void pool_data();
    void pool();
    void openWithEmptySqlLeavesSlotBusy();
    void executeFailureReleasesSlotAndNamesCause();
    void clearPoolThenOpenMakesFreshQuery();
    void noConnection_data();
    void noConnection();
    void formatSql_data();
    void formatSql();
    void formatSqlErrors_data();
    void formatSqlErrors();
    void resultSet();
    void fieldConversions_data();
    void fieldConversions();
    void roundTrip_data();
    void roundTrip();
};

// ---------------------------------------------------------------------------------------------
// The pool

// Steps: "O" opens a result set, "R<k>" releases the k-th result set opened, "X" runs a statement.
void TestDBManager::pool_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QList<int>>("openedSlots");
    QTest::addColumn<int>("poolCount");

    QTest::newRow("nested opens use two slots; then the lowest is reused")
        << u"O O R0 R1 O"_s << QList<int>{0, 1, 0} << 2;
    QTest::newRow("releasing the second only reuses the second") << u"O O R1 O"_s << QList<int>{0, 1, 1} << 2;
    QTest::newRow("a hole is filled before the pool grows") << u"O O O R1 O O"_s << QList<int>{0, 1, 2, 1, 3} << 4;
    QTest::newRow("a statement borrows and returns the lowest free slot")
        << u"O X R0 X O"_s << QList<int>{0, 0} << 2;
    QTest::newRow("statements alone need one query") << u"X X X"_s << QList<int>{} << 1;
}

void TestDBManager::pool()
{
    QFETCH(QString, steps);
    QFETCH(QList<int>, openedSlots);
    QFETCH(int, poolCount);

    TDBTestBackend db(TDBTestBackend::Sqlite);
    QVERIFY(db.Create());
    TDBManager& manager = db.Manager();
    manager.Execute(u"CREATE TABLE T (ID INTEGER)"_s);
    manager.ClearPool();

    QList<TQuery*> opened;
    QList<int> tags;
    for (const QString& step : steps.split(u' ')) {
        if (step == u"O") {
            opened << manager.Open(u"SELECT 1 AS ONE"_s);
            tags << opened.last()->Tag();
            QVERIFY(manager.IsSlotBusy(opened.last()->Tag()));
        } else if (step == u"X") {
            manager.Execute(u"INSERT INTO T (ID) VALUES (1)"_s);
        } else {
            TQuery* query = opened.at(step.mid(1).toInt());
            const int slot = query->Tag();
            manager.Release(query);
            QVERIFY(!manager.IsSlotBusy(slot));
        }
    }
    QCOMPARE(tags, openedSlots);
    QCOMPARE(manager.PoolCount(), poolCount);
}

void TestDBManager::openWithEmptySqlLeavesSlotBusy()
{
    TDBTestBackend db(TDBTestBackend::Sqlite);
    QVERIFY(db.Create());
    TDBManager& manager = db.Manager();

    QVERIFY_THROWS_EXCEPTION(EDatabaseError, manager.Open(QString()));
    QCOMPARE(manager.PoolCount(), 1);
    QVERIFY(manager.IsSlotBusy(0)); // the caller never got the query, so nobody released it
    TQueryReleaser next(manager, manager.Open(u"SELECT 1 AS ONE"_s));
    QCOMPARE(next->Tag(), 1);
}

void TestDBManager::executeFailureReleasesSlotAndNamesCause()
{
    TDBTestBackend db(TDBTestBackend::Sqlite);
    QVERIFY(db.Create());
    TDBManager& manager = db.Manager();
    const QString sql = u"INSERT INTO NOSUCHTABLE (ID) VALUES (1)"_s;

    try {
        manager.Execute(sql);
        QFAIL("Execute on a missing table succeeded");
    } catch (const EDatabaseError& e) {
        QVERIFY2(e.Message().contains(u"no such table"_s), qPrintable(e.Message()));
        QVERIFY2(e.Message().contains(sql), qPrintable(e.Message()));
    }
    QCOMPARE(manager.PoolCount(), 1);
    QVERIFY(!manager.IsSlotBusy(0));
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, manager.Open(u"SELECT NOSUCHCOLUMN FROM sqlite_master"_s));
}

void TestDBManager::clearPoolThenOpenMakesFreshQuery()
{
    TDBTestBackend db(TDBTestBackend::Sqlite);
    QVERIFY(db.Create());
    TDBManager& manager = db.Manager();
    TQuery* before = manager.Open(u"SELECT 1 AS ONE"_s);
    TQuery* busy = manager.Open(u"SELECT 2 AS TWO"_s);
    QCOMPARE(busy->Tag(), 1);

    manager.ClearPool(); // frees both, busy or not
    QCOMPARE(manager.PoolCount(), 0);
    QVERIFY(!manager.IsSlotBusy(0));
    manager.Release(before); // freed by ClearPool: ignored without being touched

    TQueryReleaser after(manager, manager.Open(u"SELECT 3 AS THREE"_s));
    QCOMPARE(after->Tag(), 0);
    QCOMPARE(manager.PoolCount(), 1);
    QCOMPARE(after->FieldByName(u"THREE"_s).AsInteger(), 3);
}

// ---------------------------------------------------------------------------------------------
// Without a connection

void TestDBManager::noConnection_data()
{
    QTest::addColumn<QString>("connection"); // "none" set, "closed", or local open but "server mode"
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("message"); // empty: no exception

    const QString notOpened = u"Database is not opened!"_s;
    for (const QString& connection : {u"none"_s, u"closed"_s, u"server mode"_s}) {
        for (const QString& operation : {u"Execute"_s, u"Open"_s})
            QTest::addRow("%s, %s", qPrintable(connection), qPrintable(operation)) << connection << operation << notOpened;
    }
    QTest::newRow("none, Prepare") << u"none"_s << u"Prepare"_s << u"Both connections are null! (uDBManager)"_s;
    QTest::newRow("closed, Prepare") << u"closed"_s << u"Prepare"_s << QString();
    QTest::newRow("closed, ExecPrepared") << u"closed"_s << u"ExecPrepared"_s << notOpened;
    QTest::newRow("server mode, ExecPrepared") << u"server mode"_s << u"ExecPrepared"_s << notOpened;
}

void TestDBManager::noConnection()
{
    QFETCH(QString, connection);
    QFETCH(QString, operation);
    QFETCH(QString, message);

    TDBTestBackend db(TDBTestBackend::Sqlite);
    QVERIFY(db.Create());
    db.Manager().Execute(u"CREATE TABLE T (ID INTEGER)"_s);
    const QString closedName = UniqueConnectionName();
    const auto closeSecond = qScopeGuard([&] { DBConnection::Close(closedName); });
    TDBManager manager;
    if (connection == u"closed") {
        DBConnection::Open(Dialect::LOCAL, {QString(), db.LocalFile(), QString(), QString()}, closedName);
        QSqlDatabase::database(closedName, false).close();
        manager.SetLocalConnection(closedName);
    } else if (connection == u"server mode") {
        manager.SetLocalConnection(db.ConnectionName());
        QVERIFY(manager.IsConnected()); // the local connection is open, but server mode uses the other
        manager.SetServerMode(true);
    }
    const QString sql = u"INSERT INTO T (ID) VALUES (1)"_s;
    try {
        if (operation == u"Execute")
            manager.Execute(sql);
        else if (operation == u"Open")
            manager.Open(sql);
        else if (operation == u"Prepare")
            manager.Prepare(sql);
        else
            manager.ExecPrepared(manager.Prepare(sql));
        QVERIFY2(message.isEmpty(), "no exception was raised");
    } catch (const Exception& e) {
        QCOMPARE(e.Message(), message);
    }
    manager.ClearPool();
    TQueryReleaser count(db.Manager(), db.Manager().Open(u"SELECT COUNT(*) AS N FROM T"_s));
    QCOMPARE(count->FieldByName(u"N"_s).AsInteger(), 0); // nothing reached the database
}

// ---------------------------------------------------------------------------------------------
// FormatSQL

void TestDBManager::formatSql_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QVariantList>("args");
    QTest::addColumn<QString>("expected");

    QTest::newRow("upper-case markers act as lower-case")
        << u"SELECT * FROM E WHERE EMPLOYEEID = %D AND NAME = '%S'"_s << QVariantList{42, u"O''Brien"_s}
        << u"SELECT * FROM E WHERE EMPLOYEEID = 42 AND NAME = 'O''Brien'"_s;
    QTest::newRow("percent sign") << u"LIKE 'A%%' AND X = %d"_s << QVariantList{7} << u"LIKE 'A%' AND X = 7"_s;
    QTest::newRow("no markers, no arguments") << u"SELECT 1"_s << QVariantList{} << u"SELECT 1"_s;
    QTest::newRow("surplus arguments are ignored") << u"%d"_s << QVariantList{1, 2} << u"1"_s;
    QTest::newRow("negative and 64-bit integers") << u"%d %d"_s << QVariantList{-5, qlonglong(1) << 40}
                                                  << u"-5 1099511627776"_s;
    QTest::newRow("width, left alignment and zero-padded precision")
        << u"[%5d][%-4d][%.3d][%-6s]"_s << QVariantList{12, 3, -7, u"ab"_s} << u"[   12][3   ][-007][ab    ]"_s;
    QTest::newRow("precision cuts a text") << u"%.3s"_s << QVariantList{u"abcdef"_s} << u"abc"_s;
    QTest::newRow("argument index") << u"%1:s %0:s %s"_s << QVariantList{u"a"_s, u"b"_s, u"c"_s} << u"b a b"_s;
    QTest::newRow("floats with a point whatever the locale")
        << u"%f %.1f %g %g"_s << QVariantList{2.5, 1.26, 0.1, 1234.5678} << u"2.50 1.3 0.1 1234.5678"_s;
    QTest::newRow("hex and unsigned") << u"%x %.4X %u %x"_s << QVariantList{255, 10, 7, -1}
                                      << u"FF 000A 7 FFFFFFFF"_s;
    QTest::newRow("texts are inserted, never scanned") << u"'%s' %d"_s << QVariantList{u"%d %s"_s, 3}
                                                       << u"'%d %s' 3"_s;
    QTest::newRow("non-ASCII text") << u"'%s'"_s << QVariantList{u"Ñandú"_s} << u"'Ñandú'"_s;
}

void TestDBManager::formatSql()
{
    QFETCH(QString, format);
    QFETCH(QVariantList, args);
    QFETCH(QString, expected);

    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German)); // decimal comma must not leak into SQL
    const auto restore = qScopeGuard([&] { QLocale::setDefault(previous); });
    QCOMPARE(TDBManager::FormatSQL(format, args), expected);
}

void TestDBManager::formatSqlErrors_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QVariantList>("args");
    QTest::addColumn<QString>("messagePart");

    QTest::newRow("too few arguments") << u"%d AND %s"_s << QVariantList{1} << u"No argument for '%s'"_s;
    QTest::newRow("no arguments at all") << u"ID = %D"_s << QVariantList{} << u"No argument for '%D'"_s;
    QTest::newRow("text for %d") << u"ID = %d"_s << QVariantList{u"1"_s} << u"Argument 1 does not fit '%d'"_s;
    QTest::newRow("integer for %s") << u"'%s' %s"_s << QVariantList{u"a"_s, 5} << u"Argument 2 does not fit '%s'"_s;
    QTest::newRow("float for %d") << u"%d"_s << QVariantList{1.5} << u"does not fit '%d'"_s;
    QTest::newRow("integer for %f") << u"%f"_s << QVariantList{1} << u"does not fit '%f'"_s;
    QTest::newRow("date-time for %s") << u"'%s'"_s << QVariantList{QDateTime::currentDateTime()}
                                      << u"does not fit '%s'"_s;
    QTest::newRow("unknown conversion") << u"%q"_s << QVariantList{1} << u"Invalid format specifier '%q'"_s;
    QTest::newRow("percent at the end") << u"100%"_s << QVariantList{} << u"Invalid format specifier '%'"_s;
}

void TestDBManager::formatSqlErrors()
{
    QFETCH(QString, format);
    QFETCH(QVariantList, args);
    QFETCH(QString, messagePart);

    try {
        TDBManager::FormatSQL(format, args);
        QFAIL("no exception");
    } catch (const Exception& e) {
        QVERIFY2(e.Message().contains(messagePart), qPrintable(e.Message()));
        QVERIFY2(e.Message().contains(format), qPrintable(e.Message()));
    }
}

// ---------------------------------------------------------------------------------------------
// Result sets

void TestDBManager::resultSet()
{
    TDBTestBackend db(TDBTestBackend::Sqlite);
    QVERIFY(db.Create());
    TDBManager& manager = db.Manager();
    manager.Execute(u"CREATE TABLE EMPLOYEES (EMPLOYEEID INTEGER, LASTNAME TEXT)"_s);
    manager.ExecuteFmt(u"INSERT INTO EMPLOYEES VALUES (%d, '%s'), (%d, '%s')"_s, {1, u"Ames"_s, 2, u"Bell"_s});

    TQueryReleaser rows(manager, manager.OpenFmt(u"SELECT * FROM EMPLOYEES WHERE EMPLOYEEID >= %d ORDER BY 1"_s, {1}));
    QVERIFY(!rows->IsEmpty());
    QCOMPARE(rows->FieldNames(), (QStringList{u"EMPLOYEEID"_s, u"LASTNAME"_s}));
    QStringList names;
    for (; !rows->Eof(); rows->Next())
        names << rows->FieldByName(u"lastName"_s).AsString(); // column names compare without case
    QCOMPARE(names, (QStringList{u"Ames"_s, u"Bell"_s}));
    rows->Next(); // past the end stays there
    QVERIFY(rows->Eof());
    QVERIFY(rows->FieldByName(u"LASTNAME"_s).IsNull());
    QVERIFY(rows->First());
    QCOMPARE(rows->FieldByName(u"EMPLOYEEID"_s).AsInteger(), 1);
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, rows->FieldByName(u"NOSUCHCOLUMN"_s));

    TQueryReleaser none(manager, manager.Open(u"SELECT * FROM EMPLOYEES WHERE EMPLOYEEID < 0"_s));
    QVERIFY(none->IsEmpty());
    QVERIFY(none->Eof());
    QVERIFY(!none->First());
    QCOMPARE(none->FieldByName(u"LASTNAME"_s).AsString(), QString());
    QCOMPARE(manager.GetTableNames(), u"EMPLOYEES"_s);
}

void TestDBManager::fieldConversions_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("asString");
    QTest::addColumn<int>("asInteger");
    QTest::addColumn<double>("asFloat");
    QTest::addColumn<double>("asDateTime");

    const double noon = DateTimeConv::EncodeDate(2024, 3, 5) + 0.5;
    QTest::newRow("ISO text with time (SQLite)") << QVariant(u"2024-03-05 12:00:00"_s) << u"2024-03-05 12:00:00"_s
                                                 << -1 << -1.0 << noon;
    QTest::newRow("ISO text with T and ms") << QVariant(u"2024-03-05T12:00:00.000"_s)
                                            << u"2024-03-05T12:00:00.000"_s << -1 << -1.0 << noon;
    QTest::newRow("ISO date only") << QVariant(u"2024-03-05"_s) << u"2024-03-05"_s << -1 << -1.0 << noon - 0.5;
    QTest::newRow("QDateTime (servers)") << QVariant(QDateTime(QDate(2024, 3, 5), QTime(12, 0)))
                                         << u"2024-03-05 12:00:00"_s << -1 << noon << noon;
    QTest::newRow("float minutes") << QVariant(437.5) << u"437.5"_s << 438 << 437.5 << 437.5;
    QTest::newRow("integer") << QVariant(qlonglong(7)) << u"7"_s << 7 << 7.0 << 7.0;
    QTest::newRow("numeric text") << QVariant(u"12.25"_s) << u"12.25"_s << 12 << 12.25 << 12.25;
    QTest::newRow("trailing NUL of an old memo") << QVariant(u"ABC\0"_s) << u"ABC"_s << -1 << -1.0 << -1.0;
    QTest::newRow("bytes") << QVariant(QByteArray("Ñ")) << u"Ñ"_s << -1 << -1.0 << -1.0;
}

// -1 marks a conversion that must raise EDatabaseError.
void TestDBManager::fieldConversions()
{
    QFETCH(QVariant, value);
    QFETCH(QString, asString);
    QFETCH(int, asInteger);
    QFETCH(double, asFloat);
    QFETCH(double, asDateTime);

    const TField field(value);
    QVERIFY(!field.IsNull());
    QCOMPARE(field.AsString(), asString);
    if (asInteger == -1)
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, field.AsInteger());
    else
        QCOMPARE(field.AsInteger(), asInteger);
    if (asFloat == -1.0)
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, field.AsFloat());
    else
        QCOMPARE(field.AsFloat(), asFloat);
    if (asDateTime == -1.0)
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, field.AsDateTime());
    else
        QCOMPARE(field.AsDateTime(), asDateTime);

    const TField null(value, true);
    QCOMPARE(null.AsString(), QString());
    QCOMPARE(null.AsInteger(), 0);
    QCOMPARE(null.AsFloat(), 0.0);
    QCOMPARE(null.AsDateTime(), 0.0);
}

// ---------------------------------------------------------------------------------------------
// Every value kind through every database we test against

void TestDBManager::roundTrip_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("SQLite") << int(TDBTestBackend::Sqlite);
    QTest::newRow("MariaDB") << int(TDBTestBackend::MariaDb);
    QTest::newRow("Firebird") << int(TDBTestBackend::Firebird);
}

void TestDBManager::roundTrip()
{
    QFETCH(int, kind);
    TDBTestBackend db(static_cast<TDBTestBackend::Kind>(kind));
    if (!db.Create())
        TESTSERVERS_REQUIRE(db.Server());
    TDBManager& manager = db.Manager();
    manager.Execute(u"CREATE TABLE VALUESTEST (ID INTEGER NOT NULL, MINUTES %1, STAMP %2, NOTE VARCHAR(100), "
                    "FIRTEXT %3, PICTURE %4)"_s.arg(db.FloatType(), db.DateTimeType(), db.MemoType(), db.BlobType()));

    const QStringList texts{u"O'Brien"_s, u"It''s"_s, u"C:\\dir\\"_s, u"\\'"_s, u"' OR '1'='1"_s,
                            u"Ñandú, café, Größe, ½ €"_s};
    const double minutes = 1234.5678;
    const TDateTime stamp = DateTimeConv::EncodeDate(2024, 2, 29) + DateTimeConv::EncodeTime(23, 59, 58);
    for (int id = 0; id < texts.size(); ++id) {
        manager.ExecuteFmt(u"INSERT INTO VALUESTEST (ID, MINUTES, STAMP, NOTE) VALUES (%d, %s, '%s', '%s')"_s,
                           {id, QString::number(minutes, 'g', 15), u"2024-02-29 23:59:58"_s, Quoted(texts[id])});
    }
    const QString memo = LargeMemo();
    const QByteArray jpeg = SmallJpeg();
    QVERIFY(jpeg.startsWith("\xFF\xD8"));
    TQuery* update = manager.PrepareFmt(u"UPDATE VALUESTEST SET FIRTEXT = :FIRTEXT, PICTURE = :PICTURE WHERE ID = %d"_s,
                                        {0});
    manager.SetMemoParam(update, u"FIRTEXT"_s, memo);
    manager.SetBinaryParam(update, u"PICTURE"_s, jpeg);
    QCOMPARE(update->ParamValue(u":FIRTEXT"_s).toString(), memo); // no terminator added in either mode
    manager.ExecPrepared(update);
    manager.Release(update);

    TQueryReleaser rows(manager, manager.Open(u"SELECT * FROM VALUESTEST ORDER BY ID"_s));
    for (int id = 0; id < texts.size(); ++id, rows->Next()) {
        QVERIFY(!rows->Eof());
        QCOMPARE(rows->FieldByName(u"note"_s).AsString(), texts[id]);
        QCOMPARE(rows->FieldByName(u"MINUTES"_s).AsFloat(), minutes);
        QCOMPARE(rows->FieldByName(u"STAMP"_s).AsDateTime(), stamp);
    }
    QVERIFY(rows->Eof());

    TQueryReleaser first(manager, manager.Open(u"SELECT FIRTEXT, PICTURE FROM VALUESTEST WHERE ID = 0"_s));
    QCOMPARE(first->FieldByName(u"FIRTEXT"_s).AsString().size(), memo.size());
    QVERIFY(first->FieldByName(u"FIRTEXT"_s).AsString() == memo);
    QVERIFY(first->FieldByName(u"PICTURE"_s).AsBytes() == jpeg);
    QVERIFY(!QImage::fromData(first->FieldByName(u"PICTURE"_s).AsBytes(), "JPG").isNull());

    // Each quoted text matches exactly its own row: nothing was read as SQL.
    for (int id = 0; id < texts.size(); ++id) {
        TQueryReleaser match(manager, manager.OpenFmt(u"SELECT ID FROM VALUESTEST WHERE NOTE = '%s'"_s,
                                                      {Quoted(texts[id])}));
        QVERIFY2(!match->IsEmpty(), qPrintable(texts[id]));
        QCOMPARE(match->FieldByName(u"ID"_s).AsInteger(), id);
        match->Next();
        QVERIFY2(match->Eof(), qPrintable(texts[id]));
    }
}

QTEST_GUILESS_MAIN(TestDBManager)
#include "tst_dbmanager.moc"
