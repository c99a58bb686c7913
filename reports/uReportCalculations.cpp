#include "uReportCalculations.h"

#include "uDBManager.h"
#include "uExceptions.h"
#include "uFormatters.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Nearest integer, halves to the even neighbour (the default floating-point rounding mode).
double RoundHalfToEven(double value) { return std::nearbyint(value); }

double RoundToHundredths(double value) { return RoundHalfToEven(value * 100.0) / 100.0; }

// The integer part of an hour or minute count; one beyond the integer range is an error, not a
// wrapped number.
int WholePart(double value)
{
    const double whole = std::trunc(value);
    if (!(whole >= std::numeric_limits<int>::min() && whole <= std::numeric_limits<int>::max()))
        throw Exception(QCoreApplication::translate("TKronvikCalculations", "The number %1 is out of range.",
                                                    "stNUMBEROUTOFRANGE").arg(value));
    return int(whole);
}

qint8 CheckTypeInRange(int checkType)
{
    if (checkType < std::numeric_limits<qint8>::min() || checkType > std::numeric_limits<qint8>::max())
        throw Exception(QCoreApplication::translate("TKronvikCalculations", "The check type %1 is out of range.",
                                                    "stCHECKTYPEOUTOFRANGE").arg(checkType));
    return qint8(checkType);
}

// Both ends are whole minutes, so the difference is too; counting it in minutes keeps the hours free
// of floating-point dust that would tip the threshold comparisons.
double HoursBetween(TDateTime from, TDateTime to)
{
    return double(std::llround(std::fabs(to - from) * DateTimeConv::MinutesPerDay)) / 60.0;
}

double RoundedToStep(double total, int stepMinutes)
{
    const int hours = WholePart(total);
    int minutes = WholePart(RoundHalfToEven((total - hours) * 60.0));
    const int rest = minutes % stepMinutes;
    // Half a step or more goes up to the next step.
    if (2 * rest >= stepMinutes)
        minutes += stepMinutes - rest;
    else
        minutes -= rest;
    return hours + minutes / 60.0;
}

} // namespace

TCheckRecordRow ReadCheckRecordRow(const TQuery& query)
{
    TCheckRecordRow row;
    row.CheckInTimestamp = query.FieldByName(QStringLiteral("CHECKINTIMESTAMP")).AsDateTime();
    row.CheckOutTimestamp = query.FieldByName(QStringLiteral("CHECKOUTTIMESTAMP")).AsDateTime();
    row.CheckType = query.FieldByName(QStringLiteral("CHECKTYPE")).AsInteger();
    row.ShouldWorkFor = query.FieldByName(QStringLiteral("SHOULDWORKFOR")).AsFloat();
    row.AccumWorked = query.FieldByName(QStringLiteral("ACCUMWORKED")).AsFloat();
    row.Note = query.FieldByName(QStringLiteral("NOTE")).AsString();
    row.Modified = !query.FieldByName(QStringLiteral("MODIFIEDBY")).IsNull();
    row.CheckInStationId = query.FieldByName(QStringLiteral("CHECKINSTATIONID")).AsInteger();
    row.CheckOutStationId = query.FieldByName(QStringLiteral("CHECKOUTSTATIONID")).AsInteger();
    if (row.Modified) {
        row.LastName = query.FieldByName(QStringLiteral("LASTNAME")).AsString();
        row.FirstName = query.FieldByName(QStringLiteral("FIRSTNAME")).AsString();
    }
    return row;
}

void TKronvikCalculations::Reset()
{
    RegularTotal = 0;
    ExtraTotal = 0;
    SickTotal = 0;
    VacationTotal = 0;
    Current.RegularHours = 0;
    Current.ExtraHours = 0;
    Current.SickHours = 0;
    Current.VacationHours = 0;
}

void TKronvikCalculations::AddRecord(const TQuery& dataSet) { AddRecord(ReadCheckRecordRow(dataSet)); }

void TKronvikCalculations::AddRecord(const TCheckRecordRow& row)
{
    const qint8 checkType = CheckTypeInRange(row.CheckType);
    InPeriod = true;
    ReadRecord(row, checkType);
    const QDate day = DateTimeConv::ToQDate(Current.CheckIn);
    int weekYear = 0;
    Current.Week = quint16(day.weekNumber(&weekYear));
    Current.Month = quint16(day.month());

    switch (ExtraTimeMode) {
    case TExtraTimeMode::Daily:
        ApplyDailyRule();
        break;
    case TExtraTimeMode::Weekly:
        // The query starts on the week's Monday so that the days before the report's start count
        // towards the week's threshold; only records from the start on are the report's own.
        InPeriod = Current.CheckIn >= PeriodStart;
        ApplyPeriodRule(Current.Week, weekYear);
        break;
    case TExtraTimeMode::Monthly:
        ApplyPeriodRule(Current.Month, day.year());
        break;
    case TExtraTimeMode::None:
        ApplyNoExtraTimeRule();
        break;
    }
}

void TKronvikCalculations::ReadRecord(const TCheckRecordRow& row, qint8 checkType)
{
    Current.CheckIn = Formatters::TruncateToMinute(row.CheckInTimestamp);
    Current.CheckOut = Formatters::TruncateToMinute(row.CheckOutTimestamp);
    Current.CheckType = checkType;
    Current.ShouldWork = row.ShouldWorkFor / 60.0;
    Current.AccumWorked = row.AccumWorked / 60.0;
    Current.Worked = HoursBetween(Current.CheckIn, Current.CheckOut);
    Current.Note = row.Note;
    Current.Modified = row.Modified;
    CheckInStationId = row.CheckInStationId;
    CheckOutStationId = row.CheckOutStationId;
    ModifiedByName = row.Modified ? Formatters::EmployeeNameLastFirst(row.FirstName, row.LastName) : QString();
}

// ACCUMWORKED holds the day's worked time up to and including this record, SHOULDWORKFOR the day's
// schedule: the part of the record beyond the schedule is extra.
void TKronvikCalculations::ApplyDailyRule()
{
    if (Current.CheckType != WorkCheck) {
        AddAbsence();
        return;
    }
    const double worked = Current.Worked;
    const double dayWorked = Current.AccumWorked;
    const double scheduled = Current.ShouldWork;
    if (dayWorked < scheduled) {
        Current.RegularHours = worked;
        Current.ExtraHours = 0;
    } else if (dayWorked - worked > scheduled) {
        Current.RegularHours = 0;
        Current.ExtraHours = worked;
    } else {
        Current.ExtraHours = dayWorked - scheduled;
        Current.RegularHours = worked - Current.ExtraHours;
    }
    RegularTotal += Current.RegularHours;
    ExtraTotal += Current.ExtraHours;
}

// Weekly and monthly: regular hours up to the threshold per period, the rest extra.
void TKronvikCalculations::ApplyPeriodRule(int period, int periodYear)
{
    if (period != CurrentPeriod || periodYear != m_currentPeriodYear) {
        CurrentPeriod = period;
        m_currentPeriodYear = periodYear;
        PeriodWorked = 0;
    }
    if (Current.CheckType != WorkCheck) {
        if (InPeriod)
            AddAbsence();
        return;
    }
    PeriodWorked += Current.Worked;
    const double excess = PeriodWorked - PeriodThreshold;
    if (excess > 0) {
        Current.ExtraHours = excess;
        PeriodWorked = PeriodThreshold;
    } else {
        Current.ExtraHours = 0;
    }
    Current.RegularHours = std::max(Current.Worked - Current.ExtraHours, 0.0);
    if (InPeriod) {
        RegularTotal += Current.RegularHours;
        ExtraTotal += Current.ExtraHours;
    }
}

void TKronvikCalculations::ApplyNoExtraTimeRule()
{
    if (Current.CheckType != WorkCheck) {
        AddAbsence();
        return;
    }
    Current.RegularHours = Current.Worked;
    RegularTotal += Current.Worked;
}

// Sick and vacation records count whole; any other check type counts nowhere.
void TKronvikCalculations::AddAbsence()
{
    if (Current.CheckType == SickCheck) {
        Current.SickHours = Current.Worked;
        SickTotal += Current.Worked;
    } else if (Current.CheckType == VacationCheck) {
        Current.VacationHours = Current.Worked;
        VacationTotal += Current.Worked;
    }
}

void TKronvikCalculations::RoundTotals()
{
    if (Rounding <= 0)
        return;
    const int step = Rounding == 1 ? 15 : 30;
    RegularTotal = RoundedToStep(RegularTotal, step);
    ExtraTotal = RoundedToStep(ExtraTotal, step);
    SickTotal = RoundedToStep(SickTotal, step);
    VacationTotal = RoundedToStep(VacationTotal, step);
}

QString TKronvikCalculations::HoursToText(double hours)
{
    if (hours < 0) {
        // Hours and minutes each carry the sign otherwise ("0:0-30"); one sign in front reads right.
        const QString text = HoursToText(-hours);
        return text == QLatin1String("0:00") ? text : QLatin1Char('-') + text;
    }
    // Rounding to hundredths first turns 7.9999 into 8:00 rather than 7:59.
    const int wholeHours = WholePart(RoundToHundredths(hours));
    const int minutes = WholePart(RoundToHundredths((hours - wholeHours) * 60.0));
    return QStringLiteral("%1:%2").arg(wholeHours).arg(minutes, 2, 10, QLatin1Char('0'));
}
