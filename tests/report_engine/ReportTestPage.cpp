#include "ReportTestPage.h"

#include "TReportWriter.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>

namespace ReportTestPage {

QByteArray Jpeg(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(40 + 200 * x / width, 80 + 150 * y / height, 160));
    }
    QPainter painter(&image);
    painter.setPen(QPen(Qt::darkBlue, 3));
    painter.drawRect(image.rect().adjusted(1, 1, -2, -2));
    painter.end();
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return data;
}

TReportDocument Document()
{
    TReportWriter writer;
    writer.SetTitle(QStringLiteral("Employee Time Report"));
    const QString tahoma = QStringLiteral("Tahoma");
    writer.SetFont(tahoma, 18);
    writer.SetBold(true);
    writer.NewLine();
    writer.PrintCenter(QStringLiteral("Employee Time Report"), writer.PageWidth() / 2);
    writer.NewLine();
    writer.SetFont(tahoma, 15);
    writer.PrintCenter(QStringLiteral("Compañía Añil Ltda."), writer.PageWidth() / 2);
    writer.NewLine();
    writer.SetBold(false);
    writer.PrintCenter(QStringLiteral("Calle Mayor 12, Málaga"), writer.PageWidth() / 2);
    writer.NewLine();
    writer.Rectangle(0.3, writer.YPos(), writer.PageWidth() - 0.3, writer.YPos() + 0.005);
    writer.NewLine();
    writer.SetFont(tahoma, 10);
    writer.PrintImageRect(0.5, 0.1, 1.5, 0.6, Jpeg(200, 100), QStringLiteral("JPG"));

    writer.SetBold(true);
    writer.PrintLeft(QStringLiteral("Employee:"), 0.3);
    writer.SetBold(false);
    writer.PrintLeft(QStringLiteral("Núñez, José"), 1.2);
    writer.NewLine();
    writer.SetBold(true);
    writer.PrintLeft(QStringLiteral("Period:"), 0.3);
    writer.SetBold(false);
    writer.PrintLeft(QStringLiteral("01/12/2025 - 07/12/2025"), 1.2);
    writer.NewLine();
    writer.NewLine();

    writer.ClearTabs();
    writer.SetTab(0.3, TTabJustify::Left, 1.4);
    writer.SetTab(1.75, TTabJustify::Left, 1.4);
    writer.SetTab(3.1, TTabJustify::Center, 0.6);
    writer.SetTab(3.65, TTabJustify::Center, 0.6);
    writer.SetTab(5.3, TTabJustify::Left, 3.0);
    writer.SetBold(true);
    writer.SetUnderline(true);
    for (const char* heading : {"Check In", "Check Out", "Normal", "Extra", "Notes"})
        writer.PrintTab(QString::fromLatin1(heading));
    writer.SetBold(false);
    writer.SetUnderline(false);
    const QStringList notes = {QString(), QStringLiteral("¿Llegó tarde? Pingüino & <compañía>"), QString()};
    for (int day = 0; day < 3; ++day) {
        writer.NewLine();
        writer.PrintTab(QStringLiteral("0%1/12/2025 08:0%2").arg(day + 1).arg(day));
        writer.PrintTab(QStringLiteral("0%1/12/2025 17:00").arg(day + 1));
        writer.PrintTab(QStringLiteral("8:0%1").arg(day));
        writer.PrintTab(QStringLiteral("0:30"));
        writer.PrintTab(notes[day]);
    }
    writer.NewLine();
    writer.Rectangle(0.3, writer.YPos(), writer.PageWidth() - 0.3, writer.YPos() + 0.001);

    TReportMemo memo(QStringLiteral("Nota: el empleado trabajó horas extra el sábado por la mañana; "
                                    "la supervisora Begoña aprobó el cambio {sin} cargo \\ adicional.\n"
                                    "Segunda línea del memorando."),
                     0.3, 4.0);
    writer.PrintMemo(memo, writer.MemoLines(memo));

    writer.NewPage();
    writer.NewLine();
    writer.SetBold(true);
    writer.PrintLeft(QStringLiteral("Grand Total:"), 0.3);
    writer.SetBold(false);
    writer.PrintLeft(QStringLiteral("$1,234.50"), 1.5);
    return writer.TakeDocument();
}

TReportDocument NumberedPages(int count)
{
    TReportWriter writer;
    for (int page = 1; page <= count; ++page) {
        if (page > 1)
            writer.NewPage();
        writer.NewLine();
        writer.PrintLeft(QStringLiteral("Página %1").arg(page), 1);
        for (int rule = 0; rule < page; ++rule)
            writer.Rectangle(1, 1 + rule, 7.5, 1.2 + rule);
    }
    return writer.TakeDocument();
}

QStringList Words(const QString& text)
{
    static const QRegularExpression whiteSpace(QStringLiteral("\\s+"));
    return text.split(whiteSpace, Qt::SkipEmptyParts);
}

QStringList ExpectedWords(const TReportDocument& document)
{
    QStringList words;
    for (const TReportPage& page : document.Pages) {
        for (const TReportLine& line : ReadingOrder(page)) {
            for (const TReportText* text : line)
                words += Words(text->Text);
        }
    }
    return words;
}

} // namespace ReportTestPage
