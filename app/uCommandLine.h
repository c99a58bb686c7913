#pragma once

class QCoreApplication;

// What the command line asks of the program. --help and --version are answered (and the program
// ends) while parsing.
class TCommandLine final
{
public:
    explicit TCommandLine(const QCoreApplication& application);

    // False with --no-splash (trials, screenshots, tests).
    bool ShowSplash() const { return m_showSplash; }

private:
    bool m_showSplash = true;
};
