#pragma once

#include "uDateTime.h"

#include <QString>
#include <QtGlobal>

class TQuery;

// The columns of one closed check record that the calculator reads (the EMPLOYEETIMES row: the
// record joined with the names of the employee who modified it).
struct TCheckRecordRow {
    TDateTime CheckInTimestamp = 0;  // CHECKINTIMESTAMP
    TDateTime CheckOutTimestamp = 0; // CHECKOUTTIMESTAMP
    int CheckType = 0;               // CHECKTYPE
    double ShouldWorkFor = 0;        // SHOULDWORKFOR, minutes
    double AccumWorked = 0;          // ACCUMWORKED, minutes
    QString Note;                    // NOTE
    bool Modified = false;           // MODIFIEDBY is not null
    int CheckInStationId = 0;        // CHECKINSTATIONID
    int CheckOutStationId = 0;       // CHECKOUTSTATIONID
    QString LastName;                // LASTNAME of the modifier, read only when modified
    QString FirstName;               // FIRSTNAME of the modifier, read only when modified
};

// Reads the query's current row by column name without moving it. A missing column or a value that
// cannot be converted raises the database manager's error.
TCheckRecordRow ReadCheckRecordRow(const TQuery& query);

// The values of the record last passed to TKronvikCalculations::AddRecord. The four hour splits
// are written only by the rule of the record's type; read them for that type alone.
struct TKronvikTimeRecord {
    TDateTime CheckIn = 0;  // seconds and milliseconds dropped
    TDateTime CheckOut = 0; // seconds and milliseconds dropped
    double Worked = 0;      // hours between CheckIn and CheckOut
    double ShouldWork = 0;  // hours the schedule asks for that day
    double AccumWorked = 0; // hours worked that day up to and including this record
    bool Modified = false;
    double SickHours = 0;
    double VacationHours = 0;
    double RegularHours = 0;
    double ExtraHours = 0;
    QString Note;
    quint16 Week = 0;  // ISO 8601 week of CheckIn
    quint16 Month = 0; // 1-12
    qint8 CheckType = 0;
};

// The company's extra-time rule (setting EXTRATIMECOMP).
enum class TExtraTimeMode : quint8 { Daily = 0, Weekly = 1, Monthly = 2, None = 3 };

// Splits one employee's closed check records, fed in ascending check-in order, into regular,
// extra, sick and vacation hours, totals and prices them. Callers set the public fields directly:
// the mode, the rates, Rounding, and PeriodThreshold / PeriodStart for the weekly and monthly rules.
class TKronvikCalculations final {
public:
    static constexpr qint8 WorkCheck = 1;
    static constexpr qint8 SickCheck = 2;
    static constexpr qint8 VacationCheck = 3;

    double VacationTotal = 0;
    double SickRate = 0;
    double VacationRate = 0;
    double PeriodThreshold = 0; // regular hours allowed per week (weekly) or month (monthly)
    TDateTime PeriodStart = 0;  // weekly: records checked in before it only feed the week's count
    bool InPeriod = false;      // whether the last record counts in the totals
    qint32 CheckInStationId = 0;
    qint32 CheckOutStationId = 0;
    QString ModifiedByName; // "LASTNAME, FIRSTNAME" of the last record's modifier
    double ExtraTotal = 0;
    double RegularTotal = 0;
    double SickTotal = 0;
    qint32 CurrentPeriod = 0; // week or month number being accumulated
    double PeriodWorked = 0;  // hours worked so far in that week or month
    TExtraTimeMode ExtraTimeMode = TExtraTimeMode::Daily;
    qint32 Rounding = 0; // 0 none, 1 fifteen minutes, otherwise (positive) thirty minutes
    TKronvikTimeRecord Current;
    double ExtraRate = 0;
    double RegularRate = 0;

    // Zeroes the totals and the last record's hours; the week or month count runs on, so a caller
    // can total day by day while overtime is still judged per period.
    void Reset();
    void AddRecord(const TQuery& dataSet);
    void AddRecord(const TCheckRecordRow& row);
    void RoundTotals();

    static QString HoursToText(double hours);

    double RegularPay() const { return RegularRate * RegularTotal; }
    double ExtraPay() const { return ExtraRate * ExtraTotal; }
    double SickPay() const { return SickRate * SickTotal; }
    double VacationPay() const { return VacationRate * VacationTotal; }

private:
    void ReadRecord(const TCheckRecordRow& row, qint8 checkType);
    void ApplyDailyRule();
    void ApplyPeriodRule(int period, int periodYear);
    void ApplyNoExtraTimeRule();
    void AddAbsence();

    // A week or month number recurs every year; the year tells a new period from an old one.
    int m_currentPeriodYear = 0;
};
