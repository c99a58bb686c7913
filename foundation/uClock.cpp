#include "uClock.h"

#include <cerrno>
#include <cstring>
#include <ctime>

namespace
{

std::unique_ptr<TClock>& Installed()
{
    static std::unique_ptr<TClock> clock = std::make_unique<TClock>();
    return clock;
}

} // namespace

QDateTime TClock::CurrentDateTime()
{
    return Installed()->LocalNow();
}

TDateTime TClock::Now()
{
    return DateTimeConv::FromQDateTime(CurrentDateTime());
}

bool TClock::SetSystemTime(const QDateTime& localTime, QString* error)
{
    return Installed()->SetLocalTime(localTime, error);
}

void TClock::Install(std::unique_ptr<TClock> clock)
{
    Installed() = clock ? std::move(clock) : std::make_unique<TClock>();
}

QDateTime TClock::LocalNow() const
{
    return QDateTime::currentDateTime();
}

bool TClock::SetLocalTime(const QDateTime& localTime, QString* error)
{
    const qint64 msecs = localTime.toMSecsSinceEpoch();
    timespec value{};
    value.tv_sec = time_t(msecs / 1000);
    value.tv_nsec = long(msecs % 1000) * 1000000L;
    if (clock_settime(CLOCK_REALTIME, &value) == 0)
        return true;
    if (error)
        *error = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}
