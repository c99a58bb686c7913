#include "TReportRenderer.h"

#include "THtmlRenderer.h"
#include "TPdfRenderer.h"
#include "TRtfRenderer.h"
#include "TTextRenderer.h"

#include <QSaveFile>

QString TReportRenderer::FileFilter() const
{
    return QStringLiteral("%1 (*.%2)").arg(DisplayName(), FileExtension());
}

bool TReportRenderer::Fail(const QString& message)
{
    m_errorString = message;
    return false;
}

bool TReportRenderer::Write(const TReportDocument& document, QIODevice& device)
{
    m_errorString.clear();
    if (!device.isWritable())
        return Fail(tr("The output is not open for writing.", "stRPTNOTWRITABLE"));
    return DoWrite(document, device);
}

bool TReportRenderer::WriteFile(const TReportDocument& document, const QString& fileName)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        return Fail(tr("Cannot write the file %1: %2", "stRPTCANNOTWRITE").arg(fileName, file.errorString()));
    }
    if (!Write(document, file))
        return false; // the unfinished file is discarded with the QSaveFile
    if (!file.commit()) {
        return Fail(tr("Cannot write the file %1: %2", "stRPTCANNOTWRITE").arg(fileName, file.errorString()));
    }
    return true;
}

std::vector<std::unique_ptr<TReportRenderer>> CreateFileRenderers()
{
    std::vector<std::unique_ptr<TReportRenderer>> renderers;
    renderers.push_back(std::make_unique<THtmlRenderer>());
    renderers.push_back(std::make_unique<TRtfRenderer>());
    renderers.push_back(std::make_unique<TPdfRenderer>());
    renderers.push_back(std::make_unique<TTextRenderer>());
    return renderers;
}
