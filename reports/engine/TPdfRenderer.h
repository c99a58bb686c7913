#pragma once

#include "TReportRenderer.h"

// PDF through QPdfWriter, fonts embedded (subsets), pictures embedded once.
class TPdfRenderer final : public TReportRenderer {
    Q_DECLARE_TR_FUNCTIONS(TPdfRenderer)

public:
    QString DisplayName() const override;
    QString FileExtension() const override { return QStringLiteral("pdf"); }

    // Device resolution of the PDF's drawing space; 1200 keeps positions finer than print needs.
    static constexpr int Resolution = 1200;

protected:
    bool DoWrite(const TReportDocument& document, QIODevice& device) override;
};
