#pragma once

#include "TReportDocument.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QString>
#include <memory>
#include <vector>

// An output that writes the recorded pages of a report to a file or device. Failures are returned
// as false with errorString(), so the caller decides what the user sees.
class TReportRenderer {
    Q_DECLARE_TR_FUNCTIONS(TReportRenderer)

public:
    virtual ~TReportRenderer() = default;

    virtual QString DisplayName() const = 0;  // as listed for the user: "Adobe Acrobat (PDF)"
    virtual QString FileExtension() const = 0; // without the dot: "pdf"
    QString FileFilter() const;               // "Adobe Acrobat (PDF) (*.pdf)"

    // Writes the whole document to an open device.
    bool Write(const TReportDocument& document, QIODevice& device);
    // Writes to a file; the file appears only once it is complete.
    bool WriteFile(const TReportDocument& document, const QString& fileName);

    QString errorString() const { return m_errorString; }

protected:
    virtual bool DoWrite(const TReportDocument& document, QIODevice& device) = 0;
    bool Fail(const QString& message);

private:
    QString m_errorString;
};

// The file outputs a user can choose from, in the order they are offered.
std::vector<std::unique_ptr<TReportRenderer>> CreateFileRenderers();
