#include "SimReader.h"

#include <QProcess>
#include <QRegularExpression>

namespace {

const char* const kSpoolVariable = "HORAVANT_SIM_SPOOL";
const char* const kDevicesVariable = "HORAVANT_SIM_DEVICES";
const char* const kTimeoutVariable = "HORAVANT_SIM_CAPTURE_TIMEOUT";

} // namespace

SimReader::SimReader(const QString& devices, int captureTimeoutMs)
{
    qputenv(kSpoolVariable, m_dir.path().toLocal8Bit());
    qputenv(kDevicesVariable, devices.toLocal8Bit());
    qputenv(kTimeoutVariable, QByteArray::number(captureTimeoutMs));
}

SimReader::~SimReader()
{
    qunsetenv(kSpoolVariable);
    qunsetenv(kDevicesVariable);
    qunsetenv(kTimeoutVariable);
}

int SimReader::Run(const QStringList& arguments, QString* output) const
{
    QProcess tool;
    tool.start(QStringLiteral(TRIVANE_SIM_TOOL), arguments);
    if (!tool.waitForFinished(30000) || tool.exitStatus() != QProcess::NormalExit)
        return -1;
    if (output)
        *output = QString::fromLocal8Bit(tool.readAllStandardOutput());
    return tool.exitCode();
}

bool SimReader::Place(const QStringList& fingers, const QStringList& options) const
{
    return Run(QStringList{QStringLiteral("place")} + fingers + options) == 0;
}

int SimReader::PendingCount() const
{
    QString status;
    Run({QStringLiteral("status")}, &status);
    const auto match = QRegularExpression(QStringLiteral("placements waiting to be taken: (\\d+)")).match(status);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}
