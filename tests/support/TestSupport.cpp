#include "TestSupport.h"

#include <QtGlobal>

namespace TestSupport {

QString SourceDir() { return qEnvironmentVariable("HORAVANT_SOURCE_DIR"); }
QString FixturesDir() { return SourceDir() + QStringLiteral("/tests/fixtures"); }
bool ServersRequired() { return qEnvironmentVariableIntValue("HORAVANT_REQUIRE_SERVERS") == 1; }

} // namespace TestSupport
