#include "LibStringUtils.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestStringUtils : public QObject
{
    Q_OBJECT
private slots:
    void textToIntOrZero_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << "42" << 42;
        QTest::newRow("negative") << "-7" << -7;
        QTest::newRow("blanks around") << " 15 " << 15;
        QTest::newRow("trailing letter") << "12a" << 0;
        QTest::newRow("fraction") << "1.5" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("too large") << "99999999999" << 0;
    }
    void textToIntOrZero()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(TextToIntOrZero(text), value);
    }

    void removeBlanksAndCommas()
    {
        QCOMPARE(RemoveBlanks(QStringLiteral(" 1 2\t3\n")), QStringLiteral("123"));
        QCOMPARE(RemoveCommas(QStringLiteral(",1,234,")), QStringLiteral("1234"));
    }

    void doubleQuotes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("none") << "Smith"
                              << "Smith";
        QTest::newRow("one") << "O'Brien"
                             << "O''Brien";
        QTest::newRow("already doubled") << "O''Brien"
                                         << "O''Brien";
        QTest::newRow("odd run cannot end the literal") << "a''' OR 1=1 --"
                                                        << "a'''''' OR 1=1 --";
        QTest::newRow("at both ends") << "'x'"
                                      << "''x''";
    }
    void doubleQuotes()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(DoubleQuotes(text), expected);
    }

    void isEmailChars_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("empty") << "" << true;
        QTest::newRow("all kinds") << "Ab-9._z" << true;
        QTest::newRow("plus") << "a+b" << false;
        QTest::newRow("blank") << "a b" << false;
        QTest::newRow("accented letter") << QStringLiteral("jos\u00e9") << false;
    }
    void isEmailChars()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QCOMPARE(IsEmailChars(text), valid);
    }

    void isEmailAddress_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("plain") << "ana@example.com" << true;
        QTest::newRow("sub-domain") << "a.b_c@mail.example.es" << true;
        QTest::newRow("two after the dot") << "a@bc.de" << true;
        QTest::newRow("one after the first dot") << "a@bc.d" << false;
        QTest::newRow("one after the first dot, more later") << "a@b.c.de" << true;
        QTest::newRow("domain of 3") << "a@b.c" << false;
        QTest::newRow("no at sign") << "ana.example.com" << false;
        QTest::newRow("empty name") << "@example.com" << false;
        QTest::newRow("no dot") << "ana@example" << false;
        QTest::newRow("blank") << "ana maria@example.com" << false;
        QTest::newRow("plus") << "ana+x@example.com" << false;
        QTest::newRow("second at sign") << "a@b@example.com" << false;
        QTest::newRow("empty") << "" << false;
    }
    void isEmailAddress()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QCOMPARE(IsEmailAddress(text), valid);
    }

    void firstInvalidAddress_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("addresses");
        QTest::addColumn<int>("firstInvalid");
        QTest::newRow("one") << "ana@example.com" << QStringList{u"ana@example.com"_s} << -1;
        QTest::newRow("semicolons, blanks, repeat")
            << " Ana@Example.com; bo@example.com  ana@example.com;;cy@example.org "
            << QStringList{u"ana@example.com"_s, u"bo@example.com"_s, u"cy@example.org"_s} << -1;
        QTest::newRow("separators at both ends")
            << ";ana@example.com,bo@example.com;" << QStringList{u"ana@example.com"_s, u"bo@example.com"_s}
            << -1;
        QTest::newRow("second invalid")
            << "ana@example.com, nobody, bo@example.com"
            << QStringList{u"ana@example.com"_s, u"nobody"_s, u"bo@example.com"_s} << 1;
        QTest::newRow("line breaks separate") << "ana@example.com\nbo@example.com"
                                              << QStringList{u"ana@example.com"_s, u"bo@example.com"_s} << -1;
        QTest::newRow("blank text") << "   " << QStringList{u""_s} << 0;
    }
    void firstInvalidAddress()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, addresses);
        QFETCH(int, firstInvalid);
        QStringList list{u"left over"_s};
        QCOMPARE(FirstInvalidAddress(text, list), firstInvalid);
        QCOMPARE(list, addresses);
        QCOMPARE(AreEmailAddresses(text), firstInvalid == -1);
    }
};

QTEST_GUILESS_MAIN(TestStringUtils)
#include "tst_stringutils.moc"
