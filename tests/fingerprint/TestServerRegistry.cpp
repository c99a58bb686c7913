#include "TestServerRegistry.h"

#include "ComRuntime.h"

#include <QFile>

namespace {
const char* const kRegistryVariable = "HORAVANT_AUTOMATION_REGISTRY";
}

TestServerRegistry::TestServerRegistry()
    : m_fileName(QFile::encodeName(m_dir.filePath(QStringLiteral("automation-registry"))))
{
    if (!m_dir.isValid())
        return;
    Activate();
    m_registered = automation::Succeeded(automation::RunServerRegistration(TRIVANE_COM_LIBRARY, true));
}

void TestServerRegistry::Activate() const { qputenv(kRegistryVariable, m_fileName); }
