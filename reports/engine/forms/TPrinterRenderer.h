#pragma once

#include "TReportDocument.h"

#include <QCoreApplication>
#include <QPrinter>

// Prints recorded pages on a printer (or on QPrinter's PDF output), paper-edge coordinates with
// the printer's own resolution. Copies and collation are the printer's settings.
class TPrinterRenderer final {
    Q_DECLARE_TR_FUNCTIONS(TPrinterRenderer)

public:
    // Pages fromPage to toPage, counted from 1; toPage 0 means the last page.
    bool Print(const TReportDocument& document, QPrinter& printer, int fromPage = 1, int toPage = 0);

    QString errorString() const { return m_errorString; }

private:
    QString m_errorString;
};
