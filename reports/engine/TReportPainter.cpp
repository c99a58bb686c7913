#include "TReportPainter.h"

#include "TReportMetrics.h"

#include <variant>

namespace {

constexpr double PenWidth = 0.01; // inches: a rule reads as a thin line at any resolution

} // namespace

const QImage& TReportPainter::Decoded(const QByteArray& jpeg)
{
    auto found = m_images.constFind(jpeg);
    if (found == m_images.constEnd())
        found = m_images.insert(jpeg, QImage::fromData(jpeg, "JPG"));
    return *found;
}

bool TReportPainter::DrawPage(QPainter& painter, const TReportPage& page, double dpiX, double dpiY,
                              int pageNumber)
{
    EnsureReportFonts();
    m_errorString.clear();
    const auto rect = [&](double x1, double y1, double x2, double y2) {
        return QRectF(QPointF(x1 * dpiX, y1 * dpiY), QPointF(x2 * dpiX, y2 * dpiY));
    };
    painter.save();
    painter.setPen(QPen(Qt::black, PenWidth * dpiX));
    painter.setBrush(Qt::NoBrush);
    const TReportFont* font = nullptr;
    for (const TReportItem& item : page.Items) {
        if (const auto* text = std::get_if<TReportText>(&item)) {
            if (!font || !(*font == text->Font)) { // setting a font is costly; runs share a few
                font = &text->Font;
                painter.setFont(TReportMetrics::DeviceFont(*font));
            }
            painter.drawText(QPointF(text->X * dpiX, text->Y * dpiY), text->Text);
        } else if (const auto* box = std::get_if<TReportRect>(&item)) {
            painter.drawRect(rect(box->X1, box->Y1, box->X2, box->Y2));
        } else if (const auto* picture = std::get_if<TReportImage>(&item)) {
            const QRectF target = rect(picture->X1, picture->Y1, picture->X2, picture->Y2);
            const QImage& image = Decoded(picture->Jpeg);
            if (!image.isNull()) {
                painter.drawImage(target, image);
                continue;
            }
            painter.drawRect(target);
            painter.drawLine(target.topLeft(), target.bottomRight());
            painter.drawLine(target.topRight(), target.bottomLeft());
            m_errorString = tr("A picture on page %1 is not a valid JPEG image.", "stRPTBADPAGEJPEG").arg(pageNumber);
        }
    }
    painter.restore();
    return m_errorString.isEmpty();
}

QImage TReportPainter::PageImage(const TReportDocument& document, int pageIndex, double dpi)
{
    const TReportPageSetup& setup = document.PageSetup;
    QImage image(qRound(setup.Width * dpi), qRound(setup.Height * dpi), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    if (pageIndex < 0 || pageIndex >= document.PageCount())
        return image;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    DrawPage(painter, document.Pages[size_t(pageIndex)], dpi, dpi, pageIndex + 1);
    return image;
}
