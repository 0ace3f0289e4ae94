// Frames per second of the command-line tool's packed channel against the same loop over the
// window's cell records, per mode at 1 % (one core).

#include <array>
#include <string>

#include <benchmark/benchmark.h>

#include "channel/send_frame.h"
#include "core/frame.h"
#include "stats/packed_channel.h"

namespace {

constexpr std::array<const char*, 5> kModes = {"None", "Parity 8", "Parity 6V", "Internet",
                                               "CRC-8"};

void BM_CellRecords(benchmark::State& state, const char* modeText) {
    bitwatch::Form form;
    bitwatch::Startup(form);
    form.cmbMode.SetText(modeText);
    form.cmbErrorRate.SetText("1");
    std::int64_t undetected = 0;
    for (auto _ : state) {
        bitwatch::SendFrame(form);
        undetected += form.lblResult.text == bitwatch::kVerdictUndetected ? 1 : 0;
    }
    benchmark::DoNotOptimize(undetected);
    state.SetItemsProcessed(state.iterations());
}

void BM_PackedBits(benchmark::State& state, const char* modeText) {
    const bitwatch::stats::PackedChannel channel(*bitwatch::stats::ShapeOfMode(modeText),
                                                 bitwatch::FlipProbability("1"));
    bitwatch::RandomSource random;
    std::int64_t undetected = 0;
    for (auto _ : state) {
        undetected += channel.SendFrame(random) ? 1 : 0;
    }
    benchmark::DoNotOptimize(undetected);
    state.SetItemsProcessed(state.iterations());
}

[[maybe_unused]] const bool kRegistered = [] {
    for (const char* mode : kModes) {
        benchmark::RegisterBenchmark((std::string("CellRecords/") + mode).c_str(), BM_CellRecords,
                                     mode);
        benchmark::RegisterBenchmark((std::string("PackedBits/") + mode).c_str(), BM_PackedBits,
                                     mode);
    }
    return true;
}();

} // namespace
