#include "ui/verdict_fact.h"

#include <span>

#include "channel/send_frame.h"
#include "stats/known_odds.h"

namespace bitwatch {

namespace {

// What the damage on screen looks like, as the facts ask about it.
struct Damage {
    int cells = 0; // damaged cells of every kind
    int span = 0;
    bool caught = false;
    std::array<int, 8> up{};   // data bits of column c turned from 0 to 1
    std::array<int, 8> down{}; // and from 1 to 0
    int dataFlips = 0;
    bool evenGroup = false; // a parity group holding an even number of flips, two or more
};

Damage DamageOf(const Form& form, const Explanation& e) {
    Damage damage;
    damage.cells = static_cast<int>(e.errors.size());
    damage.span = e.span;
    damage.caught = !e.checkAgrees;
    for (const FrameError& error : e.errors) {
        if (error.cell != FrameError::Cell::Data) {
            continue;
        }
        const auto column = static_cast<std::size_t>(error.index % 8);
        ++(CellIsOne(form.row1[kDataBits + error.index]) ? damage.up : damage.down)[column];
        ++damage.dataFlips;
    }
    if (const auto* parity = std::get_if<ParityWorking>(&e.working)) {
        for (const GroupWorking& group : parity->groups) {
            damage.evenGroup = damage.evenGroup || (group.flips >= 2 && group.flips % 2 == 0);
        }
    }
    return damage;
}

bool HasOppositePair(const Damage& damage) {
    for (std::size_t c = 0; c < 8; ++c) {
        if (damage.up[c] > 0 && damage.down[c] > 0) {
            return true;
        }
    }
    return false;
}

bool HasTopColumnPair(const Damage& damage) {
    return damage.up[0] >= 2 || damage.down[0] >= 2;
}

bool HasEvenColumn(const Damage& damage) {
    for (std::size_t c = 0; c < 8; ++c) {
        const int flips = damage.up[c] + damage.down[c];
        if (flips >= 2 && flips % 2 == 0) {
            return true;
        }
    }
    return false;
}

// Eight data bits in a row, every one turned the same way: one's complement's second zero.
bool TurnsEightTheSameWay(const Damage& damage) {
    int up = 0;
    int down = 0;
    for (std::size_t c = 0; c < 8; ++c) {
        up += damage.up[c] == 1 ? 1 : 0;
        down += damage.down[c] == 1 ? 1 : 0;
    }
    return damage.cells == 8 && damage.dataFlips == 8 && damage.span == 8 && (up == 8 || down == 8);
}

// Whether some error of exactly k bits slips through the code in the demo's frame.
bool MissesSomeOf(const Explanation& e, int k) {
    const std::span<const double> shares =
        stats::KnownErrorShares(stats::CodeShape{e.codeMode, e.groupSize});
    return k >= 0 && k < static_cast<int>(shares.size()) && shares[static_cast<std::size_t>(k)] > 0;
}

ChosenFact CrcFactOfCount(const Explanation& e, int bits) {
    if (bits <= 3) {
        return {VerdictFact::CrcFewBits};
    }
    if (bits % 2 == 1) {
        return {VerdictFact::CrcOddBits};
    }
    return MissesSomeOf(e, bits) ? ChosenFact{VerdictFact::CrcEvenBits, bits} : ChosenFact{};
}

ChosenFact ParityFactOfDamage(const Damage& damage, bool burst) {
    if (damage.cells % 2 == 1) {
        return {VerdictFact::OddFlipsCaught};
    }
    if (damage.evenGroup) {
        return {burst ? VerdictFact::PairInGroupBurst : VerdictFact::PairInGroup};
    }
    return {};
}

// The column parity and the sums, whose facts share their single flip and their bursts.
ChosenFact ByteFactOfDamage(const Damage& damage, bool burst, bool columns, bool internet) {
    if (damage.cells == 1) {
        return {VerdictFact::SingleFlipCaught};
    }
    if (burst) {
        if (damage.span > 8) {
            return {VerdictFact::LongBurst};
        }
        if (internet && TurnsEightTheSameWay(damage)) {
            return {VerdictFact::OnesComplementBurst};
        }
        if (damage.caught) {
            return {columns ? VerdictFact::ShortBurstColumns : VerdictFact::ShortBurstSum};
        }
        return {};
    }
    if (columns) {
        return HasEvenColumn(damage) ? ChosenFact{VerdictFact::ColumnPair} : ChosenFact{};
    }
    if (HasOppositePair(damage)) {
        return {VerdictFact::OppositePair};
    }
    if (HasTopColumnPair(damage)) {
        if (!internet) {
            return {VerdictFact::TopColumnPair};
        }
        if (damage.cells == 2 && damage.caught) {
            return {VerdictFact::TopColumnPairCaught};
        }
    }
    return {};
}

ChosenFact FactOfDamage(const Form& form, const Explanation& e, bool burst) {
    const Damage damage = DamageOf(form, e);
    return std::visit(
        Overloaded{
            [](const NoCheckWorking&) { return ChosenFact{VerdictFact::NothingChecked}; },
            [&](const ParityWorking&) { return ParityFactOfDamage(damage, burst); },
            [&](const ColumnWorking&) { return ByteFactOfDamage(damage, burst, true, false); },
            [&](const SumWorking& sums) {
                return ByteFactOfDamage(damage, burst, false, sums.onesComplement);
            },
            [&](const CrcWorking&) {
                if (burst) {
                    return ChosenFact{damage.span <= 8 ? VerdictFact::CrcShortBurst
                                                       : VerdictFact::CrcLongBurst};
                }
                return CrcFactOfCount(e, damage.cells);
            },
        },
        e.working);
}

// The column parity and the sums with nothing damaged.
ChosenFact ByteFactOfModel(int size, bool burst, bool columns, bool internet) {
    if (size == 1) {
        return {VerdictFact::SingleFlipCaught};
    }
    if (burst) {
        if (size > 8) {
            return {VerdictFact::LongBurst};
        }
        if (internet && size == 8) {
            return {VerdictFact::OnesComplementBurst};
        }
        return {columns ? VerdictFact::ShortBurstColumns : VerdictFact::ShortBurstSum};
    }
    if (columns) {
        return {VerdictFact::ColumnPair};
    }
    return {internet ? VerdictFact::SumPairsOnesComplement : VerdictFact::SumPairs};
}

// With nothing damaged: what the model, k or L bits of this frame, teaches about the code.
ChosenFact FactOfModel(const Form& form, const Explanation& e, bool burst) {
    const int size = SizeInFrame(form.errorModel, SentLength(form));
    return std::visit(
        Overloaded{
            [](const NoCheckWorking&) { return ChosenFact{VerdictFact::NothingChecked}; },
            [&](const ParityWorking&) {
                const bool odd = burst ? size == 1 : size % 2 == 1;
                return ChosenFact{odd     ? VerdictFact::OddFlipsCaught
                                  : burst ? VerdictFact::PairInGroupBurst
                                          : VerdictFact::PairInGroup};
            },
            [&](const ColumnWorking&) { return ByteFactOfModel(size, burst, true, false); },
            [&](const SumWorking& sums) {
                return ByteFactOfModel(size, burst, false, sums.onesComplement);
            },
            [&](const CrcWorking&) {
                if (burst) {
                    return ChosenFact{size <= 8 ? VerdictFact::CrcShortBurst
                                                : VerdictFact::CrcLongBurst};
                }
                return size <= 3 || size % 2 == 1 ? CrcFactOfCount(e, size)
                                                  : ChosenFact{VerdictFact::CrcEvenBits, size};
            },
        },
        e.working);
}

} // namespace

bool FactSaysAllCaught(VerdictFact fact) {
    switch (fact) {
    case VerdictFact::OddFlipsCaught:
    case VerdictFact::SingleFlipCaught:
    case VerdictFact::ShortBurstColumns:
    case VerdictFact::ShortBurstSum:
    case VerdictFact::TopColumnPairCaught:
    case VerdictFact::CrcFewBits:
    case VerdictFact::CrcOddBits:
    case VerdictFact::CrcShortBurst:
        return true;
    default:
        return false;
    }
}

ChosenFact ChooseFact(const Form& form, const Explanation& e, double exactOdds) {
    const ErrorModelKind kind = form.errorModel.kind;
    if (kind == ErrorModelKind::RandomBits) {
        return {};
    }
    const bool burst = kind == ErrorModelKind::Burst;
    if (!e.errors.empty()) {
        return FactOfDamage(form, e, burst);
    }
    const ChosenFact chosen = FactOfModel(form, e, burst);
    const bool agrees = FactSaysAllCaught(chosen.fact) == (exactOdds == 0);
    return agrees ? chosen : ChosenFact{};
}

std::string FactText(const ChosenFact& chosen) {
    static constexpr std::array<std::string_view, kVerdictFactCount> kTexts{
        "",
        "Mode None checks nothing: every error that reaches the data slips through.",
        "An odd number of flips leaves some group with an odd number: parity groups catch every "
        "error of an odd number of bits.",
        "Two flips in one group cancel: parity groups miss every error that leaves each group an "
        "even number of flips, its parity bit counted.",
        "Two flips in one group cancel, so parity groups miss even short bursts.",
        "Every check here catches a single flipped bit.",
        "A burst of 8 bits or fewer changes each column at most once, so the column parities "
        "show it.",
        "A burst longer than 8 bits can change a column twice; such bursts slip through about "
        "once in 256.",
        "Two flips in the same column of different bytes cancel in the column parity.",
        "A burst of 8 bits or fewer changes each column at most once, so the sum cannot come "
        "back to its value.",
        "A burst of 8 bits or fewer changes each column at most once, but in one's complement "
        "00000000 and 11111111 are both zero: a burst that turns eight zeros into ones, or back, "
        "can slip through.",
        "Two flips cancel in the sum when a 0 becomes 1 and a 1 becomes 0 in the same column of "
        "different bytes.",
        "Two flips the same way in the top column (bit 0) of different bytes cancel too: "
        "together they add or take 256, and that carry leaves the byte.",
        "Two flips the same way in the top column (bit 0) of different bytes do not cancel "
        "here: the end-around carry brings the 256 back as 1, so such a pair is caught.",
        "Two flips cancel in the sum when a 0 becomes 1 and a 1 becomes 0 in the same column of "
        "different bytes, or when both go the same way in the top column, whose carry leaves "
        "the byte.",
        "Two flips cancel in the sum when a 0 becomes 1 and a 1 becomes 0 in the same column of "
        "different bytes; two flips the same way in the top column do not, since the "
        "end-around carry brings the carry back.",
        "CRC-8 catches every error of 3 or fewer bits in this frame.",
        "CRC-8 catches every error of an odd number of bits: x + 1 divides x^8 + x^2 + x + 1, "
        "so every multiple of it has an even number of terms.",
        "CRC-8 catches every error of 3 or fewer bits in this frame, but not every error of "
        "{k}: some such patterns are multiples of x^8 + x^2 + x + 1.",
        "CRC-8 catches every burst of 8 bits or fewer: such a burst is x^i times a polynomial "
        "of degree below 8, which x^8 + x^2 + x + 1 cannot divide.",
        "A burst longer than 8 bits slips through CRC-8 about once in 256: when its pattern is "
        "a multiple of x^8 + x^2 + x + 1.",
    };
    std::string text(kTexts[static_cast<std::size_t>(chosen.fact)]);
    if (const std::size_t at = text.find("{k}"); at != std::string::npos) {
        text.replace(at, 3, std::to_string(chosen.bits));
    }
    return text;
}

} // namespace bitwatch
