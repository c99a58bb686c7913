// Statement lookup + placeholder filling on the data module's real statement set.
#include "uSQLStringsHolder.h"

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

// The CHECKIN lookup of a punch: found in the MSSQL set after missing in the active one, eight
// placeholders filled.
void BM_CheckInLookupAndFill(benchmark::State& state)
{
    TSQLStringsHolder holder(u"dmAppData"_s);
    holder.SetActiveLanguage(int(state.range(0)));
    for (auto _ : state) {
        holder.ClearParams();
        holder.AddParam(u"EMPLOYEEID"_s, 12);
        holder.AddParam(u"CHECKINTIMESTAMP"_s, u"2026-01-05 08:07:00"_s);
        holder.AddParam(u"STATIONID"_s, 1);
        holder.AddParam(u"SHOULDWORKFOR"_s, 480);
        holder.AddParam(u"TOLERANCE"_s, 5);
        holder.AddParam(u"CHECKEXCEPTION"_s, 1);
        holder.AddParam(u"MINUTESLATE"_s, u"7"_s);
        holder.AddParam(u"CHECKTYPE"_s, 1);
        benchmark::DoNotOptimize(holder.GetStatement(u"CHECKIN"_s));
    }
}
BENCHMARK(BM_CheckInLookupAndFill)->Arg(0)->Arg(2)->ArgName("dialect");

// A note with quotes to double, the worst case of the quoting.
void BM_CheckOutReasonWithQuotedNote(benchmark::State& state)
{
    TSQLStringsHolder holder(u"dmAppData"_s);
    holder.SetActiveLanguage(0);
    const QString note = u"It's O'Brien's turn ''' OR '1'='1"_s.repeated(4);
    for (auto _ : state) {
        holder.ClearParams();
        holder.AddParam(u"CHECKOUTTIMESTAMP"_s, u"2026-01-05 17:00:00"_s);
        holder.AddParam(u"STATIONID"_s, 1);
        holder.AddParam(u"REASONID"_s, 3);
        holder.AddParam(u"NOTE"_s, note);
        holder.AddParam(u"CHECKEXCEPTION"_s, 0);
        holder.AddParam(u"MINUTESLATE"_s, u"0"_s);
        holder.AddParam(u"CHECKTYPE"_s, 1);
        holder.AddParam(u"WORKED"_s, u"533"_s);
        holder.AddParam(u"CHECKID"_s, 9);
        benchmark::DoNotOptimize(holder.GetStatement(u"CHECKOUTREASON"_s));
    }
}
BENCHMARK(BM_CheckOutReasonWithQuotedNote);

// Lookup alone: a name only the LOCAL set holds, asked with MSSQL active (three sets searched).
void BM_FallbackLookupNoParams(benchmark::State& state)
{
    TSQLStringsHolder holder(u"dmAppData"_s);
    holder.SetActiveLanguage(Dialect::MSSQL);
    for (auto _ : state)
        benchmark::DoNotOptimize(holder.GetStatement(u"GETEMPLOYEESCHEDULE"_s));
}
BENCHMARK(BM_FallbackLookupNoParams);

} // namespace

BENCHMARK_MAIN();
