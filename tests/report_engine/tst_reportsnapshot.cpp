#include "ReportTestPage.h"
#include "TPdfRenderer.h"
#include "TReportSnapshot.h"
#include "TReportWriter.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDataStream>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray Written(TReportRenderer&& renderer, const TReportDocument& document)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    if (!renderer.Write(document, buffer))
        qWarning() << renderer.errorString();
    return data;
}

QByteArray Pdf(const TReportDocument& document)
{
    return Written(TPdfRenderer(), document);
}

QByteArray Snapshot(const TReportDocument& document)
{
    return Written(TReportSnapshot(), document);
}

// QPdfWriter stamps the time of writing into /CreationDate and offers no way to set it; the
// comparison blanks that one value (same length, so offsets and the xref stay as they are).
QByteArray WithoutCreationDate(QByteArray pdf)
{
    static const QRegularExpression date(QStringLiteral("/CreationDate \\(D:(\\d+)Z\\)"));
    const QRegularExpressionMatch match = date.match(QString::fromLatin1(pdf));
    if (match.hasMatch())
        pdf.replace(match.capturedStart(1), match.capturedLength(1), QByteArray(match.capturedLength(1), '0'));
    return pdf;
}

// A file laid out as the engine writes one, around any payload: for damage the checksum misses.
QByteArray Framed(const QByteArray& payload, quint16 version = TReportSnapshot::FormatVersion)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.writeRawData("HVRSNAP\x1a", 8);
    out << version << quint64(payload.size());
    out.writeRawData(payload.constData(), int(payload.size()));
    const QByteArray hash = QCryptographicHash::hash(payload, QCryptographicHash::Sha256);
    out.writeRawData(hash.constData(), int(hash.size()));
    return data;
}

// The payload of a one-page document holding one item written by the caller.
template <typename Items> QByteArray Payload(quint32 pictures, quint32 fonts, Items items)
{
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_4);
    out << QStringLiteral("Title") << 8.5 << 11.0 << 0.25 << 0.25 << 0.25 << 0.5;
    out << pictures;
    for (quint32 i = 0; i < pictures && i < 10; ++i)
        out << ReportTestPage::Jpeg(8, 8);
    out << fonts;
    for (quint32 i = 0; i < fonts && i < 10; ++i)
        out << QStringLiteral("Tahoma") << 10.0 << quint8(0);
    out << quint32(1);
    items(out);
    return payload;
}

} // namespace

class TestReportSnapshot : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // Saved and loaded, the pages are the same, and so is every byte of the PDF made from them.
    void loadsBackIdenticalPages()
    {
        const TReportDocument original = ReportTestPage::Document();
        const QString fileName = m_dir.filePath(QStringLiteral("report.ndr"));
        TReportSnapshot snapshot;
        QVERIFY2(snapshot.WriteFile(original, fileName), qPrintable(snapshot.errorString()));

        TReportDocument loaded;
        QVERIFY2(snapshot.LoadFile(fileName, loaded), qPrintable(snapshot.errorString()));
        QVERIFY(loaded == original);
        QCOMPARE(WithoutCreationDate(Pdf(loaded)), WithoutCreationDate(Pdf(original)));
        QCOMPARE(Snapshot(loaded), Snapshot(original));
    }

    // A logo drawn on every page is stored once.
    void sharedPictureIsStoredOnce()
    {
        const QByteArray logo = ReportTestPage::Jpeg(300, 150);
        TReportWriter writer;
        for (int page = 0; page < 50; ++page) {
            if (page > 0)
                writer.NewPage();
            writer.PrintImageRect(0.5, 0.1, 2.5, 1.1, logo, QStringLiteral("JPG"));
        }
        const QByteArray data = Snapshot(writer.Document());
        QVERIFY2(data.size() < logo.size() + 50 * 64, qPrintable(QString::number(data.size())));
    }

    void damagedFilesGiveClearErrors_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("message");
        const QByteArray good = Snapshot(ReportTestPage::Document());
        QByteArray flipped = good;
        flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 0x20);
        const QString notSnapshot = QStringLiteral("not a report snapshot");
        const QString damaged = QStringLiteral("is damaged");

        QTest::newRow("empty") << QByteArray() << notSnapshot;
        QTest::newRow("PDF") << QByteArray("%PDF-1.4\n%\xe2\xe3\xcf\xd3\n1 0 obj") << notSnapshot;
        QTest::newRow("header cut") << good.left(12) << notSnapshot;
        QTest::newRow("payload cut") << good.left(good.size() / 2) << damaged;
        QTest::newRow("bytes added") << good + "x" << damaged;
        QTest::newRow("byte changed") << flipped << damaged;
        QTest::newRow("newer format") << Framed(QByteArray("future"), 2) << QStringLiteral("newer version");
        QTest::newRow("version 0") << Framed(QByteArray(), 0) << QStringLiteral("newer version");
        // Damage that keeps the checksum right: the content itself is checked.
        QTest::newRow("empty payload") << Framed(QByteArray()) << damaged;
        QTest::newRow("font out of range") << Framed(Payload(0, 1, [](QDataStream& out) {
            out << quint32(1) << quint8(0) << quint32(1) << 0.3 << 1.0 << 1.0 << QStringLiteral("x");
        })) << damaged;
        QTest::newRow("picture out of range") << Framed(Payload(1, 0, [](QDataStream& out) {
            out << quint32(1) << quint8(2) << 0.0 << 0.0 << 1.0 << 1.0 << quint32(1);
        })) << damaged;
        QTest::newRow("unknown item") << Framed(Payload(0, 0, [](QDataStream& out) {
            out << quint32(1) << quint8(7) << 0.0 << 0.0 << 1.0 << 1.0;
        })) << damaged;
        QTest::newRow("not a number") << Framed(Payload(0, 0, [](QDataStream& out) {
            out << quint32(1) << quint8(1) << qQNaN() << 0.0 << 1.0 << 1.0;
        })) << damaged;
        QTest::newRow("huge item count") << Framed(Payload(0, 0, [](QDataStream& out) { out << quint32(0xFFFFFFF0); }))
                                         << damaged;
        QTest::newRow("huge picture count") << Framed(Payload(0xFFFFFFF0, 0, [](QDataStream&) {})) << damaged;
        QTest::newRow("trailing data") << Framed(Payload(0, 0, [](QDataStream& out) { out << quint32(0) << 1.0; }))
                                       << damaged;
    }
    void damagedFilesGiveClearErrors()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, message);
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        TReportDocument document;
        document.Title = QStringLiteral("untouched");
        TReportSnapshot snapshot;
        QVERIFY(!snapshot.Load(buffer, document));
        QVERIFY2(snapshot.errorString().contains(message), qPrintable(snapshot.errorString()));
        QCOMPARE(document.Title, QStringLiteral("untouched"));
    }

    // The checksum covers accidents; a picture whose bytes were replaced on purpose still loads
    // (it is only bytes) and the PDF then fails with a clear error rather than crash.
    void undecodablePictureInAValidSnapshotFailsTheOutput()
    {
        const QByteArray payload = Payload(1, 0, [](QDataStream& out) {
            out << quint32(1) << quint8(2) << 0.5 << 0.1 << 1.5 << 0.6 << quint32(0);
        });
        QByteArray broken = payload;
        const QByteArray jpeg = ReportTestPage::Jpeg(8, 8);
        const qsizetype at = broken.indexOf(jpeg);
        QVERIFY(at > 0);
        broken.replace(at + 2, 40, QByteArray(40, 'z'));
        QByteArray data = Framed(broken);
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        TReportDocument document;
        TReportSnapshot snapshot;
        QVERIFY2(snapshot.Load(buffer, document), qPrintable(snapshot.errorString()));

        QByteArray pdfData;
        QBuffer pdfBuffer(&pdfData);
        pdfBuffer.open(QIODevice::WriteOnly);
        TPdfRenderer pdf;
        QVERIFY(!pdf.Write(document, pdfBuffer));
        QVERIFY2(pdf.errorString().contains(QLatin1String("not a valid JPEG")), qPrintable(pdf.errorString()));
    }

    void missingFile()
    {
        TReportDocument document;
        TReportSnapshot snapshot;
        const QString fileName = m_dir.filePath(QStringLiteral("none.ndr"));
        QVERIFY(!snapshot.LoadFile(fileName, document));
        QVERIFY2(snapshot.errorString().contains(fileName), qPrintable(snapshot.errorString()));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestReportSnapshot)
#include "tst_reportsnapshot.moc"
