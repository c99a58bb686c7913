#pragma once

#include "uDateTime.h"

#include <QDateTime>
#include <QString>
#include <memory>

// The program's one clock: "now" for labels, timers and file names, and setting the computer's time.
// Tests install a clock of their own (derive and override). Punch times do not come from here but
// from the database server (TdtmAppData::GetServerTime).
class TClock
{
public:
    virtual ~TClock() = default;

    // The local wall-clock time of the installed clock.
    static QDateTime CurrentDateTime();
    static TDateTime Now();
    // Sets the computer's clock to a local wall-clock time; false, with *error saying why, when it
    // cannot be set (setting the time needs a privilege most users lack).
    static bool SetSystemTime(const QDateTime& localTime, QString* error = nullptr);

    // Replaces the clock (tests); null restores the system clock. Install before other threads read
    // the time.
    static void Install(std::unique_ptr<TClock> clock);

protected:
    virtual QDateTime LocalNow() const;
    // clock_settime(CLOCK_REALTIME).
    virtual bool SetLocalTime(const QDateTime& localTime, QString* error);
};
