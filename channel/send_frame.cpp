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

bool Flips(Form& form) {
    // The rate text is converted for every bit that may flip. Nothing can change it within one
    // frame, so this costs only time (a few microseconds a frame) and keeps one rule for all.
    const float probability = FlipProbability(form.cmbErrorRate.text());
    return probability > form.random.Draw();
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

    for (int i = kDataBits; i < kCellsPerArray; ++i) {
        if (Flips(form)) {
            ToggleDataBit(form, static_cast<std::int16_t>(i));
        }
    }
    for (int i = kDataBits; i < kCellsPerArray; ++i) {
        // A number is drawn for every parity cell, shown or hidden.
        if (Flips(form) && form.parity[i].shown) {
            ToggleParityBit(form, static_cast<std::int16_t>(i));
        }
    }
    for (int i = 0; i < kDataBits; ++i) {
        ColourAgainstTwin(form.parity[i + kDataBits], form.parity[i], ColourRxCheck);
        ColourAgainstTwin(form.row1[i + kDataBits], form.row1[i], ColourRxData);
    }
    if (form.sum2[0].shown) {
        for (int k = 0; k < kCheckBits; ++k) {
            if (Flips(form)) {
                ToggleCheckBit(form, static_cast<std::int16_t>(k));
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
        TextLabel& cell = form.row1[index];
        Invert(cell);
        ColourAgainstTwin(cell, form.row1[index - kDataBits], ColourRxData);
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
    TextLabel& cell = form.parity[index];
    Invert(cell);
    ColourAgainstTwin(cell, form.parity[index - kDataBits], ColourRxCheck);
    CheckFrame(form, SideReceived);
}

void ToggleCheckBit(Form& form, std::int16_t index) {
    if (index < 0 || index >= kCheckBits) {
        return;
    }
    TextLabel& cell = form.sum2[index];
    Invert(cell);
    ColourAgainstTwin(cell, form.sum1[index], ColourRxCheck);
    CheckFrame(form, SideReceived);
}

} // namespace bitwatch
