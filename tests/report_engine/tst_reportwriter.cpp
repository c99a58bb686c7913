#include "ReportTestPage.h"
#include "TReportWriter.h"
#include "uExceptions.h"

#include <QTest>

namespace {

std::vector<TReportText> Texts(const TReportPage& page)
{
    std::vector<TReportText> texts;
    for (const TReportItem& item : page.Items) {
        if (const auto* text = std::get_if<TReportText>(&item))
            texts.push_back(*text);
    }
    return texts;
}

const TReportText& LastText(const TReportWriter& writer)
{
    return std::get<TReportText>(writer.Document().Pages.back().Items.back());
}

} // namespace

class TestReportWriter : public QObject {
    Q_OBJECT

private slots:
    void linesFollowTheFont()
    {
        TReportWriter writer;
        const TReportPageSetup setup;
        QCOMPARE(writer.PageWidth(), 8.5);
        QCOMPARE(writer.YPos(), setup.TopMargin);
        writer.SetFont(QStringLiteral("Tahoma"), 10);
        const double small = writer.LineHeight();
        QVERIFY2(small >= 1.2 * 10 / 72.0 && small < 1.5 * 10 / 72.0, qPrintable(QString::number(small)));
        const int lines = writer.LinesLeft();
        QCOMPARE(lines, int((setup.Height - setup.BottomMargin - setup.TopMargin) / small));

        writer.NewLine();
        QCOMPARE(writer.YPos(), setup.TopMargin + small);
        QCOMPARE(writer.LinesLeft(), lines - 1);

        writer.SetFont(QStringLiteral("Tahoma"), 20);
        QVERIFY(qAbs(writer.LineHeight() - 2 * small) < 0.01);
        QVERIFY(writer.LinesLeft() <= lines / 2);
    }

    // LinesLeft counts exactly the lines that still fit; one more starts the next page by itself
    // instead of printing below the bottom margin.
    void newLinePastTheBottomStartsAPage()
    {
        TReportWriter writer;
        const int lines = writer.LinesLeft();
        for (int i = 0; i < lines; ++i)
            writer.NewLine();
        QCOMPARE(writer.CurrentPage(), 1);
        QCOMPARE(writer.LinesLeft(), 0);
        QVERIFY(writer.YPos() <= writer.PageHeight() - TReportPageSetup().BottomMargin);
        writer.NewLine();
        QCOMPARE(writer.CurrentPage(), 2);
        QCOMPARE(writer.YPos(), TReportPageSetup().TopMargin + writer.LineHeight());
        writer.NewPage();
        QCOMPARE(writer.CurrentPage(), 3);
        QCOMPARE(writer.LinesLeft(), lines);
    }

    void textIsPlacedAndStyled()
    {
        TReportWriter writer;
        writer.NewLine();
        writer.SetFont(QStringLiteral("Tahoma"), 15);
        writer.SetBold(true);
        writer.PrintCenter(QStringLiteral("Compañía"), 4.25);
        const TReportText centred = LastText(writer);
        QVERIFY(qAbs(centred.X + centred.Width / 2 - 4.25) < 1e-9);
        QVERIFY(centred.Width > 0.5 && centred.Width < 1.5);
        QCOMPARE(centred.Y, writer.YPos());
        QCOMPARE(centred.Font, (TReportFont{QStringLiteral("Tahoma"), 15, true, false}));

        writer.SetBold(false);
        writer.SetUnderline(true);
        writer.PrintLeft(QStringLiteral("Notes"), 0.3);
        QCOMPARE(LastText(writer).X, 0.3);
        QCOMPARE(LastText(writer).Font, (TReportFont{QStringLiteral("Tahoma"), 15, false, true}));

        const qsizetype items = writer.Document().Pages[0].Items.size();
        writer.PrintLeft(QString(), 1.0);
        QCOMPARE(writer.Document().Pages[0].Items.size(), size_t(items)); // nothing to draw
    }

    void tabStops()
    {
        TReportWriter writer;
        writer.SetTab(0.3, TTabJustify::Left, 1.4);
        writer.SetTab(3.1, TTabJustify::Center, 0.6);
        writer.SetTab(5.3, TTabJustify::Left, 3.4);
        writer.NewLine();
        writer.PrintTab(QStringLiteral("01/12/2025 08:00"));
        QCOMPARE(LastText(writer).X, 0.3);
        writer.PrintTab(QStringLiteral("8:00"));
        const TReportText centred = LastText(writer);
        QVERIFY(qAbs(centred.X + centred.Width / 2 - 3.4) < 1e-9);
        writer.PrintTab(QString()); // an empty text still uses up its stop
        QVERIFY_THROWS_EXCEPTION(Exception, writer.PrintTab(QStringLiteral("one too many")));

        writer.NewLine(); // back to the first stop
        writer.PrintTab(QStringLiteral("again"));
        QCOMPARE(LastText(writer).X, 0.3);
        writer.ClearTabs();
        QVERIFY_THROWS_EXCEPTION(Exception, writer.PrintTab(QStringLiteral("no stops")));
    }

    void shapesAreNormalised()
    {
        TReportWriter writer;
        writer.Rectangle(8.2, 1.005, 0.3, 1.0);
        QCOMPARE(std::get<TReportRect>(writer.Document().Pages[0].Items.back()), (TReportRect{0.3, 1.0, 8.2, 1.005}));
        const QByteArray jpeg = ReportTestPage::Jpeg(40, 20);
        writer.PrintImageRect(2.5, 1.1, 0.5, 0.1, jpeg, QStringLiteral("jpg"));
        QCOMPARE(std::get<TReportImage>(writer.Document().Pages[0].Items.back()),
                 (TReportImage{0.5, 0.1, 2.5, 1.1, jpeg}));
    }

    void badPicturesRaise_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("message");
        const QByteArray jpeg = ReportTestPage::Jpeg(40, 20);
        QTest::newRow("other type") << jpeg << QStringLiteral("BMP") << QStringLiteral("\"BMP\"");
        QTest::newRow("empty") << QByteArray() << QStringLiteral("JPG") << QStringLiteral("not a valid JPEG");
        QTest::newRow("garbage") << QByteArray("GIF89a not a jpeg at all") << QStringLiteral("JPG")
                                 << QStringLiteral("not a valid JPEG");
        QTest::newRow("header only") << jpeg.left(20) << QStringLiteral("JPG") << QStringLiteral("not a valid JPEG");
    }
    void badPicturesRaise()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, type);
        QFETCH(QString, message);
        TReportWriter writer;
        try {
            writer.PrintImageRect(0, 0, 1, 1, data, type);
            QFAIL("no exception");
        } catch (const Exception& e) {
            QVERIFY2(e.Message().contains(message), qPrintable(e.Message()));
        }
        QVERIFY(writer.Document().Pages[0].Items.empty());
    }

    // The memo's width is that of the text that must just fit, so the cases hold for any font.
    void memoWrapping_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fitting");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << QString() << QStringLiteral("x") << QStringList();
        QTest::newRow("one line") << QStringLiteral("Sick day") << QStringLiteral("Sick day")
                                  << QStringList{QStringLiteral("Sick day")};
        QTest::newRow("line breaks") << QStringLiteral("a\r\nb\n\nc\n") << QStringLiteral("b")
                                     << QStringList{QStringLiteral("a"), QStringLiteral("b"), QString(), QStringLiteral("c")};
        QTest::newRow("words wrap") << QStringLiteral("uno dos  tres cuatro") << QStringLiteral("uno dos")
                                    << QStringList{QStringLiteral("uno dos"), QStringLiteral("tres"), QStringLiteral("cuatro")};
        QTest::newRow("word wider than the memo") << QStringLiteral("aaaaaaaaaa") << QStringLiteral("aaa")
                                                  << QStringList{QStringLiteral("aaa"), QStringLiteral("aaa"),
                                                                 QStringLiteral("aaa"), QStringLiteral("a")};
    }
    void memoWrapping()
    {
        QFETCH(QString, text);
        QFETCH(QString, fitting);
        QFETCH(QStringList, lines);
        TReportWriter writer;
        writer.SetFont(QStringLiteral("Tahoma"), 10);
        writer.PrintLeft(fitting, 0);
        const double width = LastText(writer).Width + 0.001;
        writer.NewPage();

        TReportMemo memo(text, 1.0 + width, 1.0);
        QCOMPARE(writer.MemoLines(memo), lines.size());
        const double startY = writer.YPos();
        QCOMPARE(writer.PrintMemo(memo, 100), lines.size());
        QVERIFY(memo.Done());
        QCOMPARE(writer.YPos(), startY + lines.size() * writer.LineHeight());
        QStringList printed;
        for (const TReportText& line : Texts(writer.Document().Pages[1])) {
            QVERIFY2(line.Width <= width, qPrintable(line.Text));
            QCOMPARE(line.X, 1.0);
            printed << line.Text;
        }
        lines.removeAll(QString()); // blank lines take a line but draw nothing
        QCOMPARE(printed, lines);
    }

    // A 2000-line memo printed page by page: each page takes exactly the lines the writer says
    // are left, and every line arrives once, in order.
    void longMemoBreaksPagesAsTheWriterSays()
    {
        QStringList lines;
        for (int i = 1; i <= 2000; ++i)
            lines << QStringLiteral("Registro %1: ¿entrada según el horario?").arg(i);
        TReportWriter writer;
        TReportMemo memo(lines.join(u'\n'), 0.3, 8.2);
        QCOMPARE(writer.MemoLines(memo), 2000);

        int remaining = 2000;
        while (!memo.Done()) {
            const int left = writer.LinesLeft();
            const int printed = writer.PrintMemo(memo, left);
            QCOMPARE(printed, std::min(left, remaining));
            remaining -= printed;
            QCOMPARE(writer.MemoLines(memo), remaining);
            QCOMPARE(writer.LinesLeft(), left - printed);
            if (!memo.Done())
                writer.NewPage();
        }
        const TReportDocument document = writer.TakeDocument();
        const int perPage = TReportWriter().LinesLeft();
        QCOMPARE(document.PageCount(), (2000 + perPage - 1) / perPage);
        QStringList printed;
        for (const TReportPage& page : document.Pages) {
            for (const TReportText& text : Texts(page))
                printed << text.Text;
        }
        QCOMPARE(printed, lines);
    }

    void takeDocumentLeavesAFreshWriter()
    {
        TReportWriter writer;
        writer.SetTitle(QStringLiteral("Punctuality Report"));
        writer.NewLine();
        writer.PrintLeft(QStringLiteral("x"), 1);
        writer.NewPage();
        const TReportDocument document = writer.TakeDocument();
        QCOMPARE(document.PageCount(), 2);
        QCOMPARE(document.Title, QStringLiteral("Punctuality Report"));
        QCOMPARE(writer.CurrentPage(), 1);
        QVERIFY(writer.Document().Pages[0].Items.empty());
    }
};

QTEST_MAIN(TestReportWriter)
#include "tst_reportwriter.moc"
