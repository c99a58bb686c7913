#pragma once

#include <QApplication>

// The clock station program: its names, the start-up (splash, data module, main window) and the
// handler of last resort for exceptions that reach the event loop.
class TClockApplication final : public QApplication
{
    Q_OBJECT

public:
    TClockApplication(int& argc, char** argv);

    // Splash (unless `showSplash` is off), data module, main window, event loop. The exit code;
    // 1 when the data module says the program cannot continue.
    int Run(bool showSplash);

    // A failure nothing else caught is shown in the error box and the event is dropped: the window
    // stays usable.
    bool notify(QObject* receiver, QEvent* event) override;
};
