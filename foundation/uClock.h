#pragma once

#include "uDateTime.h"

#include <QDateTime>
#include <functional>

// The program's one source of "now" for labels, timers and file names, so tests can set the time.
// Punch times do not come from here but from the database server (TdtmAppData::GetServerTime).
class TClock final
{
public:
    using TSource = std::function<QDateTime()>;

    // The local wall-clock time.
    static QDateTime CurrentDateTime();
    static TDateTime Now();
    // Replaces the time source (tests); an empty source restores the system clock. Set it before
    // other threads read the time.
    static void SetSource(TSource source);
};
