#include "uAppStartup.h"
#include "uStartupPrompts.h"
#include "uVelloxBSP.h"

#include <QApplication>
#include <QTextStream>

// Until the main window exists the program starts the data module, says what it found and ends.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KronvikClock2"));
    QApplication::setOrganizationName(QStringLiteral("Ostrelo"));
    QApplication::setApplicationDisplayName(QStringLiteral("Horavant 2.0"));
    QApplication::setApplicationVersion(QStringLiteral(HORAVANT_VERSION));

    TDialogStartupPrompts prompts;
    const auto data = CreateAppData(prompts);
    if (data->CannotContinue())
        return 1;

    const TAppRegistry& settings = data->AppRegistry();
    QTextStream out(stdout);
    out << data->ProductName() << ' ' << data->ProductVersion() << Qt::endl
        << "Database type " << Dialect::SetNames().value(settings.DatabaseType) << ", date format "
        << data->DBDateFormat() << ", server time "
        << DateTimeConv::ToQDateTime(data->GetServerTime()).toString(Qt::ISODate) << Qt::endl
        << "Company \"" << settings.CompanyName << "\", station " << settings.StationId << " \""
        << settings.StationName << '"' << Qt::endl
        << "Fingerprint readers: " << (data->Reader() ? data->Reader()->DeviceCount() : 0) << Qt::endl;
    return 0;
}
