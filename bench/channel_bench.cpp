// Frames per second of the command-line tool's packed channel against the same loop over the
// window's cell records, per mode at 1 % (one core); the same for the companion's k-bit and
// burst channels, in the window's records and in bitwatch-stats' model rows; and the exact
// tables of every mode for every k and every L.

#include <array>
#include <string>

#include <benchmark/benchmark.h>

#include "channel/send_frame.h"
#include "core/frame.h"
#include "stats/exact.h"
#include "stats/exact_models.h"
#include "stats/known_odds.h"
#include "stats/model_channel.h"
#include "stats/packed_channel.h"

namespace {

constexpr std::array<const char*, 5> kModes = {"None", "Parity 8", "Parity 6V", "Internet",
                                               "CRC-8"};

using bitwatch::ErrorModel;
using bitwatch::ErrorModelKind;

// The companion's channels worth timing: few flips, and bursts short and as long as the frame.
constexpr std::array<ErrorModel, 4> kModels = {{{ErrorModelKind::ExactBits, 2},
                                                {ErrorModelKind::Burst, 8},
                                                {ErrorModelKind::Burst, 56},
                                                {ErrorModelKind::RandomBits, 2}}};

std::string ModelName(const ErrorModel& model) {
    switch (model.kind) {
    case ErrorModelKind::ExactBits:
        return std::to_string(model.size) + " bits";
    case ErrorModelKind::Burst:
        return "burst " + std::to_string(model.size);
    case ErrorModelKind::RandomBits:
        break;
    }
    return "1 %";
}

void BM_CellRecords(benchmark::State& state, const char* modeText, ErrorModel model) {
    bitwatch::Form form;
    bitwatch::Startup(form);
    form.cmbMode.SetText(modeText);
    form.cmbErrorRate.SetText("1");
    form.errorModel = model;
    std::int64_t undetected = 0;
    for (auto _ : state) {
        bitwatch::SendFrame(form);
        undetected += form.lblResult.text == bitwatch::kVerdictUndetected ? 1 : 0;
    }
    benchmark::DoNotOptimize(undetected);
    state.SetItemsProcessed(state.iterations());
}

// Frames through a channel of bitwatch-stats, one after another from the demo's start state.
template <typename Channel> void SendFrames(benchmark::State& state, const Channel& channel) {
    bitwatch::RandomSource random;
    std::int64_t undetected = 0;
    for (auto _ : state) {
        undetected += channel.SendFrame(random) ? 1 : 0;
    }
    benchmark::DoNotOptimize(undetected);
    state.SetItemsProcessed(state.iterations());
}

void BM_PackedBits(benchmark::State& state, const char* modeText) {
    SendFrames(state, bitwatch::stats::PackedChannel(*bitwatch::stats::ShapeOfMode(modeText),
                                                     bitwatch::FlipProbability("1")));
}

void BM_ModelRow(benchmark::State& state, const char* modeText, ErrorModel model) {
    SendFrames(state,
               bitwatch::stats::ModelChannel(*bitwatch::stats::ShapeOfMode(modeText), model));
}

void BM_ExactTables(benchmark::State& state) {
    for (auto _ : state) {
        for (const bitwatch::ModeRow& row : bitwatch::kModeTable) {
            const auto shape = *bitwatch::stats::ShapeOfMode(row.text);
            const int n = bitwatch::stats::SentBits(shape);
            benchmark::DoNotOptimize(bitwatch::stats::ErrorShares(shape, n));
            benchmark::DoNotOptimize(bitwatch::stats::BurstShares(shape, n));
        }
    }
}

// The exact odds at a rate asked for the first time, as the companion asks at each keystroke of
// the rate box: the mixture of the built-in shares, and the programme it replaces.
void BM_ExactAtNewRate(benchmark::State& state, const char* modeText, bool programme) {
    const auto shape = *bitwatch::stats::ShapeOfMode(modeText);
    double p = 0.01;
    for (auto _ : state) {
        p = p < 0.5 ? p * 1.01 : 0.01;
        benchmark::DoNotOptimize(programme ? bitwatch::stats::UndetectedProbability(shape, p)
                                           : bitwatch::stats::UndetectedAtRate(shape, p));
    }
}

[[maybe_unused]] const bool kRegistered = [] {
    benchmark::RegisterBenchmark("ExactTables/every mode, k and L", BM_ExactTables)
        ->Unit(benchmark::kMillisecond);
    for (const char* mode : {"Parity 8", "Parity 6V", "Checksum", "Internet", "CRC-8"}) {
        benchmark::RegisterBenchmark((std::string("ExactAtNewRate/mixture/") + mode).c_str(),
                                     BM_ExactAtNewRate, mode, false);
        benchmark::RegisterBenchmark((std::string("ExactAtNewRate/programme/") + mode).c_str(),
                                     BM_ExactAtNewRate, mode, true)
            ->Unit(benchmark::kMicrosecond);
    }
    for (const char* mode : kModes) {
        for (const ErrorModel& model : kModels) {
            const std::string name = std::string(mode) + "/" + ModelName(model);
            benchmark::RegisterBenchmark(("CellRecords/" + name).c_str(), BM_CellRecords, mode,
                                         model);
            if (model.kind != ErrorModelKind::RandomBits) {
                benchmark::RegisterBenchmark(("ModelRow/" + name).c_str(), BM_ModelRow, mode,
                                             model);
            }
        }
        benchmark::RegisterBenchmark((std::string("PackedBits/") + mode).c_str(), BM_PackedBits,
                                     mode);
    }
    return true;
}();

} // namespace
