#pragma once

#include "TReportDocument.h"

#include <QCoreApplication>
#include <QHash>
#include <QImage>
#include <QPainter>

// Draws recorded pages on any QPainter: PDF, printer and screen share it. Pictures are decoded
// once per painter and reused on every page (and a PDF then embeds them once).
class TReportPainter final {
    Q_DECLARE_TR_FUNCTIONS(TReportPainter)

public:
    // Draws a page with the paper's top-left corner at the painter's origin; dpiX and dpiY are
    // device pixels per inch. A picture that cannot be decoded is drawn as a crossed box and makes
    // the result false (errorString() names the page).
    bool DrawPage(QPainter& painter, const TReportPage& page, double dpiX, double dpiY, int pageNumber = 1);

    // The page as an image for the screen: white paper at the given resolution.
    QImage PageImage(const TReportDocument& document, int pageIndex, double dpi);

    QString errorString() const { return m_errorString; }

private:
    const QImage& Decoded(const QByteArray& jpeg);

    QHash<QByteArray, QImage> m_images;
    QString m_errorString;
};
