// bitwatch-stats: what each code misses, measured and predicted, from the command line.

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <future>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "channel/send_frame.h"
#include "stats/exact.h"
#include "stats/options.h"
#include "stats/runner.h"
#include "stats/intervals.h"

namespace {

using namespace bitwatch::stats;

// Draws a progress bar on standard error while `work` runs, once it has taken over a second.
template <typename Work>
auto WithProgress(std::int64_t total, std::atomic<std::int64_t>& done, const std::string& label,
                  Work&& work) {
    const bool terminal = isatty(STDERR_FILENO) != 0;
    auto future = std::async(std::launch::async, std::forward<Work>(work));
    const auto start = std::chrono::steady_clock::now();
    bool drawn = false;
    while (future.wait_for(std::chrono::milliseconds(200)) != std::future_status::ready) {
        if (!terminal || std::chrono::steady_clock::now() - start < std::chrono::seconds(1)) {
            continue;
        }
        const double fraction =
            total > 0 ? static_cast<double>(done.load()) / static_cast<double>(total) : 0.0;
        const int filled = static_cast<int>(fraction * 30);
        std::fprintf(stderr, "\r%-22s [%-30s] %3d %%", label.c_str(),
                     std::string(static_cast<std::size_t>(filled), '#').c_str(),
                     static_cast<int>(fraction * 100));
        drawn = true;
    }
    if (drawn) {
        std::fprintf(stderr, "\r%-60s\r", "");
    }
    return future.get();
}

// Standard output, with write errors (a full disk, a closed pipe) reported once at the end.
bool OutputFailed() {
    return std::fflush(stdout) != 0 || std::ferror(stdout) != 0;
}

struct Row {
    std::string mode;
    CodeShape shape;
    std::string rate;
    double exact = 0;
    bool exactKnown = false;
};

double ExactOf(Row& row) {
    if (!row.exactKnown) {
        const double p = EffectiveFlipProbability(bitwatch::FlipProbability(row.rate));
        row.exact = UndetectedProbability(row.shape, p);
        row.exactKnown = true;
    }
    return row.exact;
}

std::string Percent(double fraction) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", 100 * fraction);
    return text;
}

} // namespace

int main(int argc, char* argv[]) {
    std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const int cores = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    const ParsedOptions parsed = ParseOptions(arguments, cores);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "bitwatch-stats: %s\nTry 'bitwatch-stats --help'.\n",
                     parsed.error.c_str());
        return 2;
    }
    const Options& options = parsed.options;
    if (options.help || options.version) {
        std::fputs(options.help ? UsageText().c_str() : "bitwatch-stats " BITWATCH_VERSION "\n",
                   stdout);
        if (OutputFailed() || std::fclose(stdout) != 0) {
            std::perror("bitwatch-stats: cannot write the results");
            return 1;
        }
        return 0;
    }

    std::vector<Row> rows;
    for (const std::string& mode : options.modes) {
        const CodeShape shape = *ShapeOfMode(mode);
        for (const std::string& rate : options.rates) {
            rows.push_back({mode, shape, rate, 0, false});
        }
    }
    // A search that cannot succeed would run to its cap for nothing, so a search knows every
    // exact value before its first row; otherwise each row's comes as the row is printed.
    for (Row& row : rows) {
        if (options.untilUndetected && !options.exactOnly && ExactOf(row) == 0) {
            std::fprintf(stderr,
                         "bitwatch-stats: %s at %s %% never lets an error through (its exact "
                         "probability is 0), so --until-undetected would never stop\n",
                         row.mode.c_str(), row.rate.c_str());
            return 2;
        }
    }

    if (options.csv) {
        std::puts(options.exactOnly ? "mode,rate_percent,exact_demo_channel"
                                    : "mode,rate_percent,frames,undetected,measured,low95,high95,"
                                      "exact_demo_channel,exact_outside,interval");
    } else if (options.exactOnly) {
        std::printf("%-10s %8s %14s\n", "mode", "rate %", "exact %");
    } else {
        std::printf("%-10s %8s %12s %11s %12s %25s %12s\n", "mode", "rate %", "frames",
                    "undetected", "measured %", "95 % interval (%)", "exact %");
    }
    if (OutputFailed()) {
        std::perror("bitwatch-stats: cannot write the results");
        return 1;
    }
    for (Row& row : rows) {
        const double exact = ExactOf(row);
        const char* mode = row.mode.c_str();
        const char* rate = row.rate.c_str();
        if (options.exactOnly) {
            if (options.csv) {
                std::printf("%s,%s,%.10g\n", mode, rate, exact);
            } else {
                std::printf("%-10s %8s %14s\n", mode, rate, Percent(exact).c_str());
            }
        } else {
            const RowPlan plan{row.shape,      row.rate,
                               options.frames, options.untilUndetected,
                               options.seed,   options.threads};
            std::atomic<std::int64_t> done{0};
            const std::string label = row.mode + " at " + row.rate + " %";
            const RowResult result =
                WithProgress(options.frames, done, label, [&] { return RunRow(plan, done); });
            const double measured =
                static_cast<double>(result.undetected) / static_cast<double>(result.frames);
            const Interval interval = RowInterval(result);
            const bool outside = exact < interval.low || exact > interval.high;
            if (options.csv) {
                std::printf("%s,%s,%lld,%lld,%.10g,%.10g,%.10g,%.10g,%d,%s\n", mode, rate,
                            static_cast<long long>(result.frames),
                            static_cast<long long>(result.undetected), measured, interval.low,
                            interval.high, exact, outside ? 1 : 0,
                            result.reachedTarget ? "inverse-binomial" : "wilson");
            } else {
                const std::string range =
                    "[" + Percent(interval.low) + ", " + Percent(interval.high) + "]";
                std::printf("%-10s %8s %12lld %11lld %12s %25s %12s%s\n", mode, rate,
                            static_cast<long long>(result.frames),
                            static_cast<long long>(result.undetected), Percent(measured).c_str(),
                            range.c_str(), Percent(exact).c_str(), outside ? " *" : "");
            }
        }
        if (OutputFailed()) {
            std::perror("bitwatch-stats: cannot write the results");
            return 1;
        }
    }
    if (std::fclose(stdout) != 0) {
        std::perror("bitwatch-stats: cannot write the results");
        return 1;
    }
    return 0;
}
