#include "uClock.h"

namespace {

TClock::TSource& Source()
{
    static TClock::TSource source;
    return source;
}

} // namespace

QDateTime TClock::CurrentDateTime()
{
    const TSource& source = Source();
    return source ? source() : QDateTime::currentDateTime();
}

TDateTime TClock::Now()
{
    return DateTimeConv::FromQDateTime(CurrentDateTime());
}

void TClock::SetSource(TSource source)
{
    Source() = std::move(source);
}
