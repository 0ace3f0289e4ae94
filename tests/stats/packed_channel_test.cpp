#include "stats/packed_channel.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "channel/send_frame.h"
#include "core/frame.h"
#include "stats/exact.h"

namespace bitwatch::stats {
namespace {

int FramesPerRow() {
    // 100,000 a row, 2.4 million in all; the sanitizer build asks for fewer.
    const char* value = std::getenv("BITWATCH_EQUIVALENCE_FRAMES");
    return value != nullptr ? std::atoi(value) : 100'000;
}

// The packed channel must see exactly what the window sees: the same draws and the same verdict
// for every frame, in every mode.
TEST(PackedChannel, GivesTheCellRecordsVerdictsAndDraws) {
    const int kFramesPerRow = FramesPerRow();
    for (const ModeRow& mode : kModeTable) {
        for (const char* rate : {"1", "30"}) {
            Form form;
            Startup(form);
            form.cmbMode.SetText(std::string(mode.text));
            form.cmbErrorRate.SetText(rate);
            const PackedChannel channel(*ShapeOfMode(mode.text), FlipProbability(rate));
            RandomSource packedRandom;
            int undetected = 0;
            for (int frame = 0; frame < kFramesPerRow; ++frame) {
                SendFrame(form);
                const bool cells = form.lblResult.text == kVerdictUndetected;
                const bool packed = channel.SendFrame(packedRandom);
                ASSERT_EQ(packed, cells) << mode.text << " at " << rate << " %, frame " << frame;
                ASSERT_EQ(packedRandom.drawCount(), form.random.drawCount()) << mode.text;
                undetected += cells ? 1 : 0;
            }
            // Where undetected frames are to be expected, the rows must have compared some.
            const double expected =
                kFramesPerRow *
                UndetectedProbability(*ShapeOfMode(mode.text),
                                      EffectiveFlipProbability(FlipProbability(rate)));
            if (expected > 20) {
                EXPECT_GT(undetected, 0) << mode.text << " at " << rate << " %";
            }
        }
    }
}

} // namespace
} // namespace bitwatch::stats
