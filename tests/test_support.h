#pragma once

#include <string>
#include <vector>

#include "core/check_engine.h"
#include "core/frame.h"

namespace bitwatch::test {

// Every mode text of the table, in its order.
inline std::vector<std::string> AllModeTexts() {
    std::vector<std::string> texts;
    texts.reserve(kModeTable.size());
    for (const ModeRow& row : kModeTable) {
        texts.emplace_back(row.text);
    }
    return texts;
}

// A started form switched to the given mode text.
inline void StartIn(Form& form, const std::string& modeText) {
    Startup(form);
    form.cmbMode.SetText(modeText);
}

inline void WriteData(Form& form, Side side, const FrameBytes& bytes) {
    const int first = side == SideTransmitted ? 0 : kDataBits;
    for (int k = 0; k < kDataBits; ++k) {
        form.row1[first + k].text = DataBit(bytes, k) ? "1" : "0";
    }
}

// The transmitted frame with its check bits computed and copied intact to the received side.
inline void Transmit(Form& form, const FrameBytes& bytes) {
    WriteData(form, SideTransmitted, bytes);
    WriteData(form, SideReceived, bytes);
    CheckFrame(form, SideTransmitted);
    for (int i = 0; i < kDataBits; ++i) {
        form.parity[i + kDataBits].text = form.parity[i].text;
    }
    for (int j = 0; j < kCheckBits; ++j) {
        form.sum2[j].text = form.sum1[j].text;
    }
}

template <std::size_t N> std::string Texts(const std::array<TextLabel, N>& cells) {
    std::string joined;
    for (const TextLabel& cell : cells) {
        joined += cell.text;
    }
    return joined;
}

inline void Flip(TextLabel& cell) {
    cell.text = cell.text == "1" ? "0" : "1";
}

} // namespace bitwatch::test
