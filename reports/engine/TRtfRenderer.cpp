#include "TRtfRenderer.h"

#include <QImage>
#include <variant>

namespace {

constexpr int TwipsPerInch = 1440;
constexpr int LineWidthEmu = 9144; // 0.01 inch, the rule's pen on paper

int Twips(double inches)
{
    return qRound(inches * TwipsPerInch);
}

class RtfWriter final {
public:
    explicit RtfWriter(const TReportDocument& document) : m_document(document) {}

    QByteArray Rtf()
    {
        QByteArray body;
        for (size_t i = 0; i < m_document.Pages.size(); ++i)
            body += Page(m_document.Pages[i], i > 0);
        const TReportPageSetup& setup = m_document.PageSetup;
        return "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n" + FontTable() + "{\\info{\\title " +
               TRtfRenderer::Escaped(m_document.Title) + "}}\n" +
               QByteArray("\\paperw%1\\paperh%2\\margl0\\margr0\\margt0\\margb0\n")
                   .replace("%1", QByteArray::number(Twips(setup.Width)))
                   .replace("%2", QByteArray::number(Twips(setup.Height))) +
               body + "}\n";
    }

private:
    QByteArray FontTable() const
    {
        QByteArray table = "{\\fonttbl";
        for (qsizetype i = 0; i < m_families.size(); ++i)
            table += "{\\f" + QByteArray::number(i) + "\\fswiss\\fcharset0 " + TRtfRenderer::Escaped(m_families[i]) + ";}";
        if (m_families.isEmpty())
            table += "{\\f0\\fswiss\\fcharset0 Tahoma;}";
        return table + "}\n";
    }

    qsizetype FamilyIndex(const QString& family)
    {
        const qsizetype index = m_families.indexOf(family);
        if (index >= 0)
            return index;
        m_families.append(family);
        return m_families.size() - 1;
    }

    // The first paragraph of a page carries its page break and anchors its shapes.
    QByteArray Page(const TReportPage& page, bool breakBefore)
    {
        QByteArray shapes;
        for (const TReportItem& item : page.Items) {
            if (const auto* box = std::get_if<TReportRect>(&item))
                shapes += Shape(box->X1, box->Y1, box->X2, box->Y2, RectProperties());
            else if (const auto* picture = std::get_if<TReportImage>(&item))
                shapes += Shape(picture->X1, picture->Y1, picture->X2, picture->Y2, PictureProperties(*picture));
        }
        const std::vector<TReportLine> lines = ReadingOrder(page);
        QByteArray rtf;
        double previousY = 0;
        for (size_t i = 0; i < lines.size(); ++i) {
            rtf += Paragraph(lines[i], lines[i].front()->Y - previousY, i == 0 && breakBefore, i == 0 ? shapes : "");
            previousY = lines[i].front()->Y;
        }
        if (lines.empty())
            rtf += QByteArray("\\pard\\plain") + (breakBefore ? "\\pagebb" : "") + " " + shapes + "\\par\n";
        return rtf;
    }

    QByteArray Paragraph(const TReportLine& line, double height, bool breakBefore, const QByteArray& shapes)
    {
        QByteArray rtf = "\\pard\\plain";
        if (breakBefore)
            rtf += "\\pagebb";
        rtf += "\\sl-" + QByteArray::number(std::max(1, Twips(height))) + "\\slmult0";
        for (const TReportText* text : line) {
            if (text->X > 0)
                rtf += "\\tx" + QByteArray::number(Twips(text->X));
        }
        rtf += ' ' + shapes;
        for (const TReportText* text : line) {
            if (text->X > 0)
                rtf += "\\tab";
            rtf += "{\\f" + QByteArray::number(FamilyIndex(text->Font.Family)) + "\\fs" +
                   QByteArray::number(qRound(text->Font.Size * 2)) + (text->Font.Bold ? "\\b" : "") +
                   (text->Font.Underline ? "\\ul" : "") + ' ' + TRtfRenderer::Escaped(text->Text) + '}';
        }
        return rtf + "\\par\n";
    }

    // Shapes lie in front of the text without pushing it aside, positioned on the page.
    static QByteArray Shape(double x1, double y1, double x2, double y2, const QByteArray& properties)
    {
        return "{\\shp{\\*\\shpinst\\shpleft" + QByteArray::number(Twips(x1)) + "\\shptop" +
               QByteArray::number(Twips(y1)) + "\\shpright" + QByteArray::number(Twips(x2)) + "\\shpbottom" +
               QByteArray::number(Twips(y2)) + "\\shpbxpage\\shpbypage\\shpwr3\\shpfblwtxt0" + properties +
               "}}";
    }

    static QByteArray Property(const char* name, const QByteArray& value)
    {
        return QByteArray("{\\sp{\\sn ") + name + "}{\\sv " + value + "}}";
    }

    static QByteArray RectProperties()
    {
        return Property("shapeType", "1") + Property("fFilled", "0") +
               Property("lineWidth", QByteArray::number(LineWidthEmu));
    }

    static QByteArray PictureProperties(const TReportImage& picture)
    {
        const QSize pixels = QImage::fromData(picture.Jpeg, "JPG").size();
        const QByteArray pict = "{\\pict\\jpegblip\\picw" + QByteArray::number(pixels.width()) + "\\pich" +
                                QByteArray::number(pixels.height()) + "\\picwgoal" +
                                QByteArray::number(Twips(picture.X2 - picture.X1)) + "\\pichgoal" +
                                QByteArray::number(Twips(picture.Y2 - picture.Y1)) + "\n" +
                                picture.Jpeg.toHex() + "}";
        return Property("shapeType", "75") + Property("pib", pict);
    }

    const TReportDocument& m_document;
    QStringList m_families;
};

} // namespace

QString TRtfRenderer::DisplayName() const
{
    return tr("Rich Text Format (RTF)", "stRPTFORMATRTF");
}

QByteArray TRtfRenderer::Escaped(const QString& text)
{
    QByteArray result;
    result.reserve(text.size());
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit == u'\\' || unit == u'{' || unit == u'}') {
            result += '\\';
            result += char(unit);
        } else if (unit >= 0x20 && unit < 0x80) {
            result += char(unit);
        } else if (unit >= 0x80) {
            // Signed 16-bit as the format wants; a character beyond the BMP goes as its two halves.
            // The fallback for readers without Unicode is the Windows-1252 byte where Latin-1
            // has the same character, else "?", written as a hex escape: some readers skip one
            // character too many after a literal one.
            const int fallback = unit >= 0xA0 && unit <= 0xFF ? unit : '?';
            result += "\\u" + QByteArray::number(static_cast<qint16>(unit)) + "\\'" +
                      QByteArray::number(fallback, 16).rightJustified(2, '0');
        }
        // Control characters have no place in a line of text.
    }
    return result;
}

bool TRtfRenderer::DoWrite(const TReportDocument& document, QIODevice& device)
{
    if (device.write(RtfWriter(document).Rtf()) < 0)
        return Fail(tr("Cannot write the RTF file: %1", "stRPTRTFWRITE").arg(device.errorString()));
    return true;
}
