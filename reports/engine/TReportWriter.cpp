#include "TReportWriter.h"

#include "uExceptions.h"

#include <QImage>
#include <algorithm>
#include <cmath>

namespace {

// Absorbs floating-point drift when lines are added up to the bottom margin.
constexpr double Epsilon = 1e-9;
// Longer paragraphs are not measured whole, which would make wrapping them quadratic.
constexpr qsizetype ShortParagraph = 256;

TReportRect Normalised(double x1, double y1, double x2, double y2)
{
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

} // namespace

TReportMemo::TReportMemo(QString text, double left, double right)
    : m_text(std::move(text)), m_left(std::min(left, right)), m_right(std::max(left, right))
{
    m_text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_text.replace(u'\r', u'\n');
    m_text.replace(u'\t', u' ');
}

TReportWriter::TReportWriter(const TReportPageSetup& setup)
{
    m_document.PageSetup = setup;
    NewPage();
}

void TReportWriter::NewPage()
{
    m_document.Pages.emplace_back();
    m_y = m_document.PageSetup.TopMargin;
    m_nextTab = 0;
}

double TReportWriter::LineHeight() const
{
    return m_metrics.LineHeight(m_font);
}

void TReportWriter::NewLine()
{
    if (LinesLeft() == 0)
        NewPage();
    m_y += LineHeight();
    m_nextTab = 0;
}

int TReportWriter::LinesLeft() const
{
    const double bottom = PageHeight() - m_document.PageSetup.BottomMargin;
    return std::max(0, static_cast<int>(std::floor((bottom - m_y) / LineHeight() + Epsilon)));
}

void TReportWriter::SetFont(const QString& name, double size)
{
    m_font.Family = name;
    m_font.Size = size;
}

void TReportWriter::SetBold(bool bold)
{
    m_font.Bold = bold;
}

void TReportWriter::SetUnderline(bool underline)
{
    m_font.Underline = underline;
}

void TReportWriter::ClearTabs()
{
    m_tabs.clear();
    m_nextTab = 0;
}

void TReportWriter::SetTab(double position, TTabJustify justify, double width)
{
    m_tabs.push_back({position, justify, width});
}

void TReportWriter::PrintTab(const QString& text)
{
    if (m_nextTab >= m_tabs.size())
        throw Exception(tr("There is no tab stop left on the line.", "stRPTNOTABLEFT"));
    const Tab& tab = m_tabs[m_nextTab++];
    const double width = m_metrics.TextWidth(text, m_font);
    const double x = tab.Justify == TTabJustify::Center ? tab.Position + (tab.Width - width) / 2 : tab.Position;
    AddText(text, x, width);
}

void TReportWriter::PrintLeft(const QString& text, double x)
{
    AddText(text, x, m_metrics.TextWidth(text, m_font));
}

void TReportWriter::PrintCenter(const QString& text, double x)
{
    const double width = m_metrics.TextWidth(text, m_font);
    AddText(text, x - width / 2, width);
}

void TReportWriter::AddText(const QString& text, double x, double width)
{
    if (text.isEmpty())
        return;
    Page().Items.emplace_back(TReportText{x, m_y, width, text, m_font});
}

void TReportWriter::Rectangle(double x1, double y1, double x2, double y2)
{
    Page().Items.emplace_back(Normalised(x1, y1, x2, y2));
}

void TReportWriter::PrintImageRect(double x1, double y1, double x2, double y2, const QByteArray& data,
                                   const QString& type)
{
    CheckJpeg(data, type);
    const TReportRect area = Normalised(x1, y1, x2, y2);
    Page().Items.emplace_back(TReportImage{area.X1, area.Y1, area.X2, area.Y2, data});
}

void TReportWriter::CheckJpeg(const QByteArray& data, const QString& type)
{
    if (type.compare(QLatin1String("JPG"), Qt::CaseInsensitive) != 0) {
        throw Exception(tr("Pictures of type \"%1\" cannot be printed; only JPG pictures can.", "stRPTIMAGETYPE")
                            .arg(type));
    }
    if (!data.isEmpty() && data == m_lastCheckedJpeg)
        return;
    QImage image;
    if (data.isEmpty() || !image.loadFromData(data, "JPG"))
        throw Exception(tr("The picture is not a valid JPEG image.", "stRPTBADJPEG"));
    m_lastCheckedJpeg = data;
}

std::vector<TReportWriter::WrappedLine> TReportWriter::Wrap(const TReportMemo& memo, int maxLines) const
{
    const QString& text = memo.m_text;
    const double available = memo.m_right - memo.m_left;
    const auto fits = [&](qsizetype start, qsizetype end) {
        return m_metrics.TextWidth(text.mid(start, end - start), m_font) <= available + Epsilon;
    };

    std::vector<WrappedLine> lines;
    qsizetype start = memo.m_position;
    while (start < text.size() && (maxLines < 0 || static_cast<int>(lines.size()) < maxLines)) {
        qsizetype paragraphEnd = text.indexOf(u'\n', start);
        if (paragraphEnd < 0)
            paragraphEnd = text.size();

        // A short paragraph is tried whole first, as most fit at once; otherwise whole words while
        // they fit, and a word wider than the memo is broken between characters.
        qsizetype end = paragraphEnd - start <= ShortParagraph && fits(start, paragraphEnd) ? paragraphEnd : start;
        qsizetype wordEnd = end;
        while (wordEnd < paragraphEnd) {
            while (wordEnd < paragraphEnd && text[wordEnd] == u' ')
                ++wordEnd;
            while (wordEnd < paragraphEnd && text[wordEnd] != u' ')
                ++wordEnd;
            if (!fits(start, wordEnd))
                break;
            end = wordEnd;
        }
        if (end == start && start < paragraphEnd) {
            end = start + 1;
            while (end < paragraphEnd && fits(start, end + 1))
                ++end;
        }

        qsizetype next = end;
        while (next < paragraphEnd && text[next] == u' ')
            ++next;
        if (next == paragraphEnd && paragraphEnd < text.size())
            ++next; // the line break itself
        lines.push_back({start, end - start, next});
        start = next;
    }
    return lines;
}

int TReportWriter::MemoLines(const TReportMemo& memo) const
{
    return static_cast<int>(Wrap(memo, -1).size());
}

int TReportWriter::PrintMemo(TReportMemo& memo, int maxLines)
{
    if (maxLines <= 0)
        return 0;
    const std::vector<WrappedLine> lines = Wrap(memo, maxLines);
    for (const WrappedLine& line : lines) {
        NewLine();
        PrintLeft(memo.m_text.mid(line.Start, line.Length), memo.m_left);
        memo.m_position = line.Next;
    }
    return static_cast<int>(lines.size());
}

TReportDocument TReportWriter::TakeDocument()
{
    TReportDocument result = std::move(m_document);
    m_document = TReportDocument{};
    m_document.PageSetup = result.PageSetup;
    NewPage();
    return result;
}
