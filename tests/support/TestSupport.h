#pragma once

#include <QString>

namespace TestSupport {

// The project's source tree (tests/fixtures lives there).
QString SourceDir();
QString FixturesDir();
// True when a test that needs the loopback servers must fail instead of skip (scripts/test sets it).
bool ServersRequired();

} // namespace TestSupport
