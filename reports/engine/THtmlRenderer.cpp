#include "THtmlRenderer.h"

#include "TReportMetrics.h"

#include <variant>

namespace {

constexpr double PenWidth = 0.01; // inches, centred on the outline as on paper

QString Inches(double value)
{
    return QString::number(value, 'f', 4) + QLatin1String("in");
}

// A family name as a quoted CSS string: only characters that cannot end the string or the rule.
QString CssName(const QString& family)
{
    QString name;
    for (const QChar c : family) {
        if (c.isLetterOrNumber() || c == u' ' || c == u'-' || c == u'_')
            name += c;
    }
    return name;
}

class HtmlWriter final {
public:
    explicit HtmlWriter(const TReportDocument& document) : m_document(document) {}

    QString Html()
    {
        QString body;
        for (const TReportPage& page : m_document.Pages)
            body += Page(page);
        return QLatin1String("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\"/>\n<title>") +
               m_document.Title.toHtmlEscaped() + QLatin1String("</title>\n<style>\n") + Style() +
               QLatin1String("</style>\n</head>\n<body>\n") + body + QLatin1String("</body>\n</html>\n");
    }

private:
    QString Style()
    {
        const TReportPageSetup& setup = m_document.PageSetup;
        QString css = QStringLiteral(
                          "body{background:#808080;margin:0;padding:0.2in 0}\n"
                          ".page{position:relative;overflow:hidden;background:#fff;margin:0 auto 0.2in auto;"
                          "width:%1;height:%2}\n"
                          ".page span{position:absolute;white-space:pre}\n"
                          ".page img,.page div{position:absolute;box-sizing:border-box}\n"
                          ".page div{border:%3 solid #000}\n"
                          "@media print{body{background:none;padding:0}.page{margin:0;page-break-after:always}}\n")
                          .arg(Inches(setup.Width), Inches(setup.Height), Inches(PenWidth));
        for (size_t i = 0; i < m_fonts.size(); ++i)
            css += FontClass(i);
        return css;
    }

    // Fonts become classes; the line box is exactly ascent + descent, so a span's top edge is
    // one ascent above the baseline it was recorded on.
    QString FontClass(size_t index)
    {
        const TReportFont& font = m_fonts[index];
        return QStringLiteral(".f%1{font-family:'%2',sans-serif;font-size:%3pt;line-height:%4;font-weight:%5;"
                              "text-decoration:%6}\n")
            .arg(index)
            .arg(CssName(font.Family))
            .arg(font.Size)
            .arg(Inches(m_metrics.Ascent(font) + m_metrics.Descent(font)),
                 font.Bold ? QLatin1String("bold") : QLatin1String("normal"),
                 font.Underline ? QLatin1String("underline") : QLatin1String("none"));
    }

    size_t FontIndex(const TReportFont& font)
    {
        for (size_t i = 0; i < m_fonts.size(); ++i) {
            if (m_fonts[i] == font)
                return i;
        }
        m_fonts.push_back(font);
        return m_fonts.size() - 1;
    }

    QString Page(const TReportPage& page)
    {
        QString html = QStringLiteral("<div class=\"page\">\n");
        for (const TReportItem& item : page.Items) {
            if (const auto* box = std::get_if<TReportRect>(&item)) {
                html += QStringLiteral("<div style=\"%1\"></div>\n")
                            .arg(Box(box->X1, box->Y1, box->X2, box->Y2, PenWidth / 2));
            } else if (const auto* picture = std::get_if<TReportImage>(&item)) {
                html += QStringLiteral("<img alt=\"\" style=\"%1\" src=\"data:image/jpeg;base64,%2\"/>\n")
                            .arg(Box(picture->X1, picture->Y1, picture->X2, picture->Y2, 0),
                                 QString::fromLatin1(picture->Jpeg.toBase64()));
            }
        }
        for (const TReportLine& line : ReadingOrder(page)) {
            for (const TReportText* text : line) {
                html += QStringLiteral("<span class=\"f%1\" style=\"left:%2;top:%3\">%4</span>\n")
                            .arg(FontIndex(text->Font))
                            .arg(Inches(text->X), Inches(text->Y - m_metrics.Ascent(text->Font)),
                                 text->Text.toHtmlEscaped());
            }
        }
        return html + QLatin1String("</div>\n");
    }

    static QString Box(double x1, double y1, double x2, double y2, double grow)
    {
        return QStringLiteral("left:%1;top:%2;width:%3;height:%4")
            .arg(Inches(x1 - grow), Inches(y1 - grow), Inches(x2 - x1 + 2 * grow), Inches(y2 - y1 + 2 * grow));
    }

    const TReportDocument& m_document;
    TReportMetrics m_metrics;
    std::vector<TReportFont> m_fonts;
};

} // namespace

QString THtmlRenderer::DisplayName() const
{
    return tr("Web Page (HTML)", "stRPTFORMATHTML");
}

bool THtmlRenderer::DoWrite(const TReportDocument& document, QIODevice& device)
{
    if (device.write(HtmlWriter(document).Html().toUtf8()) < 0)
        return Fail(tr("Cannot write the HTML file: %1", "stRPTHTMLWRITE").arg(device.errorString()));
    return true;
}
