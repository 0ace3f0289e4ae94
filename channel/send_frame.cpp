#include "channel/send_frame.h"

#include <cmath>
#include <limits>

#include "core/check_engine.h"
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

} // namespace

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
    for (int i = 0; i < kDataBits; ++i) {
        ColourAgainstTwin(form.parity[i + kDataBits], form.parity[i], ColourRxCheck);
        ColourAgainstTwin(form.row1[i + kDataBits], form.row1[i], ColourRxData);
    }
    if (form.sum2[0].shown) {
        for (int k = 0; k < kCheckBits; ++k) {
            if (flips()) {
                Damage(form.sum2[k], form.sum1[k], ColourRxCheck);
            }
        }
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
