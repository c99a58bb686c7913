#include "TPrinterRenderer.h"

#include "TReportPainter.h"

#include <QPageSize>
#include <QPainter>
#include <algorithm>

bool TPrinterRenderer::Print(const TReportDocument& document, QPrinter& printer, int fromPage, int toPage)
{
    m_errorString.clear();
    const int first = std::max(1, fromPage);
    const int last = toPage <= 0 ? document.PageCount() : std::min(toPage, document.PageCount());
    if (first > last) {
        m_errorString = tr("There are no pages to print.", "stRPTNOPAGES");
        return false;
    }
    const TReportPageSetup& setup = document.PageSetup;
    printer.setFullPage(true);
    printer.setPageSize(QPageSize(QSizeF(setup.Width, setup.Height), QPageSize::Inch));
    if (printer.docName().isEmpty())
        printer.setDocName(document.Title);

    QPainter painter;
    if (!painter.begin(&printer)) {
        m_errorString = tr("The printer %1 cannot be started.", "stRPTPRINTERSTART").arg(printer.printerName());
        return false;
    }
    TReportPainter pages;
    const double dpi = printer.resolution();
    for (int number = first; number <= last; ++number) {
        if (number > first)
            printer.newPage();
        if (!pages.DrawPage(painter, document.Pages[size_t(number - 1)], dpi, dpi, number) && m_errorString.isEmpty())
            m_errorString = pages.errorString();
    }
    painter.end();
    return m_errorString.isEmpty();
}
