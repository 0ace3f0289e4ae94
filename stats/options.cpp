#include "stats/options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "stats/code_shape.h"

namespace bitwatch::stats {

namespace {

constexpr std::array<std::string_view, 6> kValueOptions = {
    "--modes", "--rates", "--frames", "--until-undetected", "--seed", "--threads"};

std::vector<std::string> AllModes() {
    std::vector<std::string> names;
    names.reserve(kModeTable.size());
    for (const ModeRow& row : kModeTable) {
        names.emplace_back(row.text);
    }
    return names;
}

std::vector<std::string> SplitList(std::string_view text) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = text.find(',', start);
        const std::size_t end = comma == std::string_view::npos ? text.size() : comma;
        items.emplace_back(text.substr(start, end - start));
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    return items;
}

template <typename Number> bool ParseWhole(std::string_view text, Number& value) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc{} && stop == end;
}

bool ValidRate(const std::string& text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc{} && stop == end && std::isfinite(value) && value >= 0 &&
           value <= 100;
}

} // namespace

std::string UsageText() {
    return R"(Usage: bitwatch-stats [OPTIONS]

Sends frames through the demo's noisy channel as fast as the machine allows and compares the
measured undetected-error rate of each code with its exact value on a binary symmetric channel.

Options:
  --modes LIST           comma-separated mode texts of the demo (default: all twelve), e.g.
                         --modes "Parity 8,CRC-8"
  --rates LIST           comma-separated bit error rates in percent, 0 to 100
                         (default: 0.1,1,5)
  --frames N             frames per row (default 1000000); with --until-undetected, the most
                         frames a row may take
  --until-undetected K   stop a row after K frames with undetected errors, as "Find UE" does
                         (with several threads each stops at its next frame, so a row may
                         count a few more than K)
  --seed S               start the generator from S (default: the demo's own start state, so
                         that with --threads 1 a row is exactly what the demo would show)
  --threads T            worker threads per row (default: the number of cores)
  --csv                  comma-separated values instead of a table
  --exact-only           print only the exact probabilities, without sending frames
  --help                 show this text
  --version              show the version

A row's mark "*" says that the exact value lies outside the 95 % Wilson interval of the
measured rate (expected for about one row in twenty).
)";
}

ParsedOptions ParseOptions(std::span<const std::string_view> arguments, int defaultThreads) {
    ParsedOptions parsed;
    Options& options = parsed.options;
    options.modes = AllModes();
    options.rates = {"0.1", "1", "5"};
    options.threads = defaultThreads;
    bool framesGiven = false;

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view argument = arguments[i];
        std::string_view name = argument;
        std::optional<std::string_view> value;
        if (const std::size_t equals = argument.find('='); equals != std::string_view::npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
        }
        std::string_view text; // the value of an option that takes one
        if (std::find(kValueOptions.begin(), kValueOptions.end(), name) != kValueOptions.end()) {
            if (value) {
                text = *value;
            } else if (i + 1 < arguments.size()) {
                text = arguments[++i];
            } else {
                parsed.error = "option " + std::string(name) + " needs a value";
                return parsed;
            }
        }
        const auto flag = [&](bool& target) {
            if (value) {
                parsed.error = "option " + std::string(name) + " takes no value";
            }
            target = true;
        };

        if (name == "--help" || name == "-h") {
            flag(options.help);
        } else if (name == "--version") {
            flag(options.version);
        } else if (name == "--csv") {
            flag(options.csv);
        } else if (name == "--exact-only") {
            flag(options.exactOnly);
        } else if (name == "--modes") {
            options.modes = SplitList(text);
            for (const std::string& mode : options.modes) {
                if (!ShapeOfMode(mode)) {
                    parsed.error = "unknown mode \"" + mode + "\"; the modes are " +
                                   std::string(ModeNamesList());
                    return parsed;
                }
            }
        } else if (name == "--rates") {
            options.rates = SplitList(text);
            for (const std::string& rate : options.rates) {
                if (!ValidRate(rate)) {
                    parsed.error =
                        "bad rate \"" + rate + "\": give a number of percent from 0 to 100";
                    return parsed;
                }
            }
        } else if (name == "--frames" || name == "--until-undetected") {
            std::int64_t count = 0;
            if (!ParseWhole(text, count) || count < 1) {
                parsed.error = "bad count \"" + std::string(text) + "\" for " + std::string(name) +
                               ": give a whole number of at least 1";
                return parsed;
            }
            if (name == "--frames") {
                options.frames = count;
                framesGiven = true;
            } else {
                options.untilUndetected = count;
            }
        } else if (name == "--seed") {
            std::uint64_t seed = 0;
            if (!ParseWhole(text, seed)) {
                parsed.error = "bad seed \"" + std::string(text) + "\": give a whole number";
                return parsed;
            }
            options.seed = seed;
        } else if (name == "--threads") {
            int threads = 0;
            if (!ParseWhole(text, threads) || threads < 1 || threads > 256) {
                parsed.error = "bad thread count \"" + std::string(text) + "\": give 1 to 256";
                return parsed;
            }
            options.threads = threads;
        } else {
            parsed.error = "unknown option \"" + std::string(argument) + "\"";
        }
        if (!parsed.error.empty()) {
            return parsed;
        }
    }
    if (options.untilUndetected && !framesGiven) {
        options.frames = 1'000'000'000; // a search's cap, unless told otherwise
    }
    return parsed;
}

} // namespace bitwatch::stats
