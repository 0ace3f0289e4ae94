#include "ui/events.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace bitwatch {
namespace {

using test::StartIn;
using test::Texts;

// What no control could deliver leaves the form exactly as it was.
TEST(RunEvent, IgnoresWhatNoControlCouldDeliver) {
    Form form;
    StartIn(form, "Parity 8");
    form.cmbErrorRate.SetText("50");
    const auto snapshot = [&form] {
        return Texts(form.row1) + Texts(form.parity) + Texts(form.sum2) + form.lblResult.text +
               std::to_string(form.frameCount) + std::to_string(form.random.drawCount());
    };
    const std::string before = snapshot();
    for (const Event& event : {
             Event{EventKind::ClickData, -1, {}}, Event{EventKind::ClickData, 96, {}},
             Event{EventKind::ClickParity, 32767, {}},
             Event{EventKind::ClickParity, 50, {}}, // hidden in Parity 8: only 55, 63, ... show
             Event{EventKind::ClickCheck, 0, {}},   // the check byte is hidden in Parity 8
             Event{EventKind::ClickCheck, -32768, {}}, Event{EventKind::ModePicked, 8, {}},
             Event{EventKind::ModePicked, -1, {}},
             Event{EventKind::Tick, 0, {}}, // the timer is off
         }) {
        RunEvent(form, event);
        EXPECT_EQ(snapshot(), before) << DescribeEvent(event);
    }
    RunEvent(form, {EventKind::ClickParity, 55, {}});
    EXPECT_EQ(form.parity[55].text, "1");
}

TEST(RunEvent, PickingAnEntrySetsItsTextAndAppliesItsMode) {
    Form form;
    StartIn(form, "None");
    RunEvent(form, {EventKind::ModePicked, 7, {}});
    EXPECT_EQ(form.cmbMode.text(), "CRC-8");
    EXPECT_EQ(form.codeMode, ModeCrc8);
    // Picking what the box already reads still resets.
    RunEvent(form, {EventKind::ClickData, 60, {}});
    RunEvent(form, {EventKind::ModePicked, 7, {}});
    EXPECT_EQ(form.row1[60].text, "0");
}

TEST(AnnouncesVerdict, SpeaksForUserActionsAndSlowRunsButNotForFastOnes) {
    Form form;
    StartIn(form, "CRC-8");
    const auto run = [&form](EventKind kind) {
        const Timer before = form.Timer1;
        RunEvent(form, {kind, 50, {}});
        return AnnouncesVerdict({kind, 50, {}}, before, form.Timer1);
    };
    EXPECT_TRUE(run(EventKind::ClickData));
    EXPECT_TRUE(run(EventKind::PressOne));
    EXPECT_FALSE(run(EventKind::PressReset));
    EXPECT_TRUE(run(EventKind::PressRun));  // starts the slow run with a frame
    EXPECT_TRUE(run(EventKind::Tick));      // a slow run's frame
    EXPECT_FALSE(run(EventKind::PressRun)); // to the fast run: no frame
    EXPECT_FALSE(run(EventKind::Tick));     // a fast run's frame
    EXPECT_FALSE(run(EventKind::PressRun)); // stops

    // A search speaks once, on the frame it stopped on.
    StartIn(form, "Parity 48");
    form.cmbErrorRate.SetText("30");
    EXPECT_FALSE(run(EventKind::PressFind));
    int spoken = 0;
    while (form.Timer1.enabled()) {
        spoken += run(EventKind::Tick) ? 1 : 0;
    }
    EXPECT_EQ(spoken, 1);
    EXPECT_EQ(form.lblResult.text, "Undetected Errors");
}

} // namespace
} // namespace bitwatch
