#pragma once

// The packed channel's frames with the draws of one stream computed side by side: lane j of a
// vector holds the generator's state n + j, and every step moves all lanes on by the lane count
// with one affine map, so the draws come out in exactly the scalar order and every count is the
// scalar channel's. The widest instruction set the processor has (AVX-512, AVX2, SSE4, or plain
// 128-bit emulation) is chosen at run time, so one binary runs everywhere.

#include <cstdint>
#include <string>
#include <vector>

#include "stats/packed_channel.h"

namespace bitwatch::stats {

struct FrameRun {
    std::int64_t frames = 0;
    std::int64_t undetected = 0;
};

// Sends up to `frames` frames from the stream whose next draw is made from `state`. With
// stopAfter > 0 it stops after the stopAfter-th undetected frame, and undetectedAt (room for
// stopAfter numbers) receives the numbers, from 0, of the undetected frames.
FrameRun SendFrames(const PackedChannel& channel, std::uint64_t state, std::int64_t frames,
                    std::int64_t stopAfter = 0, std::int64_t* undetectedAt = nullptr);

// The instruction sets compiled in that this processor has, widest first.
std::vector<std::int64_t> VectorTargets();
std::string VectorTargetName(std::int64_t target);
// The one SendFrames uses now.
std::int64_t ChosenVectorTarget();
// Makes SendFrames use `target` from now on, or the widest again for 0: for tests and
// measurements.
void ForceVectorTarget(std::int64_t target);

} // namespace bitwatch::stats
