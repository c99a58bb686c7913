#include "uDateTime.h"

#include <QTest>

class TestDateTime : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QDateTime>("value");
        QTest::addColumn<double>("days");
        QTest::newRow("epoch") << QDateTime(QDate(1899, 12, 30), QTime(0, 0)) << 0.0;
        QTest::newRow("noon") << QDateTime(QDate(1899, 12, 31), QTime(12, 0)) << 1.5;
        QTest::newRow("before epoch") << QDateTime(QDate(1899, 12, 29), QTime(6, 0)) << -1.25;
        QTest::newRow("2026 evening") << QDateTime(QDate(2026, 12, 11), QTime(18, 45)) << 46367.78125;
    }
    void roundTrip()
    {
        QFETCH(QDateTime, value);
        QFETCH(double, days);
        QCOMPARE(DateTimeConv::FromQDateTime(value), days);
        QCOMPARE(DateTimeConv::ToQDateTime(days), value);
    }
    void daylightSavingGapKeepsItsWallClock()
    {
        qputenv("TZ", "Europe/Madrid");
        const double value = DateTimeConv::EncodeDate(2026, 3, 29) + DateTimeConv::EncodeTime(2, 30);
        const QDateTime converted = DateTimeConv::ToQDateTime(value);
        QVERIFY(converted.isValid());
        QCOMPARE(converted.time(), QTime(2, 30));
        QCOMPARE(DateTimeConv::FromQDateTime(converted), value);
        qunsetenv("TZ");
    }
    void timeOfDayJustBelowNoonStaysAtNoon()
    {
        QCOMPARE(DateTimeConv::ToQTime(0.5 - 1e-12), QTime(12, 0));
    }
};

QTEST_GUILESS_MAIN(TestDateTime)
#include "tst_datetime.moc"
