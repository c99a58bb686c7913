#include "uCommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

TCommandLine::TCommandLine(const QCoreApplication& application)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate("TCommandLine", "Horavant 2.0 time clock station",
                                                                 "stCMDDESCRIPTION"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption noSplash(
        QStringLiteral("no-splash"),
        QCoreApplication::translate("TCommandLine", "Start without the start-up picture.", "stCMDNOSPLASH"));
    parser.addOption(noSplash);
    parser.process(application);
    m_showSplash = !parser.isSet(noSplash);
}
