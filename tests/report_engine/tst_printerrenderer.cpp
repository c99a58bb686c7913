#include "ReportTestPage.h"
#include "TPrinterRenderer.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The text of each page, pages joined by "|".
QString PdfPages(const QString& fileName)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), fileName, QStringLiteral("-")});
    process.waitForFinished();
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(u'\f');
    for (QString& page : pages)
        page = page.simplified();
    pages.removeAll(QString());
    return pages.join(u'|');
}

} // namespace

// The printer path, through QPrinter's own PDF output so no printer is needed.
class TestPrinterRenderer : public QObject {
    Q_OBJECT

private slots:
    void pageRange_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("text");
        QTest::newRow("all") << 1 << 0 << QStringLiteral("Página 1|Página 2|Página 3");
        QTest::newRow("middle") << 2 << 2 << QStringLiteral("Página 2");
        QTest::newRow("to beyond the last") << 2 << 9 << QStringLiteral("Página 2|Página 3");
    }
    void pageRange()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, text);
        QTemporaryDir dir;
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("printed.pdf")));
        TPrinterRenderer renderer;
        QVERIFY2(renderer.Print(ReportTestPage::NumberedPages(3), printer, from, to), qPrintable(renderer.errorString()));
        QCOMPARE(PdfPages(printer.outputFileName()), text);
    }

    void emptyRangeFails()
    {
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        TPrinterRenderer renderer;
        QVERIFY(!renderer.Print(ReportTestPage::NumberedPages(2), printer, 3, 0));
        QVERIFY(!renderer.errorString().isEmpty());
    }
};

QTEST_MAIN(TestPrinterRenderer)
#include "tst_printerrenderer.moc"
