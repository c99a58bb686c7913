#include "ReportTestPage.h"
#include "THtmlRenderer.h"
#include "TPdfRenderer.h"
#include "TReportWriter.h"
#include "TRtfRenderer.h"
#include "TTextRenderer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <functional>
#include <memory>

using namespace ReportTestPage;

namespace {

QString Run(const QString& program, const QStringList& arguments)
{
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        return QStringLiteral("<%1 is not installed (scripts/install-deps installs it)>").arg(program);
    QProcess process;
    process.start(path, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>").arg(program, QString::fromUtf8(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString ReadFile(const QString& fileName)
{
    QFile file(fileName);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

QString PdfText(const QString& fileName)
{
    return Run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                             fileName, QStringLiteral("-")});
}

// unrtf's plain-text mode prints "?" for every character given as \uN; a copy of its
// configuration that prints them as &#N; lets the test read them back.
QString UnrtfConfigDir;

void PrepareUnrtf(const QString& folder)
{
    QDir().mkpath(folder);
    for (const QFileInfo& file : QDir(QStringLiteral("/usr/share/unrtf")).entryInfoList(QDir::Files))
        QFile::copy(file.filePath(), folder + u'/' + file.fileName());
    QFile text(folder + QLatin1String("/text.conf"));
    text.open(QIODevice::Append);
    text.write("unisymbol_print\n\t&#%;\n");
    UnrtfConfigDir = folder;
}

// unrtf puts a banner of ### comment lines and a ---- rule before the text.
QString RtfText(const QString& fileName)
{
    QString text = Run(QStringLiteral("unrtf"), {QStringLiteral("-P"), UnrtfConfigDir, QStringLiteral("--text"), fileName});
    const qsizetype rule = text.indexOf(QLatin1String("-----------------\n"));
    if (rule >= 0)
        text = text.mid(rule + 18);
    static const QRegularExpression reference(QStringLiteral("&#(\\d+);"));
    QString decoded;
    qsizetype last = 0;
    for (const QRegularExpressionMatch& match : reference.globalMatch(text)) {
        decoded += text.mid(last, match.capturedStart() - last) + QChar(match.captured(1).toInt());
        last = match.capturedEnd();
    }
    return decoded + text.mid(last);
}

// The text of every span, in document order; fails the parse on any well-formedness error.
QString HtmlText(const QString& fileName)
{
    QFile file(fileName);
    file.open(QIODevice::ReadOnly);
    QXmlStreamReader xml(&file);
    QString text;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("span"))
            text += xml.readElementText() + u'\n';
    }
    if (xml.hasError())
        return QStringLiteral("<not well-formed: %1 at line %2>").arg(xml.errorString()).arg(xml.lineNumber());
    return text;
}

using Extractor = std::function<QString(const QString&)>;

struct Output {
    std::shared_ptr<TReportRenderer> Renderer;
    Extractor Text;
};

TReportDocument LongMemoDocument(int lines)
{
    QStringList text;
    for (int i = 1; i <= lines; ++i)
        text << QStringLiteral("Línea %1 del memorando, año %2").arg(i, 4, 10, QLatin1Char('0')).arg(2000 + i % 30);
    TReportWriter writer;
    TReportMemo memo(text.join(u'\n'), 0.5, 8.0);
    while (!memo.Done()) {
        writer.PrintMemo(memo, writer.LinesLeft());
        if (!memo.Done())
            writer.NewPage();
    }
    return writer.TakeDocument();
}

} // namespace

Q_DECLARE_METATYPE(Output)

class TestReportOutputs : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        PrepareUnrtf(m_dir.filePath(QStringLiteral("unrtf")));
        m_document = Document();
    }

    void outputs_data()
    {
        QTest::addColumn<Output>("output");
        QTest::newRow("pdf") << Output{std::make_shared<TPdfRenderer>(), PdfText};
        QTest::newRow("rtf") << Output{std::make_shared<TRtfRenderer>(), RtfText};
        QTest::newRow("html") << Output{std::make_shared<THtmlRenderer>(), HtmlText};
        QTest::newRow("txt") << Output{std::make_shared<TTextRenderer>(), ReadFile};
    }

    // Every output carries the same words in the same order, accents and signs included.
    void outputs()
    {
        QFETCH(Output, output);
        const std::pair<QString, TReportDocument> documents[] = {{QStringLiteral("page"), m_document},
                                                                 {QStringLiteral("memo"), LongMemoDocument(2000)}};
        for (const auto& [name, document] : documents) {
            const QString fileName = m_dir.filePath(name + u'.' + output.Renderer->FileExtension());
            QVERIFY2(output.Renderer->WriteFile(document, fileName), qPrintable(output.Renderer->errorString()));
            const QStringList words = Words(output.Text(fileName));
            const QStringList expected = ExpectedWords(document);
            for (qsizetype i = 0; i < std::max(words.size(), expected.size()); ++i) {
                QVERIFY2(i < words.size() && i < expected.size() && words[i] == expected[i],
                         qPrintable(QStringLiteral("%1: word %2 is \"%3\", expected \"%4\"")
                                        .arg(name)
                                        .arg(i)
                                        .arg(words.value(i), expected.value(i))));
            }
        }
    }

    void pdfEmbedsFontsOnLetterPages()
    {
        const QString fileName = m_dir.filePath(QStringLiteral("fonts.pdf"));
        TPdfRenderer pdf;
        QVERIFY(pdf.WriteFile(m_document, fileName));
        const QString info = Run(QStringLiteral("pdfinfo"), {fileName});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n"))), qPrintable(info));
        QVERIFY2(info.contains(QLatin1String("612 x 792 pts (letter)")), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Title:\\s+Employee Time Report\\n"))), qPrintable(info));

        const QStringList fonts = Run(QStringLiteral("pdffonts"), {fileName}).split(u'\n', Qt::SkipEmptyParts).mid(2);
        QVERIFY(!fonts.isEmpty());
        for (const QString& font : fonts) {
            const QStringList columns = Words(font);
            QVERIFY2(columns.size() >= 5 && columns[columns.size() - 5] == QLatin1String("yes"), qPrintable(font));
        }
    }

    // The runs keep their places: the text grid and the HTML's inches follow the recorded x.
    void positionsAreKept()
    {
        const QStringList lines = TTextRenderer::PageText(m_document.Pages[0]).split(u'\n');
        const auto period = std::find_if(lines.begin(), lines.end(),
                                           [](const QString& line) { return line.contains(QLatin1String("Period:")); });
        QVERIFY(period != lines.end());
        QCOMPARE(period->indexOf(QLatin1String("Period:")), 3);
        QCOMPARE(period->indexOf(QStringLiteral("01/12/2025")), 12);

        const QString fileName = m_dir.filePath(QStringLiteral("positions.html"));
        THtmlRenderer html;
        QVERIFY(html.WriteFile(m_document, fileName));
        const QString text = ReadFile(fileName);
        QVERIFY(text.contains(QRegularExpression(QStringLiteral("left:1.2000in;top:[0-9.]+in\">Núñez, José<"))));
        QVERIFY(text.contains(QStringLiteral("&lt;compañía&gt;")));
        QCOMPARE(text.count(QLatin1String("<div class=\"page\">")), 2);
        QCOMPARE(text.count(QLatin1String("data:image/jpeg;base64,")), 1);
    }

    void rtfEscaping_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("rtf");
        QTest::newRow("plain") << QStringLiteral("Check In") << QByteArray("Check In");
        QTest::newRow("syntax") << QStringLiteral("{a}\\b") << QByteArray("\\{a\\}\\\\b");
        QTest::newRow("spanish") << QStringLiteral("¿Año?") << QByteArray("\\u191\\'bfA\\u241\\'f1o?");
        QTest::newRow("euro") << QStringLiteral("€") << QByteArray("\\u8364\\'3f");
        QTest::newRow("above 32767") << QString(QChar(0xFF21)) << QByteArray("\\u-223\\'3f");
        QTest::newRow("beyond the BMP") << QString::fromUcs4(U"\U0001F600") << QByteArray("\\u-10179\\'3f\\u-8704\\'3f");
        QTest::newRow("control") << QStringLiteral("a\tb\x01") << QByteArray("ab");
    }
    void rtfEscaping()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, rtf);
        QCOMPARE(TRtfRenderer::Escaped(text), rtf);
    }

    // A picture that does not decode (from a damaged snapshot, say) fails the PDF with a message
    // naming the page, and leaves no half-written file behind.
    void undecodablePictureFailsClearly()
    {
        TReportDocument document;
        document.Pages.resize(2);
        document.Pages[1].Items.emplace_back(TReportImage{1, 1, 2, 2, QByteArray("\xff\xd8 not really a JPEG")});
        const QString fileName = m_dir.filePath(QStringLiteral("broken.pdf"));
        TPdfRenderer pdf;
        QVERIFY(!pdf.WriteFile(document, fileName));
        QVERIFY2(pdf.errorString().contains(QLatin1String("page 2")), qPrintable(pdf.errorString()));
        QVERIFY(!QFile::exists(fileName));
    }

    void unwritableFileFails()
    {
        TTextRenderer text;
        const QString fileName = m_dir.filePath(QStringLiteral("missing/folder/report.txt"));
        QVERIFY(!text.WriteFile(m_document, fileName));
        QVERIFY2(text.errorString().contains(fileName), qPrintable(text.errorString()));
    }

private:
    QTemporaryDir m_dir;
    TReportDocument m_document;
};

QTEST_MAIN(TestReportOutputs)
#include "tst_reportoutputs.moc"
