#pragma once

#include <QString>

namespace TestSupport {

// The project's source tree (tests/fixtures lives there).
QString SourceDir();
QString FixturesDir();
// True when a test that needs the loopback servers must fail instead of skip (scripts/test sets it).
bool ServersRequired();
// Points the program's settings (QSettings), data (the local database) and cache (help pages)
// below `root`, so a test never touches the user's own.
void UseUserDirectoriesIn(const QString& root);

} // namespace TestSupport
