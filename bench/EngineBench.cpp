#include <benchmark/benchmark.h>

#include "stopwatch/StopwatchEngine.h"
#include "time/Ticks.h"

namespace {

// Outlets whose clock moves one tick interval per reading and whose painter keeps the text.
class CBenchOutlets : public IStopwatchOutlets
{
public:
    CPreciseTime m_timeNow;
    CString m_strPainted;

    CPreciseTime CaptureTime() override
    {
        m_timeNow.m_ticks += TICK_INTERVAL * TICKS_PER_MILLISECOND;
        return m_timeNow;
    }
    void SetTickTimer(BOOL) override {}
    void ShowStartStopLook(const StartStopLook&) override {}
    void PaintReadout(CString text) override { m_strPainted = text; }
};

}  // namespace

static void BM_EngineTick(benchmark::State& state)
{
    CBenchOutlets outlets;
    CStopwatchEngine engine(outlets);
    engine.StartTiming();
    for (auto _ : state) {
        engine.OnTimer(ID_TICK_TIMER);
        benchmark::DoNotOptimize(outlets.m_strPainted);
    }
}
BENCHMARK(BM_EngineTick);
