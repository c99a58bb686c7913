#include "uClockApplication.h"

#include "fMainWindow.h"
#include "fSplash.h"
#include "uAppStartup.h"
#include "uPictures.h"
#include "uStartupPrompts.h"
#include "uUnhandledException.h"

#include <QSessionManager>

TClockApplication::TClockApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("KronvikClock2"));
    setOrganizationName(QStringLiteral("Ostrelo"));
    setApplicationDisplayName(QStringLiteral("Horavant 2.0"));
    setApplicationVersion(QStringLiteral(HORAVANT_VERSION));
    setWindowIcon(Pictures::Icon());
    // The window hides in the tray and notices come and go without it: the program ends only
    // when the main window asks.
    setQuitOnLastWindowClosed(false);
}

int TClockApplication::Run(bool showSplash)
{
    if (showSplash) {
        TfrmSplash splash;
        splash.exec();
    }
    TDialogStartupPrompts prompts;
    const auto appData = CreateAppData(prompts);
    if (appData->CannotContinue())
        return 1;

    TfrmMainWindow window(*appData);
    connect(&window, &TfrmMainWindow::QuitRequested, this, &QCoreApplication::quit, Qt::QueuedConnection);
    connect(this, &QGuiApplication::commitDataRequest, &window, [&window](QSessionManager&) { window.EndSession(); });
    connect(this, &QCoreApplication::aboutToQuit, &window, &TfrmMainWindow::PrepareToQuit);
    window.ShowStation();
    return exec();
}

bool TClockApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowUnhandledException(std::current_exception());
        return false;
    }
}
