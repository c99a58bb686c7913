#pragma once

#include "TReportRenderer.h"

// Rich Text: one paragraph per line of text with tab stops at the runs' positions and exact line
// spacing to keep the vertical layout; rules and pictures as shapes anchored to the page. Text
// beyond ASCII is written as \uN? so any reader gets the right characters.
class TRtfRenderer final : public TReportRenderer {
    Q_DECLARE_TR_FUNCTIONS(TRtfRenderer)

public:
    QString DisplayName() const override;
    QString FileExtension() const override { return QStringLiteral("rtf"); }

    static QByteArray Escaped(const QString& text);

protected:
    bool DoWrite(const TReportDocument& document, QIODevice& device) override;
};
