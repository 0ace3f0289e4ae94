// Headless soak: a million timer ticks in every code mode, checking after each that the rate
// text is the exact ratio of the counters, and that resident memory stays flat.

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "channel/run_control.h"
#include "core/frame.h"
#include "resident_memory.h"

namespace {

// The rate written out independently of the library: hundredths cut, shortest form.
std::string ExactRate(std::int64_t undetected, std::int64_t frames) {
    const std::int64_t k = undetected * 10000 / frames;
    std::string text = std::to_string(k / 100);
    const std::int64_t fraction = k % 100;
    if (fraction != 0) {
        text += '.';
        text += static_cast<char>('0' + fraction / 10);
        if (fraction % 10 != 0) {
            text += static_cast<char>('0' + fraction % 10);
        }
    }
    return (k > 0 && k < 100) ? text : " " + text;
}

} // namespace

int main(int argc, char* argv[]) {
    const long ticks = argc > 1 ? std::atol(argv[1]) : 1'000'000;
    const char* rate = argc > 2 ? argv[2] : "5";

    bitwatch::Form form;
    bitwatch::Startup(form);
    form.cmbErrorRate.SetText(rate);
    const long startKiB = bitwatch::bench::ResidentKiB();
    int failures = 0;
    for (const bitwatch::ModeRow& row : bitwatch::kModeTable) {
        const std::string mode(row.text);
        form.cmbMode.SetText(mode);
        bitwatch::CycleRun(form); // slow run: one frame at once
        bitwatch::CycleRun(form); // fast run
        for (long tick = 1; tick < ticks; ++tick) {
            bitwatch::RunTick(form);
            if (form.lblUER.text != ExactRate(form.undetectedCount, form.frameCount)) {
                ++failures;
            }
        }
        std::printf("%-10s %ld ticks at %s %%: %lld undetected, rate \"%s\", resident %ld KiB\n",
                    mode.c_str(), ticks, rate, static_cast<long long>(form.undetectedCount),
                    form.lblUER.text.c_str(), bitwatch::bench::ResidentKiB());
    }
    const long endKiB = bitwatch::bench::ResidentKiB();
    std::printf("resident memory: %ld KiB at start, %ld KiB at end; rate mismatches: %d\n",
                startKiB, endKiB, failures);
    return failures == 0 ? 0 : 1;
}
