#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QtGlobal>

namespace TestSupport {

QString SourceDir() { return qEnvironmentVariable("HORAVANT_SOURCE_DIR"); }
QString FixturesDir() { return SourceDir() + QStringLiteral("/tests/fixtures"); }
bool ServersRequired() { return qEnvironmentVariableIntValue("HORAVANT_REQUIRE_SERVERS") == 1; }

void UseUserDirectoriesIn(const QString& root)
{
    const QDir dir(root);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.filePath(QStringLiteral("config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("data"))));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.filePath(QStringLiteral("cache"))));
}

} // namespace TestSupport
