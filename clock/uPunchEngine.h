#pragma once

#include "uDateTime.h"

#include <QString>
#include <functional>
#include <vector>

class TdtmAppData;

// CHECKRECORD.CHECKEXCEPTION bits.
namespace CheckException
{
enum : int { Late = 1, LeftEarly = 2, IncompleteDay = 4 };
}

// CHECKRECORD.CHECKTYPE.
namespace CheckType
{
enum : int { Normal = 1, Sick = 2, Vacation = 3 };
}

// EMPLOYEES.LASTOPERATION.
namespace LastOperation
{
enum : int { CheckedOut = 0, CheckedIn = 1 };
}

// One weekday's schedule of one employee's group (day fractions; a null column reads as 0).
struct TChecksByDay {
    double Start = 0;      // 0: the day has no schedule
    double BreakStart = 0; // splits the day into two work periods
    double BreakEnd = 0;   // 0: no break
    double End = 0;        // check-ins after it are not scheduled
    int MinutesToWork = 0;
    int LastOperation = 0;
    int Tolerance = 0; // minutes
    bool CheckInEarly = false;
    TDateTime LastCheck = 0;
    QString DayName; // "Monday" ... "Sunday", the prefix of the schedule columns
};

// One check record as read (times 0 when null).
struct TCheckInInfo {
    bool LaterOrNone = true; // no record (or, for ReadDayRecord, a check-in later than the time asked)
    bool MoreRecords = false;
    int EmployeeId = 0;
    int CheckId = -1; // -1: no record
    TDateTime CheckIn = 0;
    TDateTime CheckOut = 0;
    TDateTime ShouldCheckOutAt = 0;
    int ModifiedBy = -1;
    int CheckException = 0;
    int Tolerance = 0;
    int ReasonId = -1;
    int CheckInStationId = 0;
    int CheckOutStationId = 0;
    double AccumWorked = 0;
    double Worked = 0;
    double ShouldWorkFor = 0;
    double MinutesLate = 0;
    QString Note;
};

// What e-mail tracking is told about.
enum class TTrackEvent : int { CheckIn = 1, CheckOut = 2, Exceptions = 3 };

// Turns an identified employee and a punch time into check records: schedule, lateness, early
// arrival and departure, minutes worked, and the day's running totals and incomplete-day mark.
// Every statement comes from the data module's statement holder and runs through its database
// manager. Each punch is one database transaction: when a statement fails, the exception reaches
// the caller and the database is as it was before the punch. Main thread only.
class TPunchEngine final
{
public:
    // Called once the punch is committed, for each event it raised; tracking is off while unset.
    using TTrackHandler = std::function<void(int employeeId, TTrackEvent event, TDateTime time)>;

    explicit TPunchEngine(TdtmAppData& appData);

    void SetTrackHandler(TTrackHandler handler) { m_trackHandler = std::move(handler); }

    // Inserts the new record with the schedule of the punch's weekday and sets LASTOPERATION 1.
    void RegisterCheckIn(int checkType, int employeeId, bool track, TDateTime punchTime);
    // Closes the open record (with the reason and note when withReason), sets LASTOPERATION 0 and
    // recomputes the day. Raises Exception (stNOOPENCHECKIN) and changes nothing when the
    // employee has no open record.
    void RegisterCheckOut(int checkType, bool withReason, bool track, const QString& note, int reasonId,
                          int employeeId, TDateTime punchTime);
    // Recomputes ACCUMWORKED from the record's check-in day through the day of `time`, and adds or
    // removes the incomplete-day mark on the records of the day of `time`. A record without
    // check-in (CheckIn 0) counts from the day of `time`.
    void UpdateDayTotals(const TCheckInInfo& record, bool track, TDateTime time);

    // weekday: 1 Monday ... 7 Sunday (anything outside 1-6 is Sunday). An employee without a group
    // gets an empty schedule (all 0).
    TChecksByDay ReadDaySchedule(int employeeId, int weekday);
    // The record whose check-in equals the employee's LASTCHECKTIMESTAMP.
    TCheckInInfo ReadOpenRecord(int employeeId);
    // The latest record checked in on the calendar day of `time`.
    TCheckInInfo ReadDayRecord(int employeeId, TDateTime time);
    void SetLastOperation(int employeeId, int operation, TDateTime punchTime);

private:
    struct TPendingTrack {
        int employeeId;
        TTrackEvent event;
        TDateTime time;
    };

    void InsertCheckIn(int checkType, int employeeId, bool track, TDateTime now);
    void CloseOpenRecord(int checkType, bool withReason, bool track, const QString& note, int reasonId,
                         int employeeId, TDateTime now);
    void RecomputeDay(const TCheckInInfo& record, bool track, TDateTime time);
    double AccumulateWorked(int employeeId, TDateTime firstDay, TDateTime endDay);
    // Runs `punch` in one transaction, then hands the tracking events it raised to the handler.
    void RunPunch(const std::function<void()>& punch);
    void Track(bool track, int employeeId, TTrackEvent event, TDateTime time);
    QString Statement(const QString& name) const;

    TdtmAppData& m_appData;
    TTrackHandler m_trackHandler;
    std::vector<TPendingTrack> m_pendingTracks;
};
