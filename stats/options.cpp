#include "stats/options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include "stats/code_shape.h"
#include "stats/exact_models.h"

namespace bitwatch::stats {

namespace {

constexpr std::array<std::string_view, 8> kValueOptions = {
    "--modes", "--rates",  "--errors", "--bursts", "--frames", "--until-undetected",
    "--seed",  "--threads"};

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

// A text from the command line, quoted for a message and cut to about 60 characters (between
// UTF-8 characters, never inside one), so that a huge argument is not echoed whole.
std::string Quoted(std::string_view text) {
    constexpr std::size_t kShown = 57;
    std::string quoted = "'";
    if (text.size() <= kShown + 3) {
        quoted += text;
    } else {
        std::size_t cut = kShown;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0U) == 0x80U) {
            --cut; // a UTF-8 continuation byte: back to the start of its character
        }
        quoted += text.substr(0, cut);
        quoted += "...";
    }
    return quoted + "'";
}

enum class ParsedWhole { Ok, TooLarge, Bad };

// A whole number of at most `largest`; text such as "+1", " 1" or "1.0" is not one.
template <typename Number>
ParsedWhole ParseWhole(std::string_view text, Number& value, Number largest) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (stop != end || text.empty()) {
        return ParsedWhole::Bad;
    }
    if (error == std::errc::result_out_of_range) {
        return text.front() == '-' ? ParsedWhole::Bad : ParsedWhole::TooLarge;
    }
    if (error != std::errc{}) {
        return ParsedWhole::Bad;
    }
    return value > largest ? ParsedWhole::TooLarge : ParsedWhole::Ok;
}

// A rate's text, checked; the error is empty when it is a number of percent from 0 to 100. A
// negative zero is read as 0 and written back as "0".
std::string CheckRate(std::string& text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    const std::string bad = "bad rate " + Quoted(text) + ": ";
    if (stop != end || text.empty() ||
        (error != std::errc{} && error != std::errc::result_out_of_range)) {
        return bad + "give a number of percent from 0 to 100";
    }
    if (error == std::errc::result_out_of_range) {
        // from_chars says out of range both for too large and for too small to represent; the
        // exponent tells which.
        const std::size_t exponent = text.find_first_of("eE");
        const bool tiny = exponent != std::string::npos && exponent + 1 < text.size() &&
                          text[exponent + 1] == '-';
        return bad + (tiny ? "too small to represent; give 0 or a rate of at least 1e-300"
                           : "too large; give a number of percent from 0 to 100");
    }
    if (!std::isfinite(value) || value < 0 || value > 100) {
        return bad + "give a number of percent from 0 to 100";
    }
    if (value == 0) {
        text = "0";
    }
    return {};
}

// A list of bit counts such as "1-8,12": each a whole number or a range of them, 1 to the
// longest frame. The error is empty when the list was understood.
std::string ReadSizes(std::string_view option, std::string_view text, std::vector<int>& sizes) {
    sizes.clear();
    for (const std::string& item : SplitList(text)) {
        const std::size_t dash = item.find('-', 1);
        const std::string_view first = std::string_view(item).substr(0, dash);
        const std::string_view last =
            dash == std::string::npos ? first : std::string_view(item).substr(dash + 1);
        int low = 0;
        int high = 0;
        if (ParseWhole(first, low, kLongestFrame) != ParsedWhole::Ok ||
            ParseWhole(last, high, kLongestFrame) != ParsedWhole::Ok || low < 1 || high < low) {
            return "bad bit count " + Quoted(item) + " for " + std::string(option) +
                   ": give whole numbers or ranges such as 1-8, from 1 to " +
                   std::to_string(kLongestFrame) + " (the longest frame)";
        }
        for (int size = low; size <= high; ++size) {
            if (std::find(sizes.begin(), sizes.end(), size) == sizes.end()) {
                sizes.push_back(size);
            }
        }
    }
    return {};
}

} // namespace

std::string UsageText() {
    return R"(Usage: bitwatch-stats [OPTIONS]

Sends frames through the demo's noisy channel as fast as the machine allows and compares the
measured undetected-error rate of each code with its exact value for that channel.

Options:
  --modes LIST           comma-separated mode texts of the demo (default: all twelve), e.g.
                         --modes "Parity 8,CRC-8"
  --rates LIST           comma-separated bit error rates in percent, 0 to 100
                         (default: 0.1,1,5)
  --errors K_LIST        instead of rates: exactly K bits flip in each frame, every set of K
                         equally likely, e.g. --errors 1-8 or --errors 2,4 (1 to 96; a K beyond
                         a code's frame gives no row for that code)
  --bursts L_LIST        instead of rates: one burst of L bits in each frame, starting anywhere
                         in the order sent, its first and last bit flipped and each between
                         them with odds 1/2, e.g. --bursts 1-56
  --frames N             frames per row (default 1000000, at most 10^15); with
                         --until-undetected, the most frames a row may take (default there:
                         1000000000)
  --until-undetected K   stop a row at its K-th frame with undetected errors, as "Find UE" does
                         for K = 1 (at most 10^15); refused for a row whose exact value is 0
  --seed S               start each row's generator from S, mixed with the row's code and rate
                         (default: the demo's own start state, so that a row is exactly what
                         the demo shows from launch)
  --threads T            worker threads per row (default: the number of cores); the results
                         are the same for every T
  --csv                  comma-separated values instead of a table
  --exact-only           print only the exact probabilities, without sending frames
  --quiet                no progress display (shown on a terminal for runs of over 2 s)
  --verbose              say on standard error which instruction set computes the draws
  --help                 show this text
  --version              show the version

The exact value is the probability of the verdict "Undetected Errors" on the demo's channel:
each bit flips independently with the rate rounded to single precision and compared with draws
in steps of 2^-24, so very small rates act as the nearest step above (1e-7 % flips like
2^-24), and a data bit is "1" with probability 1/2 - 2^-24.

The frames' draws are computed several at a time in the widest vector instructions the
processor has (AVX-512, AVX2, SSE4, or plain code), chosen at run time; the counts are the same
on every one (--verbose names it). About 9 M frames a second per core with AVX2, 2.5 to 3 times
a plain loop over the same generator; AVX-512 multiplies 64-bit lanes directly.

With --errors or --bursts the exact column is the share of such frames that go undetected,
and each row is sent on one thread (rows run side by side): its draws depend on the frame,
so the frames of an unseeded row are exactly those the demo's companion sends from launch.

The 95 % interval is Wilson's for a row of a fixed number of frames, and the exact interval for
inverse binomial sampling for a row that stopped at its K-th undetected frame. A row's mark "*"
says that the exact value lies outside it (expected for at most about one row in twenty).

Exit status: 0 on success, 1 when the results cannot be written, 2 for a bad option.
)";
}

namespace {

// What the arguments have said so far that the options themselves do not hold.
struct Parsing {
    bool framesGiven = false;
    std::vector<std::string_view> channels; // --rates, --errors, --bursts as given
};

// The switches, each setting one member of the options.
struct Switch {
    std::string_view name;
    bool Options::*member;
};
constexpr std::array<Switch, 7> kSwitches{{
    {"--help", &Options::help},
    {"-h", &Options::help},
    {"--version", &Options::version},
    {"--csv", &Options::csv},
    {"--exact-only", &Options::exactOnly},
    {"--quiet", &Options::quiet},
    {"--verbose", &Options::verbose},
}};

std::string ReadModes(std::string_view text, Options& options) {
    options.modes = SplitList(text);
    for (const std::string& mode : options.modes) {
        if (!ShapeOfMode(mode)) {
            return "unknown mode " + Quoted(mode) + "; the modes are " +
                   std::string(ModeNamesList());
        }
    }
    return {};
}

std::string ReadRates(std::string_view text, Options& options) {
    options.rates = SplitList(text);
    for (std::string& rate : options.rates) {
        if (std::string error = CheckRate(rate); !error.empty()) {
            return error;
        }
    }
    return {};
}

std::string ReadCount(std::string_view name, std::string_view text, Options& options,
                      Parsing& parsing) {
    const std::int64_t largest = name == "--frames" ? kMaxFrames : kMaxUntilUndetected;
    std::int64_t count = 0;
    const ParsedWhole whole = ParseWhole(text, count, largest);
    if (whole == ParsedWhole::TooLarge) {
        return "count " + Quoted(text) + " for " + std::string(name) +
               " is too large: give at most " + std::to_string(largest);
    }
    if (whole != ParsedWhole::Ok || count < 1) {
        return "bad count " + Quoted(text) + " for " + std::string(name) +
               ": give a whole number of at least 1";
    }
    if (name == "--frames") {
        options.frames = count;
        parsing.framesGiven = true;
    } else {
        options.untilUndetected = count;
    }
    return {};
}

std::string ReadSeed(std::string_view text, Options& options) {
    std::uint64_t seed = 0;
    const ParsedWhole whole = ParseWhole(text, seed, std::numeric_limits<std::uint64_t>::max());
    if (whole == ParsedWhole::TooLarge) {
        return "seed " + Quoted(text) + " is too large: give at most " +
               std::to_string(std::numeric_limits<std::uint64_t>::max());
    }
    if (whole != ParsedWhole::Ok) {
        return "bad seed " + Quoted(text) + ": give a whole number";
    }
    options.seed = seed;
    return {};
}

std::string ReadThreads(std::string_view text, Options& options) {
    int threads = 0;
    if (ParseWhole(text, threads, 256) != ParsedWhole::Ok || threads < 1) {
        return "bad thread count " + Quoted(text) + ": give 1 to 256";
    }
    options.threads = threads;
    return {};
}

// An option that takes a value, with its value; the error, or nothing.
std::string ReadValue(std::string_view name, std::string_view text, Options& options,
                      Parsing& parsing) {
    if (name == "--modes") {
        return ReadModes(text, options);
    }
    if (name == "--errors" || name == "--bursts") {
        parsing.channels.push_back(name);
        options.model = name == "--errors" ? ErrorModelKind::ExactBits : ErrorModelKind::Burst;
        return ReadSizes(name, text, options.sizes);
    }
    if (name == "--rates") {
        parsing.channels.push_back(name);
        return ReadRates(text, options);
    }
    if (name == "--frames" || name == "--until-undetected") {
        return ReadCount(name, text, options, parsing);
    }
    return name == "--seed" ? ReadSeed(text, options) : ReadThreads(text, options);
}

// What the options must agree on once all are read: one channel, and sizes the codes can take.
std::string CheckTogether(const Options& options, const Parsing& parsing) {
    for (const std::string_view other : parsing.channels) {
        if (other != parsing.channels.front()) {
            return "options " + Quoted(parsing.channels.front()) + " and " + Quoted(other) +
                   " choose different channels: give one of --rates, --errors, --bursts";
        }
    }
    int longest = 0;
    for (const std::string& mode : options.modes) {
        longest = std::max(longest, SentBits(*ShapeOfMode(mode)));
    }
    for (const int size : options.sizes) {
        if (size > longest) {
            return "no chosen code sends " + std::to_string(size) +
                   " bits: the longest of their frames has " + std::to_string(longest);
        }
    }
    return {};
}

} // namespace

ParsedOptions ParseOptions(std::span<const std::string_view> arguments, int defaultThreads) {
    ParsedOptions parsed;
    Options& options = parsed.options;
    options.modes = AllModes();
    options.rates = {"0.1", "1", "5"};
    options.threads = defaultThreads;
    Parsing parsing;
    for (std::size_t i = 0; i < arguments.size() && parsed.error.empty(); ++i) {
        const std::string_view argument = arguments[i];
        std::string_view name = argument;
        std::optional<std::string_view> value;
        if (const std::size_t equals = argument.find('='); equals != std::string_view::npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
        }
        const auto* found = std::find_if(kSwitches.begin(), kSwitches.end(),
                                         [name](const Switch& s) { return s.name == name; });
        if (found != kSwitches.end()) {
            options.*(found->member) = true;
            if (value) {
                parsed.error = "option " + Quoted(name) + " takes no value";
            }
        } else if (std::find(kValueOptions.begin(), kValueOptions.end(), name) !=
                   kValueOptions.end()) {
            if (!value && i + 1 == arguments.size()) {
                parsed.error = "option " + Quoted(name) + " needs a value";
            } else {
                parsed.error = ReadValue(name, value ? *value : arguments[++i], options, parsing);
            }
        } else if (argument.empty() || argument.front() != '-') {
            parsed.error = "unexpected argument " + Quoted(argument);
        } else {
            parsed.error = "unknown option " + Quoted(argument);
        }
    }
    if (parsed.error.empty()) {
        parsed.error = CheckTogether(options, parsing);
    }
    if (parsed.error.empty() && options.untilUndetected && !parsing.framesGiven) {
        options.frames = 1'000'000'000; // a search's cap, unless told otherwise
    }
    return parsed;
}

} // namespace bitwatch::stats
