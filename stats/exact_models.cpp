#include "stats/exact_models.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/codes/code_unit.h"
#include "core/modes.h"
#include "stats/running_check.h"

namespace bitwatch::stats {

namespace {

__extension__ using Wide = __int128;

double Choose(int n, int k) {
    Wide value = 1;
    for (int i = 1; i <= k; ++i) {
        value = value * (n - k + i) / i;
    }
    return static_cast<double>(value);
}

// The running sums' steps as tables: next[one][bit % 8][state].
struct SumSteps {
    explicit SumSteps(const CodeShape& shape) {
        for (int one = 0; one < 2; ++one) {
            for (int column = 0; column < 8; ++column) {
                for (int state = 0; state < 256; ++state) {
                    next[one][column][state] =
                        RunningStep(shape, static_cast<std::uint8_t>(state), column, one == 1);
                }
            }
        }
        for (int state = 0; state < 256; ++state) {
            finished[state] = FinishCheck(shape, static_cast<std::uint8_t>(state));
        }
    }
    std::array<std::array<std::array<std::uint8_t, 256>, 8>, 2> next{};
    std::array<std::uint8_t, 256> finished{};
};

constexpr std::size_t kPairs = std::size_t{256} * 256;

// to[j] += odds * from[j]: the two never overlap (they lie in different tables), which lets the
// compiler use vector instructions.
void AddScaled(double* __restrict to, const double* __restrict from, double odds,
               std::size_t count) {
    for (std::size_t j = 0; j < count; ++j) {
        to[j] += odds * from[j];
    }
}

std::size_t PairOf(unsigned sent, unsigned received) {
    return sent * 256 + received;
}

// Counts of data flip sets, by their size j, over the sent and received running sums: the
// check byte then decides, since exactly one set of check flips matches the difference of the
// two check bytes.
std::vector<double> SumErrorShares(const CodeShape& shape, int maxK, double dataOne) {
    const SumSteps steps(shape);
    const int dataBits = shape.dataBits();
    const int most = std::min(maxK, dataBits); // data flips worth following
    const auto width = static_cast<std::size_t>(most) + 1;
    std::vector<double> current(kPairs * width, 0.0);
    std::vector<double> next(current.size());
    std::vector<char> live(kPairs, 0);
    std::vector<char> liveNext(kPairs);
    current[PairOf(0, 0) * width] = 1.0;
    live[PairOf(0, 0)] = 1;
    for (int bit = 0; bit < dataBits; ++bit) {
        std::fill(next.begin(), next.end(), 0.0);
        std::fill(liveNext.begin(), liveNext.end(), 0);
        const auto column = static_cast<std::size_t>(bit % 8);
        const auto reach = static_cast<std::size_t>(std::min(bit, most)); // flips so far at most
        for (unsigned sent = 0; sent < 256; ++sent) {
            for (unsigned received = 0; received < 256; ++received) {
                if (live[PairOf(sent, received)] == 0) {
                    continue;
                }
                const double* mass = &current[PairOf(sent, received) * width];
                for (int one = 0; one < 2; ++one) {
                    const double odds = one == 1 ? dataOne : 1 - dataOne;
                    const unsigned sentNext = steps.next[one][column][sent];
                    const unsigned kept = steps.next[one][column][received];
                    const unsigned flipped = steps.next[1 - one][column][received];
                    double* keptMass = &next[PairOf(sentNext, kept) * width];
                    double* flippedMass = &next[PairOf(sentNext, flipped) * width];
                    AddScaled(keptMass, mass, odds, reach + 1);
                    AddScaled(flippedMass + 1, mass, odds, std::min(reach + 1, width - 1));
                    liveNext[PairOf(sentNext, kept)] = 1;
                    liveNext[PairOf(sentNext, flipped)] = 1;
                }
            }
        }
        std::swap(current, next);
        std::swap(live, liveNext);
    }
    std::vector<double> shares(static_cast<std::size_t>(maxK) + 1, 0.0);
    for (unsigned sent = 0; sent < 256; ++sent) {
        for (unsigned received = 0; received < 256; ++received) {
            const int checkFlips = std::popcount(
                static_cast<unsigned>(steps.finished[sent] ^ steps.finished[received]));
            const double* mass = &current[PairOf(sent, received) * width];
            for (std::size_t j = 1; j < width; ++j) {
                const std::size_t k = j + static_cast<std::size_t>(checkFlips);
                if (k < shares.size()) {
                    shares[k] += mass[j];
                }
            }
        }
    }
    const int n = SentBits(shape);
    for (int k = 1; k <= maxK; ++k) {
        shares[static_cast<std::size_t>(k)] /= Choose(n, k);
    }
    return shares;
}

std::vector<double> LinearErrorShares(const CodeShape& shape, int maxK) {
    // A linear code misses exactly the error patterns that are nonzero codewords, whatever the
    // data; a codeword with unchanged data is the zero word in every one of these codes.
    const std::vector<std::uint64_t> weights = WeightDistribution(shape);
    const int n = static_cast<int>(weights.size()) - 1;
    std::vector<double> shares(static_cast<std::size_t>(maxK) + 1, 0.0);
    for (int k = 1; k <= std::min(maxK, n); ++k) {
        shares[static_cast<std::size_t>(k)] =
            static_cast<double>(weights[static_cast<std::size_t>(k)]) / Choose(n, k);
    }
    return shares;
}

// A bit inside a burst flips with these odds: the first and last always, the others half.
constexpr double kForced = 1.0;
constexpr double kInner = 0.5;

// Bursts over a code whose verdict is a syndrome of eight bits: the check-byte codes (the
// syndrome is the received check byte against the one recomputed) and mode None (none).
std::vector<double> SyndromeBurstShares(const CodeShape& shape, int maxLength) {
    const int dataBits = shape.dataBits();
    const int n = SentBits(shape);
    std::vector<unsigned> syndromeOf(static_cast<std::size_t>(n), 0);
    if (shape.checkByte()) {
        std::vector<std::uint8_t> unit(static_cast<std::size_t>(shape.frameBytes), 0);
        for (int bit = 0; bit < dataBits; ++bit) {
            std::fill(unit.begin(), unit.end(), 0);
            unit[static_cast<std::size_t>(bit / 8)] = static_cast<std::uint8_t>(0x80U >> (bit % 8));
            syndromeOf[static_cast<std::size_t>(bit)] = CheckByteOf(shape, unit);
        }
        for (int j = 0; j < 8; ++j) {
            syndromeOf[static_cast<std::size_t>(dataBits) + static_cast<std::size_t>(j)] =
                0x80U >> j;
        }
    }
    std::vector<double> totals(static_cast<std::size_t>(maxLength) + 1, 0.0);
    using Syndromes = std::array<double, 256>;
    // A burst that starts in the check byte leaves the data alone: never undetected.
    for (int first = 0; first < dataBits; ++first) {
        Syndromes mass{};
        mass[syndromeOf[static_cast<std::size_t>(first)]] = kForced;
        totals[1] += mass[0];
        for (int last = first + 1; last < n && last - first + 1 <= maxLength; ++last) {
            const unsigned flip = syndromeOf[static_cast<std::size_t>(last)];
            // Ending here, the last bit flips: the syndrome is zero when it was `flip`.
            totals[static_cast<std::size_t>(last - first) + 1] += mass[flip];
            Syndromes inner{};
            for (unsigned s = 0; s < 256; ++s) {
                inner[s] = (1 - kInner) * mass[s] + kInner * mass[s ^ flip];
            }
            mass = inner;
        }
    }
    return totals;
}

// Bursts over parity groups: in the order sent each group's data bits, then its parity bit.
std::vector<double> ParityBurstShares(const CodeShape& shape, int maxLength) {
    const int n = SentBits(shape);
    std::vector<bool> parityPlace(static_cast<std::size_t>(n), false);
    for (int group = 1; group <= shape.groups(); ++group) {
        parityPlace[static_cast<std::size_t>(group * (shape.groupSize + 1) - 1)] = true;
    }
    // mass[oddSoFar][everyClosedGroupEven] over the burst's bits so far.
    using State = std::array<std::array<double, 2>, 2>;
    const auto apply = [&parityPlace](const State& from, int place, double odds) {
        State to{};
        for (int odd = 0; odd < 2; ++odd) {
            for (int even = 0; even < 2; ++even) {
                for (int flip = 0; flip < 2; ++flip) {
                    const double mass = from[odd][even] * (flip == 1 ? odds : 1 - odds);
                    const int nowOdd = odd ^ flip;
                    if (parityPlace[static_cast<std::size_t>(place)]) {
                        to[0][even != 0 && nowOdd == 0 ? 1 : 0] += mass;
                    } else {
                        to[nowOdd][even] += mass;
                    }
                }
            }
        }
        return to;
    };
    // The group the burst ends in holds only unflipped bits after it.
    const auto missed = [](const State& state) {
        return state[0][1];
    };
    std::vector<double> totals(static_cast<std::size_t>(maxLength) + 1, 0.0);
    for (int first = 0; first < n; ++first) {
        State start{};
        start[0][1] = 1.0;
        State mass = apply(start, first, kForced);
        // A single flipped parity bit leaves the data alone.
        if (!parityPlace[static_cast<std::size_t>(first)]) {
            totals[1] += missed(mass);
        }
        for (int last = first + 1; last < n && last - first + 1 <= maxLength; ++last) {
            totals[static_cast<std::size_t>(last - first) + 1] +=
                missed(apply(mass, last, kForced));
            mass = apply(mass, last, kInner);
        }
    }
    return totals;
}

// The sums' bursts. One that ends in the data leaves the check byte alone and is missed when
// the received sum equals the sent one: that depends only on the burst's own bits, through the
// difference of the two sums modulo 256 (or 255, with the one's-complement sum's zero apart).
// One that runs on into the check byte is missed when its check flips equal the difference of
// the two check bytes: that takes the joint law of both sums over the whole data.
class SumBursts {
  public:
    SumBursts(const CodeShape& shape, double dataOne)
        : shape_(shape), steps_(shape), dataOne_(dataOne), dataBits_(shape.dataBits()),
          modulus_(UnitOf(shape.codeMode, shape.groupSize).sumModulus), internet_(modulus_ == 255) {
    }

    std::vector<double> Totals(int maxLength) {
        const int n = SentBits(shape_);
        std::vector<double> totals(static_cast<std::size_t>(maxLength) + 1, 0.0);
        for (int first = 0; first < dataBits_; ++first) {
            InData(first, maxLength, totals);
        }
        std::vector<double> prefix(256, 0.0); // the sent sum of the bits before `first`
        prefix[0] = 1.0;
        for (int first = 0; first < dataBits_; ++first) {
            if (first + maxLength > dataBits_) { // some burst from here reaches the check byte
                const std::array<double, 256> byDifference = CheckDifferences(prefix, first);
                for (int last = dataBits_; last < n && last - first + 1 <= maxLength; ++last) {
                    totals[static_cast<std::size_t>(last - first) + 1] +=
                        CheckFlipsMatch(byDifference, last - dataBits_);
                }
            }
            prefix = Advance(prefix, first);
        }
        return totals;
    }

  private:
    // mass[difference][sentAllZero][receivedAllZero] over the burst's bits so far.
    using Differences = std::vector<std::array<double, 4>>;

    Differences Apply(const Differences& from, int bit, double odds) const {
        Differences to(from.size(), std::array<double, 4>{});
        const int weight = (0x80 >> (bit % 8)) % modulus_;
        for (int d = 0; d < modulus_; ++d) {
            for (int zeros = 0; zeros < 4; ++zeros) {
                const double mass = from[static_cast<std::size_t>(d)][zeros];
                if (mass == 0.0) {
                    continue;
                }
                const bool sentZero = (zeros & 1) != 0;
                const bool receivedZero = (zeros & 2) != 0;
                for (int one = 0; one < 2; ++one) {
                    for (int flip = 0; flip < 2; ++flip) {
                        const double part = mass * (one == 1 ? dataOne_ : 1 - dataOne_) *
                                            (flip == 1 ? odds : 1 - odds);
                        if (part == 0.0) {
                            continue;
                        }
                        const int change = flip == 0 ? 0 : (one == 1 ? modulus_ - weight : weight);
                        const int next = (d + change) % modulus_;
                        const bool received = (one ^ flip) != 0;
                        const int nextZeros =
                            (sentZero && one == 0 ? 1 : 0) | (receivedZero && !received ? 2 : 0);
                        to[static_cast<std::size_t>(next)][nextZeros] += part;
                    }
                }
            }
        }
        return to;
    }

    // Missed: the sums agree. The one's-complement sums agree when the totals agree modulo
    // 255 and neither is zero (a zero total is kept apart from 255); a burst whose sent or
    // received bits are all zero makes that total zero only if every other data bit is zero.
    double Missed(const Differences& mass, int length) const {
        const double restZero = std::pow(1 - dataOne_, dataBits_ - length);
        double missed = 0;
        for (int zeros = 0; zeros < 4; ++zeros) {
            const double share = internet_ && zeros != 0 ? 1 - restZero : 1.0;
            missed += mass[0][zeros] * share;
        }
        return missed;
    }

    void InData(int first, int maxLength, std::vector<double>& totals) const {
        Differences start(static_cast<std::size_t>(modulus_), std::array<double, 4>{});
        start[0][3] = 1.0;
        Differences mass = Apply(start, first, kForced);
        totals[1] += Missed(mass, 1);
        for (int last = first + 1; last < dataBits_ && last - first + 1 <= maxLength; ++last) {
            const int length = last - first + 1;
            totals[static_cast<std::size_t>(length)] += Missed(Apply(mass, last, kForced), length);
            mass = Apply(mass, last, kInner);
        }
    }

    std::vector<double> Advance(const std::vector<double>& sums, int bit) const {
        std::vector<double> next(256, 0.0);
        const auto column = static_cast<std::size_t>(bit % 8);
        for (unsigned s = 0; s < 256; ++s) {
            next[steps_.next[0][column][s]] += sums[s] * (1 - dataOne_);
            next[steps_.next[1][column][s]] += sums[s] * dataOne_;
        }
        return next;
    }

    // The law of (sent check byte) xor (check byte recomputed from the received data) for a
    // burst from `first` that runs on past the data: bit `first` flips, every later data bit
    // with odds 1/2, the bits before it never.
    std::array<double, 256> CheckDifferences(const std::vector<double>& prefix, int first) const {
        std::vector<double> mass(kPairs, 0.0);
        std::vector<double> next(kPairs);
        for (unsigned s = 0; s < 256; ++s) {
            mass[PairOf(s, s)] = prefix[s];
        }
        for (int bit = first; bit < dataBits_; ++bit) {
            const double odds = bit == first ? kForced : kInner;
            const auto column = static_cast<std::size_t>(bit % 8);
            std::fill(next.begin(), next.end(), 0.0);
            for (unsigned sent = 0; sent < 256; ++sent) {
                for (unsigned received = 0; received < 256; ++received) {
                    const double m = mass[PairOf(sent, received)];
                    if (m == 0.0) {
                        continue;
                    }
                    for (int one = 0; one < 2; ++one) {
                        const double part = m * (one == 1 ? dataOne_ : 1 - dataOne_);
                        const unsigned s = steps_.next[one][column][sent];
                        next[PairOf(s, steps_.next[one][column][received])] += part * (1 - odds);
                        next[PairOf(s, steps_.next[1 - one][column][received])] += part * odds;
                    }
                }
            }
            std::swap(mass, next);
        }
        std::array<double, 256> byDifference{};
        for (unsigned sent = 0; sent < 256; ++sent) {
            for (unsigned received = 0; received < 256; ++received) {
                byDifference[steps_.finished[sent] ^ steps_.finished[received]] +=
                    mass[PairOf(sent, received)];
            }
        }
        return byDifference;
    }

    // The burst flips check bits 0 to `lastCheck` (the first sent is the byte's top bit): the
    // last always, the others with odds 1/2, none after it. Missed when they flip exactly the
    // difference.
    static double CheckFlipsMatch(const std::array<double, 256>& byDifference, int lastCheck) {
        const unsigned lastBit = 0x80U >> lastCheck;
        const unsigned after = lastBit - 1;              // bits sent after the burst: never flipped
        const double odds = std::ldexp(1.0, -lastCheck); // each pattern of the inner bits
        double missed = 0;
        for (unsigned difference = 0; difference < 256; ++difference) {
            if ((difference & lastBit) != 0 && (difference & after) == 0) {
                missed += byDifference[difference] * odds;
            }
        }
        return missed;
    }

    CodeShape shape_;
    SumSteps steps_;
    double dataOne_;
    int dataBits_;
    int modulus_; // the sum's: 256, or 255 for one's complement
    bool internet_;
};

} // namespace

int SentBits(const CodeShape& shape) {
    return bitwatch::SentBits(shape.codeMode, shape.groupSize, shape.dataBits());
}

std::vector<double> ErrorShares(const CodeShape& shape, int maxK, double dataOne) {
    maxK = std::clamp(maxK, 0, SentBits(shape));
    if (maxK == 0) {
        return {0.0};
    }
    return shape.sums() ? SumErrorShares(shape, maxK, dataOne) : LinearErrorShares(shape, maxK);
}

std::vector<double> BurstShares(const CodeShape& shape, int maxLength, double dataOne) {
    const int n = SentBits(shape);
    maxLength = std::clamp(maxLength, 0, n);
    std::vector<double> totals(static_cast<std::size_t>(maxLength) + 1, 0.0);
    if (maxLength == 0) {
        return totals;
    }
    if (shape.sums()) {
        totals = SumBursts(shape, dataOne).Totals(maxLength);
    } else if (shape.parityGroups()) {
        totals = ParityBurstShares(shape, maxLength);
    } else {
        totals = SyndromeBurstShares(shape, maxLength);
    }
    for (int length = 1; length <= maxLength; ++length) {
        totals[static_cast<std::size_t>(length)] /= n - length + 1; // the places it can start
    }
    return totals;
}

double UndetectedThroughModel(const CodeShape& shape, const ErrorModel& model, double p) {
    const int size = SizeInFrame(model, SentBits(shape));
    switch (model.kind) {
    case ErrorModelKind::ExactBits:
        return ErrorShares(shape, size)[static_cast<std::size_t>(size)];
    case ErrorModelKind::Burst:
        return BurstShares(shape, size)[static_cast<std::size_t>(size)];
    case ErrorModelKind::RandomBits:
        break;
    }
    return UndetectedProbability(shape, p);
}

} // namespace bitwatch::stats
