// kronvikclock2-demo: fills the station's database with a small demo staff, enrolling each
// employee's finger on the simulated reader through the program's own reader wrapper. Run by
// scripts/run --demo, before the program starts (the reader is free then).
#include "uAppStartup.h"
#include "uDemoData.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTextStream>

namespace
{

// Declines what start-up asks (a fresh local database needs no answer).
class TConsolePrompts final : public TStartupPrompts
{
public:
    bool AskYesNo(TKind, const QString& text) override
    {
        QTextStream(stderr) << text << Qt::endl;
        return false;
    }
    void Show(TKind, const QString& text) override { QTextStream(stderr) << text << Qt::endl; }
    bool EditDatabaseSettings(TAppRegistry&) override { return false; }
};

bool PlaceFinger(const QString& finger, int times)
{
    QProcess tool;
    tool.start(QCoreApplication::applicationDirPath() + QStringLiteral("/trivane-sim"),
               {QStringLiteral("place"), finger, QStringLiteral("--times"), QString::number(times)});
    return tool.waitForFinished() && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("KronvikClock2"));
    QCoreApplication::setOrganizationName(QStringLiteral("Ostrelo"));
    QTextStream out(stdout);
    TConsolePrompts prompts;
    const auto appData = CreateAppData(prompts);
    if (appData->CannotContinue())
        return 1;
    try {
        if (!TDemoData(*appData, PlaceFinger).Fill()) {
            out << "The database already has employees; nothing was added." << Qt::endl;
            return 0;
        }
    } catch (const Exception& error) {
        QTextStream(stderr) << error.Message() << Qt::endl;
        return 1;
    }
    out << "Demo staff added:" << Qt::endl;
    for (const QString& line : TDemoData::Summary())
        out << "  " << line << Qt::endl;
    return 0;
}
