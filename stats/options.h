#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/error_model.h"

namespace bitwatch::stats {

// The largest counts accepted: a row of this many frames takes weeks on any machine of today,
// and every sum over the frames' draws stays far inside 64 bits.
inline constexpr std::int64_t kMaxFrames = 1'000'000'000'000'000;
inline constexpr std::int64_t kMaxUntilUndetected = kMaxFrames;

struct Options {
    std::vector<std::string> modes;
    std::vector<std::string> rates;
    // --errors or --bursts: the companion's channels, with their k or L in place of the rates.
    ErrorModelKind model = ErrorModelKind::RandomBits;
    std::vector<int> sizes;
    std::int64_t frames = 1'000'000;
    std::optional<std::int64_t> untilUndetected;
    std::optional<std::uint64_t> seed;
    int threads = 1;
    bool csv = false;
    bool exactOnly = false;
    bool quiet = false;   // no progress display
    bool verbose = false; // say which instruction set draws
    bool help = false;
    bool version = false;
};

struct ParsedOptions {
    Options options;
    std::string error; // empty when the arguments were understood
};

// Parses the arguments after the program name. defaultThreads is used without --threads.
ParsedOptions ParseOptions(std::span<const std::string_view> arguments, int defaultThreads);

std::string UsageText();

} // namespace bitwatch::stats
