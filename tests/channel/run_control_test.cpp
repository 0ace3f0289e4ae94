#include "channel/run_control.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "channel/rate_text.h"
#include "tests/test_support.h"

namespace bitwatch {
namespace {

using test::StartIn;

void ExpectState(const Form& form, const char* caption, bool enabled, int interval,
                 std::int16_t stop, const std::string& why) {
    EXPECT_EQ(form.Command4.caption, caption) << why;
    EXPECT_EQ(form.Timer1.enabled(), enabled) << why;
    EXPECT_EQ(form.Timer1.interval(), interval) << why;
    EXPECT_EQ(form.stopOnUndetected, stop) << why;
}

TEST(CycleRun, StartFastStopStart) {
    Form form;
    StartIn(form, "CRC-8");
    ExpectState(form, "Start", false, 10000, kFalse, "after start-up");

    CycleRun(form);
    ExpectState(form, "Fast", true, 1000, kFalse, "slow run");
    EXPECT_EQ(form.frameCount, 1) << "the first frame is sent and counted on the press";
    EXPECT_EQ(form.random.drawCount(), 152U);
    EXPECT_EQ(form.lblUER.text, form.lblResult.text == "Undetected Errors" ? " 100" : " 0");

    CycleRun(form);
    ExpectState(form, "Stop", true, 10, kFalse, "fast run");
    EXPECT_EQ(form.frameCount, 1);

    CycleRun(form);
    ExpectState(form, "Start", false, 10000, kFalse, "stopped");
    EXPECT_EQ(form.frameCount, 1);
}

TEST(RunTick, CountsEveryFrameAndShowsTheExactRate) {
    Form form;
    StartIn(form, "Parity 48");
    form.cmbErrorRate.SetText("5");
    std::int64_t undetected = 0;
    for (int tick = 1; tick <= 500; ++tick) {
        RunTick(form);
        undetected += form.lblResult.text == "Undetected Errors" ? 1 : 0;
        ASSERT_EQ(form.frameCount, tick);
        ASSERT_EQ(form.undetectedCount, undetected);
        ASSERT_EQ(form.lblUER.text, RateText(undetected, tick));
    }
    EXPECT_GT(undetected, 0) << "two errors in 49 bits at 5 % happen in 500 frames";
}

TEST(RunTick, WithoutErrorsTheRateReadsZeroWithItsBlank) {
    Form form;
    StartIn(form, "Checksum");
    form.cmbErrorRate.SetText("0");
    EXPECT_EQ(form.lblUER.text, "0.00");
    for (int tick = 0; tick < 30; ++tick) {
        RunTick(form);
    }
    EXPECT_EQ(form.lblUER.text, " 0");
}

TEST(RunTick, CountersContinuePastThirtyTwoBits) {
    Form form;
    StartIn(form, "None");
    form.cmbErrorRate.SetText("100");
    form.frameCount = 2'147'483'647;
    form.undetectedCount = 2'147'483'646;
    RunTick(form);
    EXPECT_EQ(form.frameCount, 2'147'483'648);
    EXPECT_EQ(form.undetectedCount, 2'147'483'647);
    EXPECT_EQ(form.lblUER.text, " 99.99");
}

TEST(SendOne, StopsAnyRunAndSendsAnUncountedFrame) {
    struct Start {
        const char* name;
        void (*enter)(Form&);
    };
    const std::vector<Start> starts = {
        {"stopped",
         [](Form&) {
         }},
        {"slow run",
         [](Form& f) {
             CycleRun(f);
         }},
        {"fast run",
         [](Form& f) {
             CycleRun(f);
             CycleRun(f);
         }},
        {"search",
         [](Form& f) {
             FindUndetected(f);
         }},
    };
    for (const Start& start : starts) {
        Form form;
        StartIn(form, "Checksum");
        form.cmbErrorRate.SetText("100");
        start.enter(form);
        const std::int64_t frames = form.frameCount;
        const std::string rate = form.lblUER.text;
        const std::uint64_t draws = form.random.drawCount();
        form.lblResult.text = "old";
        SendOne(form);
        ExpectState(form, "Start", false, 10000, kFalse, start.name);
        EXPECT_EQ(form.frameCount, frames) << start.name;
        EXPECT_EQ(form.lblUER.text, rate) << start.name;
        EXPECT_EQ(form.random.drawCount() - draws, 152U) << start.name;
        EXPECT_EQ(form.lblResult.text, "Errors Detected") << start.name;
    }
}

TEST(FindUndetected, SearchStopsOnTheFirstUndetectedErrorWithTheFrameCounted) {
    Form form;
    StartIn(form, "Parity 6");
    form.cmbErrorRate.SetText("5");
    FindUndetected(form);
    ExpectState(form, "Stop", true, 10, kTrue, "search");
    EXPECT_EQ(form.frameCount, 0) << "no frame is sent on the press";
    int ticks = 0;
    while (form.Timer1.enabled() && ticks < 100000) {
        RunTick(form);
        ++ticks;
        if (form.Timer1.enabled()) {
            ASSERT_NE(form.lblResult.text, "Undetected Errors");
        }
    }
    EXPECT_EQ(form.lblResult.text, "Undetected Errors");
    ExpectState(form, "Start", false, 10, kTrue, "search that stopped itself");
    EXPECT_EQ(form.frameCount, ticks);
    EXPECT_EQ(form.undetectedCount, 1);
}

TEST(FindUndetected, WithoutACodeStopsAtTheFirstDamagedFrame) {
    Form form;
    StartIn(form, "None");
    form.cmbErrorRate.SetText("1");
    FindUndetected(form);
    int ticks = 0;
    while (form.Timer1.enabled() && ticks < 10000) {
        RunTick(form);
        ++ticks;
        const bool damaged =
            test::Texts(form.row1).substr(0, 48) != test::Texts(form.row1).substr(48);
        ASSERT_EQ(damaged, !form.Timer1.enabled()) << "tick " << ticks;
    }
    EXPECT_EQ(form.lblResult.text, "Undetected Errors");
}

TEST(FindUndetected, FromASlowRunKeepsTheCountersAndRunsFast) {
    Form form;
    StartIn(form, "CRC-8");
    CycleRun(form);
    RunTick(form);
    FindUndetected(form);
    ExpectState(form, "Stop", true, 10, kTrue, "search from a slow run");
    EXPECT_EQ(form.frameCount, 2);
}

TEST(FindUndetected, RunButtonOrResetStopsASearch) {
    Form form;
    StartIn(form, "CRC-8");
    FindUndetected(form);
    CycleRun(form);
    ExpectState(form, "Start", false, 10000, kFalse, "run button during a search");

    FindUndetected(form);
    RunTick(form);
    ResetAll(form);
    ExpectState(form, "Start", false, 10000, kFalse, "reset during a search");
    EXPECT_EQ(form.frameCount, 0);
}

} // namespace
} // namespace bitwatch
