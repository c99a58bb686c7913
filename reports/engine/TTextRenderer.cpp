#include "TTextRenderer.h"

#include <cmath>

QString TTextRenderer::DisplayName() const
{
    return tr("Plain Text (TXT)", "stRPTFORMATTXT");
}

QString TTextRenderer::PageText(const TReportPage& page)
{
    QString result;
    double previousY = 0;
    for (const TReportLine& line : ReadingOrder(page)) {
        // Blank lines stand for the vertical space between lines, so blocks stay apart.
        const double y = line.front()->Y;
        const int blankLines = static_cast<int>(std::lround((y - previousY) * LinesPerInch)) - 1;
        if (!result.isEmpty())
            result += QString(std::max(0, blankLines), u'\n');
        previousY = y;

        QString row;
        for (const TReportText* text : line) {
            const qsizetype column = std::max(0L, std::lround(text->X * CharsPerInch));
            if (row.size() < column)
                row += QString(column - row.size(), u' ');
            else if (!row.isEmpty())
                row += u' '; // runs closer than the grid still read as separate words
            row += text->Text;
        }
        result += row + u'\n';
    }
    return result;
}

bool TTextRenderer::DoWrite(const TReportDocument& document, QIODevice& device)
{
    QString text;
    for (int i = 0; i < document.PageCount(); ++i) {
        if (i > 0)
            text += u'\f';
        text += PageText(document.Pages[size_t(i)]);
    }
    if (device.write(text.toUtf8()) < 0)
        return Fail(tr("Cannot write the text file: %1", "stRPTTEXTWRITE").arg(device.errorString()));
    return true;
}
