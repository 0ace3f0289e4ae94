#include "stats/known_odds.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <vector>

#include "stats/built_shares.h"
#include "stats/exact_models.h"

namespace bitwatch::stats {

namespace {

bool IsBuilt(const CodeShape& shape) {
    return shape.frameBytes == CodeShape{}.frameBytes;
}

const BuiltShares* BuiltFor(const CodeShape& shape) {
    if (!IsBuilt(shape)) {
        return nullptr;
    }
    for (const BuiltShares& built : AllBuiltShares()) {
        if (built.codeMode == shape.codeMode &&
            (built.groupSize == shape.groupSize ||
             (!UsesParityGroups(built.groupSize) && !shape.parityGroups()))) {
            return &built;
        }
    }
    return nullptr;
}

// Shares of a shape that is not built in, worked out once: a handful of shapes at most, so a
// list searched in turn. A span handed out stays valid: moving a vector keeps its buffer.
std::span<const double> Computed(const CodeShape& shape, bool bursts) {
    struct Kept {
        CodeShape shape;
        bool bursts;
        std::vector<double> shares;
    };
    static std::mutex guard;
    static std::vector<Kept> kept;
    const std::scoped_lock lock(guard);
    for (const Kept& entry : kept) {
        if (entry.shape.codeMode == shape.codeMode && entry.shape.groupSize == shape.groupSize &&
            entry.shape.frameBytes == shape.frameBytes && entry.bursts == bursts) {
            return entry.shares;
        }
    }
    const int n = SentBits(shape);
    kept.push_back({shape, bursts, bursts ? BurstShares(shape, n) : ErrorShares(shape, n)});
    return kept.back().shares;
}

} // namespace

std::span<const double> KnownErrorShares(const CodeShape& shape) {
    const BuiltShares* built = BuiltFor(shape);
    return built != nullptr ? built->errors : Computed(shape, false);
}

std::span<const double> KnownBurstShares(const CodeShape& shape) {
    const BuiltShares* built = BuiltFor(shape);
    return built != nullptr ? built->bursts : Computed(shape, true);
}

double BinomialMixture(std::span<const double> shares, double p) {
    if (shares.empty()) {
        return 0;
    }
    const int n = static_cast<int>(shares.size()) - 1;
    const double q = 1 - p;
    std::vector<double> terms;
    terms.reserve(shares.size());
    double choose = 1; // C(n, k)
    for (int k = 0; k <= n; ++k) {
        if (k > 0) {
            choose = choose * (n - k + 1) / k;
        }
        const double share = shares[static_cast<std::size_t>(k)];
        if (share > 0) {
            terms.push_back(choose * std::pow(p, k) * std::pow(q, n - k) * share);
        }
    }
    std::sort(terms.begin(), terms.end());
    double sum = 0;
    for (const double term : terms) {
        sum += term;
    }
    return sum;
}

double UndetectedAtRate(const CodeShape& shape, double p) {
    return BinomialMixture(KnownErrorShares(shape), p);
}

double UndetectedThroughChannel(const CodeShape& shape, const ErrorModel& model, double p) {
    const auto size = static_cast<std::size_t>(SizeInFrame(model, SentBits(shape)));
    switch (model.kind) {
    case ErrorModelKind::ExactBits:
        return KnownErrorShares(shape)[size];
    case ErrorModelKind::Burst:
        return KnownBurstShares(shape)[size];
    case ErrorModelKind::RandomBits:
        break;
    }
    return UndetectedAtRate(shape, p);
}

} // namespace bitwatch::stats
