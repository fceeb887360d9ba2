#include <benchmark/benchmark.h>

#include "time/DateParts.h"
#include "time/PreciseTimeSpan.h"
#include "time/Ticks.h"

static void BM_FormatReadout(benchmark::State& state)
{
    CPreciseTimeSpan span;
    span.SetSpan(0, 13, 45, 12, 345, 678, 900);
    for (auto _ : state) {
        CString text = span.Format("%H:%M:%S.%s");
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_FormatReadout);

static void BM_DatePartsToTicks(benchmark::State& state)
{
    PreciseDateParts parts{2013, 6, 15, 12, 34, 56, 789, 123, 400, 0, 0};
    int64_t ticks = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(parts);
        DatePartsToTicks(parts, ticks);
        benchmark::DoNotOptimize(ticks);
    }
}
BENCHMARK(BM_DatePartsToTicks);

static void BM_TicksToDateParts(benchmark::State& state)
{
    int64_t ticks = 130'157'732'967'891'234;
    PreciseDateParts parts{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(ticks);
        TicksToDateParts(ticks, parts);
        benchmark::DoNotOptimize(parts);
    }
}
BENCHMARK(BM_TicksToDateParts);
