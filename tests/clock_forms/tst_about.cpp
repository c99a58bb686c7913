// The About box: the product version, and the picture file of the program directory when there is
// one that loads, else the built-in picture.
#include "TestJpeg.h"
#include "fAbout.h"

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void showsVersionAndPicture_data()
    {
        QTest::addColumn<QByteArray>("pictureFile"); // empty: no file
        QTest::addColumn<QSize>("pictureSize");      // empty: the built-in picture
        QTest::newRow("picture file") << TestJpeg(QSize(120, 80)) << QSize(120, 80);
        QTest::newRow("no picture file") << QByteArray() << QSize();
        QTest::newRow("picture file that is no JPEG") << "not a picture"_ba << QSize();
    }
    void showsVersionAndPicture()
    {
        QFETCH(QByteArray, pictureFile);
        QFETCH(QSize, pictureSize);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        if (!pictureFile.isEmpty()) {
            QFile file(dir.filePath(QLatin1String(TfrmAbout::PictureFileName)));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(pictureFile);
        }
        TfrmAbout about(dir.path() + u'/', u"2.0.0"_s);
        QCOMPARE(about.findChild<QLabel*>(u"lblVersion"_s)->text(), u"2.0.0"_s);
        QCOMPARE(about.findChild<QLabel*>(u"lblVersionTitle"_s)->text(), u"Version:"_s);
        QCOMPARE(about.findChild<QLabel*>(u"lblCrewTitle"_s)->text(), u"Programming Crew:"_s);
        const QPixmap picture = about.findChild<QLabel*>(u"imgAbout"_s)->pixmap();
        QVERIFY(!picture.isNull());
        if (pictureSize.isValid())
            QCOMPARE(picture.size(), pictureSize);
        else
            QVERIFY(picture.deviceIndependentSize().toSize() != QSize(120, 80));
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
