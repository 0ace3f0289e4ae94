#include "stats/exact.h"

#include <array>
#include <bit>
#include <cmath>
#include <vector>

#include "core/frame.h"
#include "stats/running_check.h"

namespace bitwatch::stats {

namespace {

__extension__ using Wide = __int128;

std::vector<Wide> BinomialRow(int n) {
    std::vector<Wide> row(static_cast<std::size_t>(n) + 1, 0);
    row[0] = 1;
    for (int i = 1; i <= n; ++i) {
        for (int k = i; k >= 1; --k) {
            row[static_cast<std::size_t>(k)] += row[static_cast<std::size_t>(k) - 1];
        }
    }
    return row;
}

Wide Binomial(int n, int k) {
    if (k < 0 || k > n) {
        return 0;
    }
    Wide value = 1;
    for (int i = 1; i <= k; ++i) {
        value = value * (n - k + i) / i;
    }
    return value;
}

// Krawtchouk polynomial K_w(i) for length n.
Wide Krawtchouk(int n, int w, int i) {
    Wide sum = 0;
    for (int j = 0; j <= w; ++j) {
        const Wide term = Binomial(i, j) * Binomial(n - i, w - j);
        sum += (j % 2 == 0) ? term : -term;
    }
    return sum;
}

std::vector<std::uint64_t> ParityGroupWeights(const CodeShape& shape) {
    // Each group of N data bits and its parity bit holds an even number of ones: the
    // enumerator of one group is the sum of C(N + 1, j) x^j over even j, and the groups are
    // independent, so the code's enumerator is its power.
    const int groupLength = shape.groupSize + 1;
    const std::vector<Wide> row = BinomialRow(groupLength);
    std::vector<Wide> weights{1};
    for (int g = 0; g < shape.groups(); ++g) {
        std::vector<Wide> next(weights.size() + static_cast<std::size_t>(groupLength), 0);
        for (std::size_t w = 0; w < weights.size(); ++w) {
            for (int j = 0; j <= groupLength; j += 2) {
                next[w + static_cast<std::size_t>(j)] +=
                    weights[w] * row[static_cast<std::size_t>(j)];
            }
        }
        weights = std::move(next);
    }
    return {weights.begin(), weights.end()};
}

std::vector<std::uint64_t> CheckByteWeights(const CodeShape& shape) {
    // Column k of the parity-check matrix is the check byte of data word e_k; the dual code is
    // spanned by its eight rows, so dual word u weighs popcount(u) plus the number of data bits
    // whose column has odd overlap with u.
    const int dataBits = shape.dataBits();
    const int n = dataBits + 8;
    std::vector<std::uint8_t> columns(static_cast<std::size_t>(dataBits));
    std::vector<std::uint8_t> unit(static_cast<std::size_t>(shape.frameBytes), 0);
    for (int k = 0; k < dataBits; ++k) {
        unit.assign(unit.size(), 0);
        unit[static_cast<std::size_t>(k / 8)] = static_cast<std::uint8_t>(0x80U >> (k % 8));
        columns[static_cast<std::size_t>(k)] = CheckByteOf(shape, unit);
    }
    std::vector<Wide> dualWeights(static_cast<std::size_t>(n) + 1, 0);
    for (unsigned u = 0; u < 256; ++u) {
        int weight = std::popcount(u);
        for (std::uint8_t column : columns) {
            weight += std::popcount(static_cast<unsigned>(column) & u) % 2;
        }
        ++dualWeights[static_cast<std::size_t>(weight)];
    }
    // MacWilliams: A_w = 2^-8 * sum over dual weights i of B_i K_w(i).
    std::vector<std::uint64_t> weights(static_cast<std::size_t>(n) + 1, 0);
    for (int w = 0; w <= n; ++w) {
        Wide sum = 0;
        for (int i = 0; i <= n; ++i) {
            if (dualWeights[static_cast<std::size_t>(i)] != 0) {
                sum += dualWeights[static_cast<std::size_t>(i)] * Krawtchouk(n, w, i);
            }
        }
        weights[static_cast<std::size_t>(w)] = static_cast<std::uint64_t>(sum / 256);
    }
    return weights;
}

} // namespace

double EffectiveFlipProbability(float p) {
    constexpr double kSteps = 16777216.0;
    if (!(p > 0.0F)) {
        return 0.0;
    }
    const double steps = std::ceil(static_cast<double>(p) * kSteps);
    return steps >= kSteps ? 1.0 : steps / kSteps;
}

std::vector<std::uint64_t> WeightDistribution(const CodeShape& shape) {
    if (shape.parityGroups()) {
        return ParityGroupWeights(shape);
    }
    if (shape.linearCheckByte()) {
        return CheckByteWeights(shape);
    }
    // No check: every data word is a codeword.
    const std::vector<Wide> row = BinomialRow(shape.dataBits());
    return {row.begin(), row.end()};
}

double UndetectedFromWeights(const std::vector<std::uint64_t>& weights, double p) {
    const int n = static_cast<int>(weights.size()) - 1;
    double sum = 0;
    for (int w = 1; w <= n; ++w) {
        if (weights[static_cast<std::size_t>(w)] != 0) {
            sum += static_cast<double>(weights[static_cast<std::size_t>(w)]) * std::pow(p, w) *
                   std::pow(1 - p, n - w);
        }
    }
    return sum;
}

double UndetectedByRunningSums(const CodeShape& shape, double p, double dataOne) {
    // probability[damaged][sent][received]: the running check values of the data as sent and
    // as received, and whether any data bit has flipped so far.
    constexpr std::size_t kStates = 256;
    using Table = std::vector<double>;
    const auto at = [](std::size_t damaged, std::size_t sent, std::size_t received) {
        return (damaged * kStates + sent) * kStates + received;
    };
    Table current(2 * kStates * kStates, 0.0);
    Table next(current.size());
    current[at(0, 0, 0)] = 1.0; // every check value starts at 0
    for (int k = 0; k < shape.dataBits(); ++k) {
        std::fill(next.begin(), next.end(), 0.0);
        for (std::size_t damaged = 0; damaged < 2; ++damaged) {
            for (std::size_t sent = 0; sent < kStates; ++sent) {
                for (std::size_t received = 0; received < kStates; ++received) {
                    const double mass = current[at(damaged, sent, received)];
                    if (mass == 0.0) {
                        continue;
                    }
                    for (int bit = 0; bit < 2; ++bit) {
                        const double bitMass = mass * (bit == 1 ? dataOne : 1 - dataOne);
                        const auto s = static_cast<std::uint8_t>(sent);
                        const auto r = static_cast<std::uint8_t>(received);
                        const std::size_t sentNext = RunningStep(shape, s, k, bit == 1);
                        next[at(damaged, sentNext, RunningStep(shape, r, k, bit == 1))] +=
                            bitMass * (1 - p);
                        next[at(1, sentNext, RunningStep(shape, r, k, bit == 0))] += bitMass * p;
                    }
                }
            }
        }
        std::swap(current, next);
    }
    // Undetected: data damaged, and the received check byte, flipped by its own errors, equals
    // the check byte recomputed from the received data.
    std::array<double, 256> checkErrorMass{};
    for (unsigned pattern = 0; pattern < 256; ++pattern) {
        const int flips = std::popcount(pattern);
        checkErrorMass[pattern] = std::pow(p, flips) * std::pow(1 - p, 8 - flips);
    }
    double undetected = 0;
    for (std::size_t sent = 0; sent < kStates; ++sent) {
        for (std::size_t received = 0; received < kStates; ++received) {
            const double mass = current[at(1, sent, received)];
            if (mass != 0.0) {
                const unsigned pattern = FinishCheck(shape, static_cast<std::uint8_t>(sent)) ^
                                         FinishCheck(shape, static_cast<std::uint8_t>(received));
                undetected += mass * checkErrorMass[pattern];
            }
        }
    }
    return undetected;
}

double UndetectedProbability(const CodeShape& shape, double p, double dataOne) {
    if (shape.sums()) {
        return UndetectedByRunningSums(shape, p, dataOne);
    }
    return UndetectedFromWeights(WeightDistribution(shape), p);
}

} // namespace bitwatch::stats
