// The cost of one timer tick (send a frame, count it, show the rate) per mode and error rate.
// The fast run ticks every 10 ms, so a tick must stay far below a millisecond.

#include <array>
#include <string>

#include <benchmark/benchmark.h>

#include "channel/run_control.h"
#include "core/frame.h"

namespace {

void BM_RunTick(benchmark::State& state, const std::string& modeText, const char* rate) {
    bitwatch::Form form;
    bitwatch::Startup(form);
    form.cmbMode.SetText(modeText);
    form.cmbErrorRate.SetText(rate);
    for (auto _ : state) {
        bitwatch::RunTick(form);
        benchmark::DoNotOptimize(form.lblUER.text.data());
    }
    state.counters["undetected_rate"] =
        static_cast<double>(form.undetectedCount) / static_cast<double>(form.frameCount);
}

[[maybe_unused]] const bool kRegistered = [] {
    for (const bitwatch::ModeRow& row : bitwatch::kModeTable) {
        const std::string mode(row.text);
        for (const char* rate : {"1", "100"}) {
            benchmark::RegisterBenchmark(("RunTick/" + mode + "/" + rate + "%").c_str(), BM_RunTick,
                                         mode, rate);
        }
    }
    return true;
}();

} // namespace
