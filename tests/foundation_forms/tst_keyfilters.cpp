#include "uKeyFilters.h"

#include <QLineEdit>
#include <QLocale>
#include <QTest>

using Keys = TControlValidator::Keys;
Q_DECLARE_METATYPE(TControlValidator::Keys)

class TestKeyFilters : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void typing_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<Keys>("keys");
        QTest::addColumn<QString>("initial");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("digits") << "en_US" << Keys::Digit << ""
                                << "12-3.4a 5"
                                << "12345";
        QTest::newRow("signed integer") << "en_US" << Keys::SignedInteger << ""
                                        << "-12.3a+4"
                                        << "-1234";
        QTest::newRow("decimal") << "en_US" << Keys::Decimal << ""
                                 << "-12.5x"
                                 << "-12.5";
        QTest::newRow("second decimal point refused") << "en_US" << Keys::Decimal << ""
                                                      << "1.2.3"
                                                      << "1.23";
        QTest::newRow("field already has one") << "en_US" << Keys::Decimal << "7.5"
                                               << ".25"
                                               << "7.525";
        QTest::newRow("comma refused where '.' is the separator") << "en_US" << Keys::Decimal << ""
                                                                  << "1,5"
                                                                  << "15";
        QTest::newRow("locale separator accepted") << "de_DE" << Keys::Decimal << ""
                                                   << "1,5,3"
                                                   << "1,53";
        QTest::newRow("one separator of either kind") << "de_DE" << Keys::Decimal << ""
                                                      << "1.5,3"
                                                      << "1.53";
        QTest::newRow("digits ignore the locale") << "de_DE" << Keys::Digit << ""
                                                  << "1,5"
                                                  << "15";
    }
    void typing()
    {
        QFETCH(QString, locale);
        QFETCH(Keys, keys);
        QFETCH(QString, initial);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QLocale::setDefault(QLocale(locale));
        QLineEdit edit(initial);
        Install(keys, &edit);
        edit.show();
        edit.end(false);
        QTest::keyClicks(&edit, typed);
        QCOMPARE(edit.text(), expected);
    }

    void selectionReplacedByTheTypedSeparator()
    {
        QLineEdit edit(QStringLiteral("12.50"));
        TControlValidator::DecimalKeys(&edit);
        edit.show();
        edit.setSelection(2, 3); // ".50"
        QTest::keyClicks(&edit, QStringLiteral(".7"));
        QCOMPARE(edit.text(), QStringLiteral("12.7"));
    }

    void editingKeysPass()
    {
        QLineEdit edit(QStringLiteral("123"));
        TControlValidator::DigitKeys(&edit);
        edit.show();
        edit.end(false);
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QTest::keyClick(&edit, Qt::Key_Home);
        QTest::keyClick(&edit, Qt::Key_Delete);
        QTest::keyClick(&edit, Qt::Key_End);
        QTest::keyClick(&edit, Qt::Key_Left);
        QTest::keyClicks(&edit, QStringLiteral("9"));
        QCOMPARE(edit.text(), QStringLiteral("92"));
    }

private:
    static void Install(Keys keys, QLineEdit* edit)
    {
        switch (keys) {
        case Keys::Decimal:
            TControlValidator::DecimalKeys(edit);
            break;
        case Keys::SignedInteger:
            TControlValidator::SignedIntegerKeys(edit);
            break;
        case Keys::Digit:
            TControlValidator::DigitKeys(edit);
            break;
        }
    }
};

QTEST_MAIN(TestKeyFilters)
#include "tst_keyfilters.moc"
