#include "TPdfRenderer.h"

#include "TReportPainter.h"

#include <QPageSize>
#include <QPdfWriter>

QString TPdfRenderer::DisplayName() const
{
    return tr("Adobe Acrobat (PDF)", "stRPTFORMATPDF");
}

bool TPdfRenderer::DoWrite(const TReportDocument& document, QIODevice& device)
{
    const TReportPageSetup& setup = document.PageSetup;
    QPdfWriter pdf(&device);
    pdf.setResolution(Resolution);
    pdf.setCreator(QStringLiteral("Horavant %1").arg(QLatin1String(HORAVANT_VERSION)));
    pdf.setTitle(document.Title);
    pdf.setPageSize(QPageSize(QSizeF(setup.Width, setup.Height), QPageSize::Inch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));

    QPainter painter;
    if (!painter.begin(&pdf))
        return Fail(tr("The PDF file cannot be started.", "stRPTPDFSTART"));
    TReportPainter pages;
    QString pictureError;
    for (int i = 0; i < document.PageCount(); ++i) {
        if (i > 0)
            pdf.newPage();
        if (!pages.DrawPage(painter, document.Pages[size_t(i)], Resolution, Resolution, i + 1) &&
            pictureError.isEmpty()) {
            pictureError = pages.errorString();
        }
    }
    painter.end();
    if (!pictureError.isEmpty())
        return Fail(pictureError);
    return true;
}
