#pragma once

#include "TReportRenderer.h"

// Plain text in UTF-8: the text of each page in reading order on a grid of 10 characters and
// 6 lines an inch, pages separated by a form feed. Rules and pictures are left out.
class TTextRenderer final : public TReportRenderer {
    Q_DECLARE_TR_FUNCTIONS(TTextRenderer)

public:
    QString DisplayName() const override;
    QString FileExtension() const override { return QStringLiteral("txt"); }

    static constexpr double CharsPerInch = 10.0;
    static constexpr double LinesPerInch = 6.0;

    static QString PageText(const TReportPage& page);

protected:
    bool DoWrite(const TReportDocument& document, QIODevice& device) override;
};
