#include "stats/runner.h"

#include <algorithm>
#include <bit>
#include <mutex>
#include <thread>
#include <vector>

#include "channel/send_frame.h"
#include "core/random_source.h"
#include "stats/packed_channel.h"
#include "stats/vector_channel.h"

namespace bitwatch::stats {

namespace {

std::uint64_t SplitMix64(std::uint64_t x) {
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30U)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27U)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31U);
}

// What one block found. In a search, the frame numbers (within the block) of its first
// undetected frames, as many as the search could need from it.
struct BlockResult {
    std::int64_t frames = 0;
    std::int64_t undetected = 0;
    std::vector<std::int64_t> undetectedAt;
    bool done = false;
};

// The blocks of one row and, in a search, how far the finished blocks from the first on reach.
class BlockBoard {
  public:
    BlockBoard(std::int64_t blocks, std::optional<std::int64_t> target)
        : blocks_(blocks), target_(target) {}

    // The next block to run, or nothing when the row is complete.
    std::optional<std::int64_t> Claim() {
        const std::lock_guard lock(mutex_);
        if (found_ || next_ >= blocks_) {
            return std::nullopt;
        }
        // Grown as blocks are handed out: a search's cap may allow far more than it runs.
        results_.emplace_back();
        return next_++;
    }

    void Finish(std::int64_t block, BlockResult result) {
        const std::lock_guard lock(mutex_);
        result.done = true;
        results_[static_cast<std::size_t>(block)] = std::move(result);
        // In a search the row ends inside the first block at which the running count of the
        // finished blocks, taken in order, reaches the target; later blocks are not needed.
        while (target_ && !found_ && prefix_ < results_.size() && results_[prefix_].done) {
            prefixUndetected_ += results_[prefix_].undetected;
            found_ = prefixUndetected_ >= *target_;
            ++prefix_;
        }
    }

    // Called once every worker has stopped.
    RowResult Total() const {
        RowResult total;
        for (const BlockResult& block : results_) {
            if (!block.done) {
                break;
            }
            if (target_ && total.undetected + block.undetected >= *target_) {
                const std::int64_t needed = *target_ - total.undetected;
                total.frames += block.undetectedAt[static_cast<std::size_t>(needed - 1)] + 1;
                total.undetected = *target_;
                total.reachedTarget = true;
                return total;
            }
            total.frames += block.frames;
            total.undetected += block.undetected;
        }
        return total;
    }

  private:
    std::mutex mutex_;
    std::int64_t blocks_;
    std::vector<BlockResult> results_;
    std::optional<std::int64_t> target_;
    std::int64_t next_ = 0;
    std::size_t prefix_ = 0;
    std::int64_t prefixUndetected_ = 0;
    bool found_ = false;
};

BlockResult RunBlock(const PackedChannel& channel, std::uint64_t state, std::int64_t frames,
                     std::optional<std::int64_t> target) {
    BlockResult result;
    // Whatever came before this block, a search ends here at its target-th frame at the latest.
    const std::int64_t stopAfter = target ? std::min(*target, frames) : 0;
    if (target) {
        result.undetectedAt.resize(static_cast<std::size_t>(stopAfter));
    }
    const FrameRun run = SendFrames(channel, state, frames, stopAfter,
                                    target ? result.undetectedAt.data() : nullptr);
    result.frames = run.frames;
    result.undetected = run.undetected;
    result.undetectedAt.resize(static_cast<std::size_t>(target ? run.undetected : 0));
    return result;
}

} // namespace

std::uint64_t RowStartState(std::optional<std::uint64_t> seed, const CodeShape& shape,
                            float flipProbability) {
    if (!seed) {
        return RandomSource::kStartState;
    }
    const std::uint64_t code = (static_cast<std::uint64_t>(shape.codeMode) << 16U) ^
                               static_cast<std::uint16_t>(shape.groupSize);
    const std::uint64_t rate = std::bit_cast<std::uint32_t>(flipProbability);
    return SplitMix64(SplitMix64(SplitMix64(*seed) ^ code) ^ rate);
}

RowResult RunRow(const RowPlan& plan, std::atomic<std::int64_t>& framesDone) {
    const float probability = FlipProbability(plan.rateText);
    const PackedChannel channel(plan.shape, probability);
    const std::uint64_t drawsPerFrame = 144 + (plan.shape.checkByte() ? 8 : 0);
    const std::uint64_t start = RowStartState(plan.seed, plan.shape, probability);
    const std::int64_t blocks = (plan.frames + kBlockFrames - 1) / kBlockFrames;
    BlockBoard board(blocks, plan.untilUndetected);

    const auto work = [&] {
        while (const std::optional<std::int64_t> block = board.Claim()) {
            RandomSource random(start);
            random.Advance(static_cast<std::uint64_t>(*block * kBlockFrames) * drawsPerFrame);
            const std::int64_t frames = std::min(kBlockFrames, plan.frames - *block * kBlockFrames);
            BlockResult result = RunBlock(channel, random.state(), frames, plan.untilUndetected);
            framesDone.fetch_add(result.frames, std::memory_order_relaxed);
            board.Finish(*block, std::move(result));
        }
    };
    {
        std::vector<std::jthread> workers;
        const int threads = static_cast<int>(std::min<std::int64_t>(plan.threads, blocks));
        for (int t = 1; t < threads; ++t) {
            workers.emplace_back(work);
        }
        work();
    }
    return board.Total();
}

Interval RowInterval(const RowResult& result) {
    return result.reachedTarget ? InverseBinomialInterval(result.undetected, result.frames)
                                : WilsonInterval(result.undetected, result.frames);
}

} // namespace bitwatch::stats
