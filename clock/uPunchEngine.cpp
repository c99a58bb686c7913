#include "uPunchEngine.h"

#include "dmAppData.h"

#include <QCoreApplication>

#include <cmath>
#include <utility>

using namespace Qt::StringLiterals;

namespace
{

// Schedules and punch times are whole minutes, but as day fractions they carry rounding noise;
// comparisons allow half a second so "exactly at the end of the tolerance" stays exact.
constexpr double HalfSecond = 0.5 / DateTimeConv::SecondsPerDay;

bool IsBefore(TDateTime a, TDateTime b)
{
    return a < b - HalfSecond;
}
bool IsAfter(TDateTime a, TDateTime b)
{
    return a > b + HalfSecond;
}

// Minutes from `from` to `to`, to the whole second (free of the noise of day fractions).
double MinutesBetween(TDateTime from, TDateTime to)
{
    return std::round((to - from) * DateTimeConv::SecondsPerDay) / 60.0;
}

TDateTime Day(TDateTime value)
{
    return DateTimeConv::FromQDate(DateTimeConv::ToQDate(value));
}
double TimeOfDay(TDateTime value)
{
    return value - Day(value);
}

QString DayName(int weekday)
{
    static const char* const names[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    return weekday >= 1 && weekday <= 6 ? QString::fromLatin1(names[weekday - 1]) : u"Sunday"_s;
}

// The expected times of a check-in under a day's schedule (0: none).
struct TScheduledPeriod {
    TDateTime shouldCheckIn = 0;
    TDateTime shouldCheckOut = 0;
};

TScheduledPeriod ScheduledPeriod(const TChecksByDay& schedule, TDateTime now)
{
    const double timeOfDay = TimeOfDay(now);
    if (schedule.Start <= 0 || IsAfter(timeOfDay, schedule.End))
        return {};
    const bool hasBreak = schedule.BreakEnd != 0;
    const TDateTime day = Day(now);
    TScheduledPeriod period;
    // A check-in exactly at the start of the break belongs to the whole day.
    period.shouldCheckOut =
        day + (hasBreak && IsBefore(timeOfDay, schedule.BreakStart) ? schedule.BreakStart : schedule.End);
    period.shouldCheckIn =
        day + (hasBreak && IsAfter(timeOfDay, schedule.BreakStart) ? schedule.BreakEnd : schedule.Start);
    return period;
}

// Fills every field of a record from the current row of a CHECKRECORD result.
TCheckInInfo RecordFromRow(const TQuery& row)
{
    TCheckInInfo info;
    info.LaterOrNone = false;
    info.EmployeeId = row.FieldByName(u"EMPLOYEEID"_s).AsInteger();
    info.CheckId = row.FieldByName(u"CHECKID"_s).AsInteger();
    info.CheckIn = row.FieldByName(u"CHECKINTIMESTAMP"_s).AsDateTime();
    info.CheckOut = row.FieldByName(u"CHECKOUTTIMESTAMP"_s).AsDateTime();
    info.ShouldCheckOutAt = row.FieldByName(u"SHOULDCHECKOUTAT"_s).AsDateTime();
    info.CheckException = row.FieldByName(u"CHECKEXCEPTION"_s).AsInteger();
    info.Tolerance = row.FieldByName(u"TOLERANCE"_s).AsInteger();
    info.ShouldWorkFor = row.FieldByName(u"SHOULDWORKFOR"_s).AsFloat();
    info.MinutesLate = row.FieldByName(u"MINUTESLATE"_s).AsFloat();
    info.CheckInStationId = row.FieldByName(u"CHECKINSTATIONID"_s).AsInteger();
    info.CheckOutStationId = row.FieldByName(u"CHECKOUTSTATIONID"_s).AsInteger();
    info.AccumWorked = row.FieldByName(u"ACCUMWORKED"_s).AsFloat();
    info.Worked = row.FieldByName(u"WORKED"_s).AsFloat();
    const TField modifiedBy = row.FieldByName(u"MODIFIEDBY"_s);
    info.ModifiedBy = modifiedBy.IsNull() ? -1 : modifiedBy.AsInteger();
    const TField reasonId = row.FieldByName(u"REASONID"_s);
    info.ReasonId = reasonId.IsNull() ? -1 : reasonId.AsInteger();
    info.Note = row.FieldByName(u"NOTE"_s).AsString();
    return info;
}

TCheckInInfo NoRecord(int employeeId)
{
    TCheckInInfo info;
    info.EmployeeId = employeeId;
    return info;
}

} // namespace

TPunchEngine::TPunchEngine(TdtmAppData& appData) : m_appData(appData) {}

QString TPunchEngine::Statement(const QString& name) const
{
    return m_appData.SQLStringsHolderdtm().GetStatement(name);
}

void TPunchEngine::RunPunch(const std::function<void()>& punch)
{
    m_pendingTracks.clear();
    TDBTransaction transaction(m_appData.DBManager());
    try {
        punch();
        transaction.Commit();
    } catch (...) {
        m_pendingTracks.clear(); // nothing was registered, so nothing is told
        throw;
    }
    // Told only after the commit: a notice must never announce a punch that was rolled back.
    const std::vector<TPendingTrack> tracks = std::exchange(m_pendingTracks, {});
    if (m_trackHandler) {
        for (const TPendingTrack& track : tracks)
            m_trackHandler(track.employeeId, track.event, track.time);
    }
}

void TPunchEngine::Track(bool track, int employeeId, TTrackEvent event, TDateTime time)
{
    if (track)
        m_pendingTracks.push_back({employeeId, event, time});
}

// ---------------------------------------------------------------------------------------------
// Check-in

void TPunchEngine::RegisterCheckIn(int checkType, int employeeId, bool track, TDateTime punchTime)
{
    const TDateTime now = TdtmAppData::TruncateToMinute(punchTime);
    RunPunch([&] { InsertCheckIn(checkType, employeeId, track, now); });
}

void TPunchEngine::InsertCheckIn(int checkType, int employeeId, bool track, TDateTime now)
{
    const TChecksByDay schedule = ReadDaySchedule(employeeId, DateTimeConv::ToQDate(now).dayOfWeek());
    const TScheduledPeriod period = ScheduledPeriod(schedule, now);
    int exception = 0;
    double minutesLate = 0;
    if (period.shouldCheckIn > 0) {
        // Arriving exactly at the end of the tolerance is not late.
        if (IsBefore(period.shouldCheckIn + schedule.Tolerance / DateTimeConv::MinutesPerDay, now)) {
            exception = CheckException::Late;
            minutesLate = MinutesBetween(period.shouldCheckIn, now);
        }
        // Up to an hour early counts from the scheduled start, unless the group may check in early.
        if (IsBefore(now, period.shouldCheckIn) &&
            std::trunc(MinutesBetween(now, period.shouldCheckIn)) <= 60 && !schedule.CheckInEarly)
            now = period.shouldCheckIn;
    }

    TSQLStringsHolder& holder = m_appData.SQLStringsHolderdtm();
    holder.ClearParams();
    holder.AddParam(u"EMPLOYEEID"_s, employeeId);
    holder.AddParam(u"TOLERANCE"_s, schedule.Tolerance);
    holder.AddParam(u"CHECKTYPE"_s, checkType);
    holder.AddParam(u"SHOULDWORKFOR"_s, schedule.MinutesToWork);
    holder.AddParam(u"CHECKEXCEPTION"_s, exception);
    holder.AddParam(u"MINUTESLATE"_s, Formatters::FormatFloatForSQL(minutesLate));
    holder.AddParam(u"STATIONID"_s, m_appData.AppRegistry().StationId);
    holder.AddParam(u"CHECKINTIMESTAMP"_s, m_appData.FormatDateTimeForSQL(now));
    m_appData.DBManager().ExecuteFmt(Statement(u"CHECKIN"_s),
                                     {m_appData.FormatOptionalDateTimeForSQL(period.shouldCheckIn),
                                      m_appData.FormatOptionalDateTimeForSQL(period.shouldCheckOut)});
    SetLastOperation(employeeId, LastOperation::CheckedIn, now);
    Track(track, employeeId, TTrackEvent::CheckIn, now);
}

// ---------------------------------------------------------------------------------------------
// Check-out

void TPunchEngine::RegisterCheckOut(int checkType, bool withReason, bool track, const QString& note,
                                    int reasonId, int employeeId, TDateTime punchTime)
{
    const TDateTime now = TdtmAppData::TruncateToMinute(punchTime);
    RunPunch([&] { CloseOpenRecord(checkType, withReason, track, note, reasonId, employeeId, now); });
}

void TPunchEngine::CloseOpenRecord(int checkType, bool withReason, bool track, const QString& note,
                                   int reasonId, int employeeId, TDateTime now)
{
    TCheckInInfo record = ReadOpenRecord(employeeId);
    if (record.CheckId < 0) {
        // Closing nothing would still mark the employee as out and recompute the whole history.
        throw Exception(QCoreApplication::translate(
            "TPunchEngine", "The employee has no open check-in, so the check-out was not registered.",
            "stNOOPENCHECKIN"));
    }
    int exception = record.CheckException;
    double minutesLate = record.MinutesLate;
    if (IsBefore(now, record.CheckIn)) {
        now = record.CheckIn; // closed with zero minutes worked
    } else if (IsBefore(now, record.ShouldCheckOutAt)) {
        // No tolerance for leaving early; leaving exactly on time is not early.
        minutesLate += MinutesBetween(now, record.ShouldCheckOutAt);
        exception = record.CheckException | CheckException::LeftEarly;
    }

    TSQLStringsHolder& holder = m_appData.SQLStringsHolderdtm();
    holder.ClearParams();
    holder.AddParam(u"EMPLOYEEID"_s, employeeId);
    holder.AddParam(u"CHECKEXCEPTION"_s, exception);
    holder.AddParam(u"MINUTESLATE"_s, Formatters::FormatFloatForSQL(minutesLate));
    holder.AddParam(u"STATIONID"_s, m_appData.AppRegistry().StationId);
    holder.AddParam(u"CHECKOUTTIMESTAMP"_s, m_appData.FormatDateTimeForSQL(now));
    holder.AddParam(u"CHECKTYPE"_s, checkType);
    holder.AddParam(u"CHECKID"_s, record.CheckId);
    holder.AddParam(u"WORKED"_s, Formatters::FormatFloatForSQL(MinutesBetween(record.CheckIn, now)));
    if (withReason) {
        holder.AddParam(u"REASONID"_s, reasonId);
        holder.AddParam(u"NOTE"_s, note); // the placeholder filler doubles its quotes
    }
    m_appData.DBManager().Execute(Statement(withReason ? u"CHECKOUTREASON"_s : u"CHECKOUT"_s));
    SetLastOperation(employeeId, LastOperation::CheckedOut, now);
    record.CheckException = exception;
    Track(track, employeeId, TTrackEvent::CheckOut, now);
    RecomputeDay(record, track, now);
}

// ---------------------------------------------------------------------------------------------
// Day totals

void TPunchEngine::UpdateDayTotals(const TCheckInInfo& record, bool track, TDateTime time)
{
    RunPunch([&] { RecomputeDay(record, track, time); });
}

void TPunchEngine::RecomputeDay(const TCheckInInfo& record, bool track, TDateTime time)
{
    // A period that crosses midnight counts with both days; without a check-in (a record that
    // no longer exists) only the day of `time`, never the employee's whole history.
    const TDateTime firstDay = record.CheckIn > 0 ? Day(record.CheckIn) : Day(time);
    const double total = AccumulateWorked(record.EmployeeId, firstDay, Day(time + 1));

    const bool incomplete =
        total < record.ShouldWorkFor && record.CheckException < CheckException::IncompleteDay;
    TSQLStringsHolder& holder = m_appData.SQLStringsHolderdtm();
    holder.ClearParams();
    holder.AddParam(u"CHECKEXCEPTION"_s, incomplete ? CheckException::IncompleteDay : 0);
    holder.AddParam(u"SHORTDATEFORMAT"_s, m_appData.DBDateFormat());
    m_appData.DBManager().ExecuteFmt(Statement(incomplete ? u"UPDATEEXCEPTION"_s : u"REMOVEEXCPWORKDAY"_s),
                                     {record.EmployeeId, m_appData.FormatDateTimeForSQL(Day(time)),
                                      m_appData.FormatDateTimeForSQL(Day(time + 1))});
    if (incomplete)
        Track(track, record.EmployeeId, TTrackEvent::Exceptions, time);
}

// Writes each record's running total of WORKED into ACCUMWORKED, in check-in order; the day's total.
double TPunchEngine::AccumulateWorked(int employeeId, TDateTime firstDay, TDateTime endDay)
{
    TSQLStringsHolder& holder = m_appData.SQLStringsHolderdtm();
    TDBManager& db = m_appData.DBManager();
    holder.ClearParams();
    holder.AddParam(u"SHORTDATEFORMAT"_s, m_appData.DBDateFormat());
    const QString from = m_appData.FormatDateTimeForSQL(firstDay);
    const QString to = m_appData.FormatDateTimeForSQL(endDay);
    TQueryReleaser rows(db,
                        db.OpenFmt(Statement(u"GETCHECKINFOFORTODAY"_s), {employeeId, from, to, u"ASC"_s}));
    const QString updateWorked = Statement(u"UPDATEWORKED"_s);
    double total = 0;
    for (; !rows->Eof(); rows->Next()) {
        if (!rows->FieldByName(u"CHECKINTIMESTAMP"_s).IsNull())
            total += rows->FieldByName(u"WORKED"_s).AsFloat(); // an open record counts 0
        const int checkId = rows->FieldByName(u"CHECKID"_s).AsInteger();
        db.ExecuteFmt(updateWorked, {Formatters::FormatFloatForSQL(total), employeeId, from, to, checkId});
    }
    return total;
}

// ---------------------------------------------------------------------------------------------
// Reading

TChecksByDay TPunchEngine::ReadDaySchedule(int employeeId, int weekday)
{
    TSQLStringsHolder& holder = m_appData.SQLStringsHolderdtm();
    TDBManager& db = m_appData.DBManager();
    holder.ClearParams();
    holder.AddParam(u"EMPLOYEEID"_s, employeeId);
    TQueryReleaser row(db, db.Open(Statement(u"GETGROUPINFO"_s)));
    TChecksByDay schedule;
    schedule.DayName = DayName(weekday);
    if (row->IsEmpty())
        return schedule; // an employee without a group punches without a schedule
    const auto column = [&](const QString& suffix) { return row->FieldByName(schedule.DayName + suffix); };
    schedule.Start = column(u"_S"_s).AsFloat();
    schedule.BreakStart = column(u"_L"_s).AsFloat();
    schedule.BreakEnd = column(u"_B"_s).AsFloat();
    schedule.End = column(u"_E"_s).AsFloat();
    schedule.MinutesToWork = column(u"_T"_s).AsInteger();
    schedule.LastOperation = row->FieldByName(u"LASTOPERATION"_s).AsInteger();
    schedule.Tolerance = row->FieldByName(u"TOLERANCE"_s).AsInteger();
    schedule.CheckInEarly = row->FieldByName(u"CHECKINEARLY"_s).AsInteger() == 1;
    schedule.LastCheck = row->FieldByName(u"LASTCHECKTIMESTAMP"_s).AsDateTime();
    return schedule;
}

TCheckInInfo TPunchEngine::ReadOpenRecord(int employeeId)
{
    TDBManager& db = m_appData.DBManager();
    TQueryReleaser rows(db, db.OpenFmt(Statement(u"GETLASTCHECK"_s), {employeeId}));
    if (rows->IsEmpty())
        return NoRecord(employeeId);
    TCheckInInfo info = RecordFromRow(*rows.get());
    rows->Next();
    info.MoreRecords = !rows->Eof();
    return info;
}

TCheckInInfo TPunchEngine::ReadDayRecord(int employeeId, TDateTime time)
{
    TSQLStringsHolder& holder = m_appData.SQLStringsHolderdtm();
    TDBManager& db = m_appData.DBManager();
    holder.ClearParams();
    holder.AddParam(u"SHORTDATEFORMAT"_s, m_appData.DBDateFormat());
    TQueryReleaser rows(db, db.OpenFmt(Statement(u"GETCHECKINFOFORTODAY"_s),
                                       {employeeId, m_appData.FormatDateTimeForSQL(Day(time)),
                                        m_appData.FormatDateTimeForSQL(Day(time + 1)), u"DESC"_s}));
    if (rows->IsEmpty())
        return NoRecord(employeeId);
    TCheckInInfo info = RecordFromRow(*rows.get());
    info.LaterOrNone = IsAfter(info.CheckIn, time);
    rows->Next();
    info.MoreRecords = !rows->Eof();
    if (info.MoreRecords)
        info.LaterOrNone = IsAfter(rows->FieldByName(u"CHECKINTIMESTAMP"_s).AsDateTime(), time);
    return info;
}

void TPunchEngine::SetLastOperation(int employeeId, int operation, TDateTime punchTime)
{
    TSQLStringsHolder& holder = m_appData.SQLStringsHolderdtm();
    holder.ClearParams();
    holder.AddParam(u"EMPLOYEEID"_s, employeeId);
    holder.AddParam(u"LASTOPERATION"_s, operation);
    holder.AddParam(u"LASTCHECKTIMESTAMP"_s, m_appData.FormatDateTimeForSQL(punchTime));
    m_appData.DBManager().Execute(Statement(u"UPDATELASTOPERATION"_s));
}
