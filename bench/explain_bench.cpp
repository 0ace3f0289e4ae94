// The cost of explaining one frame, and of the whole companion beside it (the explanation as
// HTML with the exact odds), per mode, on a frame damaged at 5 %. The companion follows every
// event of a slow run; the goal is at most 20 us for the explanation.

#include <string>

#include <benchmark/benchmark.h>

#include "channel/run_control.h"
#include "core/explain.h"
#include "ui/companion.h"

namespace {

void StartDamaged(bitwatch::Form& form, const std::string& modeText) {
    bitwatch::Startup(form);
    form.cmbMode.SetText(modeText);
    form.cmbErrorRate.SetText("5");
    bitwatch::SendOne(form);
}

void BM_Explain(benchmark::State& state, const std::string& modeText) {
    bitwatch::Form form;
    StartDamaged(form, modeText);
    for (auto _ : state) {
        benchmark::DoNotOptimize(bitwatch::Explain(form));
    }
}

void BM_CompanionHtml(benchmark::State& state, const std::string& modeText) {
    bitwatch::Form form;
    StartDamaged(form, modeText);
    for (auto _ : state) {
        benchmark::DoNotOptimize(bitwatch::CompanionHtml(form));
    }
}

[[maybe_unused]] const bool kRegistered = [] {
    for (const bitwatch::ModeRow& row : bitwatch::kModeTable) {
        const std::string mode(row.text);
        benchmark::RegisterBenchmark(("Explain/" + mode).c_str(), BM_Explain, mode);
        benchmark::RegisterBenchmark(("CompanionHtml/" + mode).c_str(), BM_CompanionHtml, mode);
    }
    return true;
}();

} // namespace
