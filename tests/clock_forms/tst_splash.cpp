// The start-up picture closes after its time or at the first key or mouse press.
#include "fSplash.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QThread>
#include <QTimer>

using namespace Qt::StringLiterals;

class TestSplash : public QObject
{
    Q_OBJECT

private slots:
    void showsThePictureForEightSeconds()
    {
        TfrmSplash splash;
        QVERIFY(!splash.findChild<QLabel*>(u"imgSplash"_s)->pixmap().isNull());
        QVERIFY(splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        QVERIFY(splash.CloseTimer()->isActive());
        QCOMPARE(splash.CloseTimer()->interval(), 8000);
        QVERIFY(QMetaObject::invokeMethod(splash.CloseTimer(), "timeout"));
        QVERIFY(!splash.isVisible());
    }

    void anyKeyOrClickCloses_data()
    {
        QTest::addColumn<bool>("mouse");
        QTest::addColumn<int>("key");
        QTest::newRow("space") << false << int(Qt::Key_Space);
        QTest::newRow("escape") << false << int(Qt::Key_Escape);
        QTest::newRow("letter") << false << int(Qt::Key_A);
        QTest::newRow("click") << true << 0;
    }
    void anyKeyOrClickCloses()
    {
        QFETCH(bool, mouse);
        QFETCH(int, key);
        TfrmSplash splash;
        // Straight to the window (a splash screen never becomes the active window that key
        // simulation delivers to), once the dialog's own event loop runs.
        QTimer press;
        press.setInterval(10);
        connect(&press, &QTimer::timeout, &splash, [&] {
            if (QThread::currentThread()->loopLevel() == 0)
                return;
            press.stop();
            if (mouse) {
                QMouseEvent click(QEvent::MouseButtonPress, QPointF(10, 10), splash.mapToGlobal(QPointF(10, 10)),
                                  Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
                QCoreApplication::sendEvent(&splash, &click);
            } else {
                QKeyEvent keyPress(QEvent::KeyPress, key, Qt::NoModifier);
                QCoreApplication::sendEvent(&splash, &keyPress);
            }
        });
        press.start();
        QCOMPARE(splash.exec(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(TestSplash)
#include "tst_splash.moc"
