#include "channel/send_frame.h"

#include <array>
#include <cmath>
#include <limits>

#include "channel/error_draws.h"
#include "core/check_engine.h"
#include "core/codes/code_unit.h"
#include "core/text_number.h"

namespace bitwatch {

namespace {

constexpr float kOneHalf = 0.5F;

void ColourAgainstTwin(TextLabel& cell, const TextLabel& twin, Colour matchColour) {
    cell.foreColour = cell.text == twin.text ? matchColour : ColourMismatch;
}

void Invert(TextLabel& cell) {
    cell.text = BitText(!CellIsOne(cell));
}

// The damage step's flip: the bit inverted and recoloured against its twin, as a click on the
// cell does, but without the check that a click runs after it. Only the verdict of the last check
// of the frame reaches anyone, so SendFrame checks once, after every flip.
void Damage(TextLabel& cell, const TextLabel& twin, Colour matchColour) {
    Invert(cell);
    ColourAgainstTwin(cell, twin, matchColour);
}

// A cell the channel may damage, with its twin and the colour it has while they agree.
struct SentCell {
    TextLabel* cell = nullptr;
    const TextLabel* twin = nullptr;
    Colour matchColour = 0;
};

using SentCells = std::array<SentCell, kLongestFrame + kCheckBits>;

// The received cells the channel may damage, in the order the frame is sent: the data bits in
// order, each shown parity bit right after its group's last data bit, then the check byte when
// it is shown.
int CellsInSentOrder(Form& form, SentCells& cells) {
    int n = 0;
    for (int i = kDataBits; i < kCellsPerArray; ++i) {
        cells[n++] = {&form.row1[i], &form.row1[i - kDataBits], ColourRxData};
        if (form.parity[i].shown) {
            cells[n++] = {&form.parity[i], &form.parity[i - kDataBits], ColourRxCheck};
        }
    }
    if (form.sum2[0].shown) {
        for (int k = 0; k < kCheckBits; ++k) {
            cells[n++] = {&form.sum2[k], &form.sum1[k], ColourRxCheck};
        }
    }
    return n;
}

// The random channel: a draw for every received data cell, every parity cell (shown or
// hidden) and, when shown, every check cell, in that order.
void DamageAtRate(Form& form) {
    // The rate text cannot change within one frame, so reading it once gives the flips that
    // reading it for every bit would.
    const float probability = FlipProbability(form.cmbErrorRate.text());
    const auto flips = [&form, probability] {
        return probability > form.random.Draw();
    };
    for (int i = kDataBits; i < kCellsPerArray; ++i) {
        if (flips()) {
            Damage(form.row1[i], form.row1[i - kDataBits], ColourRxData);
        }
    }
    for (int i = kDataBits; i < kCellsPerArray; ++i) {
        // A number is drawn for every parity cell, shown or hidden.
        if (flips() && form.parity[i].shown) {
            Damage(form.parity[i], form.parity[i - kDataBits], ColourRxCheck);
        }
    }
    if (form.sum2[0].shown) {
        for (int k = 0; k < kCheckBits; ++k) {
            if (flips()) {
                Damage(form.sum2[k], form.sum1[k], ColourRxCheck);
            }
        }
    }
}

// Exactly k bits or one burst, at places in the order sent.
void DamageByModel(Form& form) {
    SentCells cells{};
    const int n = CellsInSentOrder(form, cells);
    const FlipPlaces places = DrawModelFlips(form.random, form.errorModel, n);
    for (int place = 0; place < n; ++place) {
        if (places.Has(place)) {
            Damage(*cells[place].cell, *cells[place].twin, cells[place].matchColour);
        }
    }
}

} // namespace

int SentLength(const Form& form) {
    return SentBits(form.codeMode, form.groupSize);
}

float FlipProbability(std::string_view rateText) {
    const double probability = TextToNumber(rateText) / 100.0;
    // Narrowing a double beyond float's range is undefined; such rates flip every bit (or,
    // negative, none), exactly as infinity does.
    if (std::abs(probability) > static_cast<double>(std::numeric_limits<float>::max())) {
        constexpr float kInfinity = std::numeric_limits<float>::infinity();
        return probability > 0 ? kInfinity : -kInfinity;
    }
    return static_cast<float>(probability);
}

void SendFrame(Form& form) {
    for (int i = 0; i < kDataBits; ++i) {
        const bool one = form.random.Draw() > kOneHalf;
        form.row1[i].text = BitText(one);
        form.row1[i].foreColour = ColourTxData;
        form.row1[i + kDataBits].text = BitText(one);
        form.row1[i + kDataBits].foreColour = ColourRxData;
    }
    CheckFrame(form, SideTransmitted);
    CopyCheckBits(form);

    if (form.errorModel.kind == ErrorModelKind::RandomBits) {
        DamageAtRate(form);
    } else {
        DamageByModel(form);
    }
    for (int i = 0; i < kDataBits; ++i) {
        ColourAgainstTwin(form.parity[i + kDataBits], form.parity[i], ColourRxCheck);
        ColourAgainstTwin(form.row1[i + kDataBits], form.row1[i], ColourRxData);
    }
    CheckFrame(form, SideReceived);
}

void CopyCheckBits(Form& form) {
    for (int i = 0; i < kDataBits; ++i) {
        form.parity[i + kDataBits].text = form.parity[i].text;
        form.parity[i + kDataBits].foreColour = ColourRxCheck;
    }
    for (int k = 0; k < kCheckBits; ++k) {
        form.sum2[k].text = form.sum1[k].text;
        form.sum2[k].foreColour = ColourRxCheck;
    }
}

void ToggleDataBit(Form& form, std::int16_t index) {
    if (index >= kDataBits && index < kCellsPerArray) {
        Damage(form.row1[index], form.row1[index - kDataBits], ColourRxData);
        CheckFrame(form, SideReceived);
    } else if (index >= 0 && index < kDataBits) {
        const std::string_view bit = BitText(!CellIsOne(form.row1[index]));
        form.row1[index].text = bit;
        form.row1[index + kDataBits].text = bit;
        form.row1[index + kDataBits].foreColour = ColourRxData;
        CheckFrame(form, SideTransmitted);
        CopyCheckBits(form);
        CheckFrame(form, SideReceived);
    }
}

void ToggleParityBit(Form& form, std::int16_t index) {
    if (index < kDataBits || index >= kCellsPerArray) {
        return;
    }
    Damage(form.parity[index], form.parity[index - kDataBits], ColourRxCheck);
    CheckFrame(form, SideReceived);
}

void ToggleCheckBit(Form& form, std::int16_t index) {
    if (index < 0 || index >= kCheckBits) {
        return;
    }
    Damage(form.sum2[index], form.sum1[index], ColourRxCheck);
    CheckFrame(form, SideReceived);
}

} // namespace bitwatch
