// bitwatch-stats: what each code misses, measured and predicted, from the command line.

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <stop_token>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "channel/send_frame.h"
#include "stats/exact.h"
#include "stats/exact_models.h"
#include "stats/intervals.h"
#include "stats/known_odds.h"
#include "stats/model_channel.h"
#include "stats/options.h"
#include "stats/progress.h"
#include "stats/runner.h"
#include "stats/vector_channel.h"

namespace {

using namespace bitwatch::stats;

// The progress line on standard error while the rows run, when it is a terminal and the run
// goes on for more than about two seconds; cleared at the end, so nothing of it stays behind.
class ProgressDisplay {
  public:
    ProgressDisplay(bool wanted, int rows, std::optional<std::int64_t> framesInAll)
        : rows_(rows), framesInAll_(framesInAll) {
        if (wanted && isatty(STDERR_FILENO) != 0) {
            thread_ = std::jthread([this](const std::stop_token& stop) { Draw(stop); });
        }
    }

    ProgressDisplay(const ProgressDisplay&) = delete;
    ProgressDisplay& operator=(const ProgressDisplay&) = delete;

    ~ProgressDisplay() {
        if (thread_.joinable()) {
            thread_.request_stop();
            thread_.join();
        }
    }

    std::atomic<std::int64_t>& frames() { return frames_; }
    void RowDone() { rowsDone_.fetch_add(1); }

    // Clears the line while the caller writes a row (standard output may be the same
    // terminal); the next draw puts it back.
    std::unique_lock<std::mutex> Hold() {
        std::unique_lock lock(mutex_);
        Clear();
        return lock;
    }

  private:
    void Draw(const std::stop_token& stop) {
        const auto start = std::chrono::steady_clock::now();
        bool worth = false;
        while (!stop.stop_requested()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
            const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
            const ProgressState state{rowsDone_.load(), rows_, frames_.load(), elapsed.count(),
                                      framesInAll_};
            worth = worth || WorthShowing(state);
            if (worth) {
                const std::lock_guard lock(mutex_);
                std::fprintf(stderr, "\r%s\x1b[K", ProgressLine(state).c_str());
                std::fflush(stderr);
                drawn_ = true;
            }
        }
        const std::lock_guard lock(mutex_);
        Clear();
    }

    void Clear() {
        if (drawn_) {
            std::fputs("\r\x1b[K", stderr);
            std::fflush(stderr);
            drawn_ = false;
        }
    }

    int rows_;
    std::optional<std::int64_t> framesInAll_;
    std::atomic<std::int64_t> frames_{0};
    std::atomic<int> rowsDone_{0};
    std::mutex mutex_;
    bool drawn_ = false; // guarded by mutex_
    std::jthread thread_;
};

// Standard output, with write errors (a full disk, a closed pipe) reported once at the end.
bool OutputFailed() {
    return std::fflush(stdout) != 0 || std::ferror(stdout) != 0;
}

struct Row {
    std::string mode;
    CodeShape shape;
    std::string rate; // the rate's text, or k or L through an error model
    bitwatch::ErrorModel model;
    double exact = 0;
    bool exactKnown = false;
};

// The exact values of every row, each worked out once.
class ExactValues {
  public:
    static double Of(Row& row) {
        if (!row.exactKnown) {
            row.exact =
                row.model.kind == bitwatch::ErrorModelKind::RandomBits ? OfRate(row) : OfModel(row);
            row.exactKnown = true;
        }
        return row.exact;
    }

  private:
    static double OfRate(const Row& row) {
        const double p = EffectiveFlipProbability(bitwatch::FlipProbability(row.rate));
        return UndetectedAtRate(row.shape, p);
    }

    static double OfModel(const Row& row) {
        const std::span<const double> shares = row.model.kind == bitwatch::ErrorModelKind::ExactBits
                                                   ? KnownErrorShares(row.shape)
                                                   : KnownBurstShares(row.shape);
        return shares[static_cast<std::size_t>(row.model.size)];
    }
};

// Model rows each run on one thread, side by side; their results are taken in order.
class ModelRows {
  public:
    ModelRows(const std::vector<Row>& rows, const Options& options,
              std::atomic<std::int64_t>& frames)
        : results_(rows.size()) {
        const auto work = [this, &rows, &options, &frames] {
            for (std::size_t i = next_++; i < rows.size(); i = next_++) {
                const ModelRowPlan plan{rows[i].shape, rows[i].model, options.frames,
                                        options.untilUndetected, options.seed};
                const RowResult result = RunModelRow(plan, frames);
                const std::lock_guard lock(mutex_);
                results_[i] = result;
                ready_.notify_all();
            }
        };
        const auto threads =
            std::min<std::size_t>(static_cast<std::size_t>(options.threads), rows.size());
        for (std::size_t t = 0; t < threads; ++t) {
            workers_.emplace_back(work);
        }
    }

    RowResult Take(std::size_t i) {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [this, i] { return results_[i].has_value(); });
        return *results_[i];
    }

  private:
    std::atomic<std::size_t> next_{0};
    std::mutex mutex_;
    std::condition_variable ready_;
    std::vector<std::optional<RowResult>> results_; // guarded by mutex_
    std::vector<std::jthread> workers_;             // last: joined before the rest goes
};

std::string Percent(double fraction) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", 100 * fraction);
    return text;
}

} // namespace

namespace {

const char* const kWriteFailed = "bitwatch-stats: cannot write the results";

std::vector<Row> PlanRows(const Options& options) {
    std::vector<Row> rows;
    for (const std::string& mode : options.modes) {
        const CodeShape shape = *ShapeOfMode(mode);
        if (options.model == bitwatch::ErrorModelKind::RandomBits) {
            for (const std::string& rate : options.rates) {
                rows.push_back({mode, shape, rate, {}, 0, false});
            }
        }
        // A k or L beyond this code's frame gives it no row.
        for (const int size : options.sizes) {
            if (size <= SentBits(shape)) {
                const bitwatch::ErrorModel model{options.model, static_cast<std::int16_t>(size)};
                rows.push_back({mode, shape, std::to_string(size), model, 0, false});
            }
        }
    }
    return rows;
}

// A search that cannot succeed would run to its cap for nothing, so a search knows every exact
// value before its first row (otherwise each row's comes as the row is printed). False, having
// said why, for a search that could never stop.
bool SearchesCanStop(std::vector<Row>& rows, const Options& options) {
    if (!options.untilUndetected || options.exactOnly) {
        return true;
    }
    for (Row& row : rows) {
        if (ExactValues::Of(row) != 0) {
            continue;
        }
        const std::string channel = options.model == bitwatch::ErrorModelKind::RandomBits
                                        ? "at " + row.rate + " %"
                                    : options.model == bitwatch::ErrorModelKind::Burst
                                        ? "with " + row.rate + "-bit bursts"
                                        : "with " + row.rate + " flipped bits";
        std::fprintf(stderr,
                     "bitwatch-stats: %s %s never lets an error through (its exact "
                     "probability is 0), so --until-undetected would never stop\n",
                     row.mode.c_str(), channel.c_str());
        return false;
    }
    return true;
}

void PrintHeader(const Options& options) {
    const bool modelRows = options.model != bitwatch::ErrorModelKind::RandomBits;
    const bool bursts = options.model == bitwatch::ErrorModelKind::Burst;
    const std::string second = !modelRows ? "rate_percent" : bursts ? "burst_bits" : "error_bits";
    const char* secondTitle = !modelRows ? "rate %" : bursts ? "L bits" : "k bits";
    if (options.csv) {
        std::printf(options.exactOnly ? "mode,%s,exact_demo_channel\n"
                                      : "mode,%s,frames,undetected,measured,low95,high95,"
                                        "exact_demo_channel,exact_outside,interval\n",
                    second.c_str());
    } else if (options.exactOnly) {
        std::printf("%-10s %8s %14s\n", "mode", secondTitle, "exact %");
    } else {
        std::printf("%-10s %8s %12s %11s %12s %25s %12s\n", "mode", secondTitle, "frames",
                    "undetected", "measured %", "95 % interval (%)", "exact %");
    }
}

void SayVectorTargets() {
    std::string targets;
    for (const std::int64_t target : VectorTargets()) {
        targets += (targets.empty() ? "" : ", ") + VectorTargetName(target);
    }
    std::fprintf(stderr, "bitwatch-stats: draws with %s (this processor and build: %s)\n",
                 VectorTargetName(ChosenVectorTarget()).c_str(), targets.c_str());
}

void PrintExactRow(const Row& row, double exact, bool csv) {
    if (csv) {
        std::printf("%s,%s,%.10g\n", row.mode.c_str(), row.rate.c_str(), exact);
    } else {
        std::printf("%-10s %8s %14s\n", row.mode.c_str(), row.rate.c_str(), Percent(exact).c_str());
    }
}

void PrintMeasuredRow(const Row& row, double exact, const RowResult& result, bool csv) {
    const char* mode = row.mode.c_str();
    const char* rate = row.rate.c_str();
    const double measured =
        static_cast<double>(result.undetected) / static_cast<double>(result.frames);
    const Interval interval = RowInterval(result);
    const bool outside = exact < interval.low || exact > interval.high;
    if (csv) {
        std::printf("%s,%s,%lld,%lld,%.10g,%.10g,%.10g,%.10g,%d,%s\n", mode, rate,
                    static_cast<long long>(result.frames),
                    static_cast<long long>(result.undetected), measured, interval.low,
                    interval.high, exact, outside ? 1 : 0,
                    result.reachedTarget ? "inverse-binomial" : "wilson");
    } else {
        const std::string range = "[" + Percent(interval.low) + ", " + Percent(interval.high) + "]";
        std::printf("%-10s %8s %12lld %11lld %12s %25s %12s%s\n", mode, rate,
                    static_cast<long long>(result.frames),
                    static_cast<long long>(result.undetected), Percent(measured).c_str(),
                    range.c_str(), Percent(exact).c_str(), outside ? " *" : "");
    }
}

// Every row in order, each printed as it finishes. False when the output could not be written.
bool PrintRows(std::vector<Row>& rows, const Options& options) {
    const bool measuring = !options.exactOnly;
    std::optional<std::int64_t> framesInAll; // unknown for a search, and past 2^63
    std::int64_t product = 0;
    if (!options.untilUndetected &&
        !__builtin_mul_overflow(options.frames, static_cast<std::int64_t>(rows.size()), &product)) {
        framesInAll = product;
    }
    ProgressDisplay progress(measuring && !options.quiet, static_cast<int>(rows.size()),
                             framesInAll);
    std::optional<ModelRows> modelResults;
    if (measuring && options.model != bitwatch::ErrorModelKind::RandomBits) {
        modelResults.emplace(rows, options, progress.frames());
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        Row& row = rows[r];
        const double exact = ExactValues::Of(row);
        if (!measuring) {
            PrintExactRow(row, exact, options.csv);
        } else {
            const RowPlan plan{row.shape,      row.rate,
                               options.frames, options.untilUndetected,
                               options.seed,   options.threads};
            const RowResult result =
                modelResults ? modelResults->Take(r) : RunRow(plan, progress.frames());
            progress.RowDone();
            const auto hold = progress.Hold();
            PrintMeasuredRow(row, exact, result, options.csv);
        }
        if (OutputFailed()) {
            return false;
        }
    }
    return true;
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
            std::perror(kWriteFailed);
            return 1;
        }
        return 0;
    }
    std::vector<Row> rows = PlanRows(options);
    if (!SearchesCanStop(rows, options)) {
        return 2;
    }
    PrintHeader(options);
    if (OutputFailed()) {
        std::perror(kWriteFailed);
        return 1;
    }
    if (options.verbose) {
        SayVectorTargets();
    }
    if (!PrintRows(rows, options) || std::fclose(stdout) != 0) {
        std::perror(kWriteFailed);
        return 1;
    }
    return 0;
}
