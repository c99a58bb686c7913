#pragma once

#include "TReportRenderer.h"

// One well-formed HTML file with the pages one after another, every item absolutely positioned in
// inches as on paper; text runs in reading order, pictures embedded as data URIs.
class THtmlRenderer final : public TReportRenderer {
    Q_DECLARE_TR_FUNCTIONS(THtmlRenderer)

public:
    QString DisplayName() const override;
    QString FileExtension() const override { return QStringLiteral("html"); }

protected:
    bool DoWrite(const TReportDocument& document, QIODevice& device) override;
};
