#include "invariants.h"

#include <array>
#include <cstdio>
#include <string_view>

#include "core/explain.h"

namespace bitwatch::model {

namespace {

struct NamedMode {
    std::string_view name;
    std::int32_t codeMode;
    std::int16_t groupSize;
};

// Written out again, in another order, on purpose: the checker must not share the library's mode
// table, or a wrong row there would be checked against itself.
constexpr std::array<NamedMode, 12> kReferenceModes = {{
    {"CRC-8", 5, 1000},
    {"Internet", 4, 1000},
    {"Checksum", 3, 1000},
    {"Parity 6V", 2, 1000},
    {"Parity 48", 1, 48},
    {"Parity 16", 1, 16},
    {"Parity 8", 1, 8},
    {"Parity 6", 1, 6},
    {"Parity 4", 1, 4},
    {"Parity 2", 1, 2},
    {"Parity 1", 1, 1},
    {"None", 0, 1000},
}};

// The number of UTF-16 units of a text, or -1 when it is not valid UTF-8: decoded by hand and
// checked against the ranges (overlong forms, surrogates, beyond U+10FFFF), not by the
// library's table.
long Utf16UnitsOrInvalid(std::string_view text) {
    long units = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80        ? 1
                                   : lead >> 5U == 6  ? 2
                                   : lead >> 4U == 14 ? 3
                                   : lead >> 3U == 30 ? 4
                                                      : 0;
        if (length == 0 || i + length > text.size()) {
            return -1;
        }
        std::uint32_t value = length == 1 ? lead : lead & (0x7FU >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if (next >> 6U != 2) {
                return -1;
            }
            value = value << 6U | (next & 0x3FU);
        }
        constexpr std::array<std::uint32_t, 5> kSmallest = {0, 0, 0x80, 0x800, 0x10000};
        if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value < 0xE000)) {
            return -1;
        }
        units += value >= 0x10000 ? 2 : 1;
        i += length;
    }
    return units;
}

// A box holds valid UTF-8 within the length of a line edit; a valid text that fits is held as
// typed, letter for letter.
std::string CheckBox(const ComboBox& box, const char* name, const Event& action, EventKind setsIt) {
    const long held = Utf16UnitsOrInvalid(box.text());
    if (held < 0 || held > static_cast<long>(kBoxTextLimit)) {
        return std::string(name) + " holds invalid UTF-8 or more than a line edit holds";
    }
    if (action.kind == setsIt) {
        const long given = Utf16UnitsOrInvalid(action.text);
        if (given >= 0 && given <= static_cast<long>(kBoxTextLimit) && box.text() != action.text) {
            return std::string(name) + " does not hold the text typed into it";
        }
    }
    return {};
}

bool IsBit(const std::string& text) {
    return text == "0" || text == "1";
}

// Remainder of the message (48 bits then 8 zeros) divided by x^8 + x^2 + x + 1, worked as
// polynomial long division on a list of bits.
std::uint8_t ReferenceCrc(const bool (&bits)[48]) {
    std::array<int, 56> dividend{};
    for (int i = 0; i < 48; ++i) {
        dividend[static_cast<std::size_t>(i)] = bits[i] ? 1 : 0;
    }
    constexpr std::array<int, 9> generator = {1, 0, 0, 0, 0, 0, 1, 1, 1};
    for (std::size_t i = 0; i + 8 < dividend.size(); ++i) {
        if (dividend[i] == 1) {
            for (std::size_t j = 0; j < generator.size(); ++j) {
                dividend[i + j] ^= generator[j];
            }
        }
    }
    unsigned remainder = 0;
    for (std::size_t i = 48; i < 56; ++i) {
        remainder = remainder * 2 + static_cast<unsigned>(dividend[i]);
    }
    return static_cast<std::uint8_t>(remainder);
}

int ByteValue(const bool (&bits)[48], int byte) {
    int value = 0;
    for (int p = 0; p < 8; ++p) {
        value = value * 2 + (bits[byte * 8 + p] ? 1 : 0);
    }
    return value;
}

void ReadBits(const Form& form, int first, bool (&bits)[48]) {
    for (int k = 0; k < 48; ++k) {
        bits[k] = form.row1[first + k].text == "1";
    }
}

std::string ModeText(const ModelState& state) {
    return " (mode " + std::to_string(state.codeMode) + ", group " +
           std::to_string(state.groupSize) + ")";
}

bool ChecksAgree(const Form& form, const ModelState& state, const bool (&rx)[48]) {
    if (state.codeMode == ModeParity) {
        for (int end = state.groupSize - 1; end < 48; end += state.groupSize) {
            int ones = 0;
            for (int k = end - state.groupSize + 1; k <= end; ++k) {
                ones += rx[k] ? 1 : 0;
            }
            if ((form.parity[48 + end].text == "1") != (ones % 2 == 1)) {
                return false;
            }
        }
        return true;
    }
    if (state.codeMode == ModeNone) {
        return true;
    }
    const std::uint8_t expected = ReferenceCheckByte(state.codeMode, rx);
    for (int j = 0; j < 8; ++j) {
        if ((form.sum2[j].text == "1") != (((expected >> (7 - j)) & 1U) != 0)) {
            return false;
        }
    }
    return true;
}

std::string CheckCells(const Form& form, const ModelState& state) {
    for (int i = 0; i < 96; ++i) {
        if (!IsBit(form.row1[i].text) || !IsBit(form.parity[i].text)) {
            return "cell " + std::to_string(i) + " holds a text other than 0 or 1";
        }
    }
    for (int j = 0; j < 8; ++j) {
        if (!IsBit(form.sum1[j].text) || !IsBit(form.sum2[j].text)) {
            return "check cell " + std::to_string(j) + " holds a text other than 0 or 1";
        }
    }
    for (int i = 0; i < 48; ++i) {
        if (form.row1[i].foreColour != ColourTxData || form.parity[i].foreColour != ColourTxCheck) {
            return "transmitted cell " + std::to_string(i) + " has the wrong colour";
        }
        const bool dataDiffers = form.row1[i + 48].text != form.row1[i].text;
        if (form.row1[i + 48].foreColour != (dataDiffers ? ColourMismatch : ColourRxData)) {
            return "received data cell " + std::to_string(i + 48) + " is coloured wrongly";
        }
        const bool parityDiffers = form.parity[i + 48].text != form.parity[i].text;
        if (form.parity[i + 48].foreColour != (parityDiffers ? ColourMismatch : ColourRxCheck)) {
            return "received parity cell " + std::to_string(i + 48) + " is coloured wrongly";
        }
    }
    for (int j = 0; j < 8; ++j) {
        const bool differs = form.sum2[j].text != form.sum1[j].text;
        if (form.sum1[j].foreColour != ColourTxCheck ||
            form.sum2[j].foreColour != (differs ? ColourMismatch : ColourRxCheck)) {
            return "check cell " + std::to_string(j) + " is coloured wrongly";
        }
    }

    // Shown flags follow the mode.
    const bool byteMode = state.codeMode >= ModeVerticalParity;
    for (int i = 0; i < 96; ++i) {
        if (form.parity[i].shown != ((i + 1) % state.groupSize == 0)) {
            return "parity cell " + std::to_string(i) + " shown flag" + ModeText(state);
        }
    }
    for (int j = 0; j < 8; ++j) {
        if (form.sum1[j].shown != byteMode || form.sum2[j].shown != byteMode) {
            return "check cell shown flag" + ModeText(state);
        }
    }
    if (form.Line1[0].shown != (state.codeMode != ModeParity) ||
        form.Line1[1].shown != form.Line1[0].shown) {
        return "Line1 shown flag" + ModeText(state);
    }

    // The transmitted check cells hold the code of the transmitted data.
    bool tx[48];
    ReadBits(form, 0, tx);
    for (int i = 0; i < 48; ++i) {
        const bool groupEnd = state.codeMode == ModeParity && (i + 1) % state.groupSize == 0;
        std::string expected = "0";
        if (groupEnd) {
            int ones = 0;
            for (int k = i - state.groupSize + 1; k <= i; ++k) {
                ones += tx[k] ? 1 : 0;
            }
            expected = ones % 2 == 1 ? "1" : "0";
        }
        if (form.parity[i].text != expected) {
            return "transmitted parity cell " + std::to_string(i) + ModeText(state);
        }
    }
    const std::uint8_t checkByte = byteMode ? ReferenceCheckByte(state.codeMode, tx) : 0;
    for (int j = 0; j < 8; ++j) {
        const bool one = ((checkByte >> (7 - j)) & 1U) != 0;
        if ((form.sum1[j].text == "1") != one) {
            return "transmitted check cell " + std::to_string(j) + ModeText(state);
        }
    }
    return {};
}

bool IsRunState(const Form& form) {
    const std::string& caption = form.Command4.caption;
    const bool stop = form.stopOnUndetected != kFalse;
    const bool enabled = form.Timer1.enabled();
    const int interval = form.Timer1.interval();
    if (form.stopOnUndetected != kFalse && form.stopOnUndetected != kTrue) {
        return false;
    }
    if (caption == "Start") {
        return !enabled && ((interval == 10000 && !stop) || (interval == 10 && stop));
    }
    if (caption == "Fast") {
        return enabled && interval == 1000 && !stop;
    }
    if (caption == "Stop") {
        return enabled && interval == 10;
    }
    return false;
}

bool ResetsFrame(const Event& action) {
    return action.kind == EventKind::ModeTextChanged || action.kind == EventKind::PressReset ||
           action.kind == EventKind::ModePicked;
}

} // namespace

std::uint8_t ReferenceCheckByte(std::int32_t codeMode, const bool (&bits)[48]) {
    switch (codeMode) {
    case ModeVerticalParity: {
        int ones = 0;
        unsigned check = 0;
        for (int column = 0; column < 8; ++column) {
            for (int row = 0; row < 6; ++row) {
                ones += bits[row * 8 + column] ? 1 : 0;
            }
            check = check * 2 + static_cast<unsigned>(ones % 2);
        }
        return static_cast<std::uint8_t>(check);
    }
    case ModeChecksum:
    case ModeInternet: {
        int total = 0;
        for (int byte = 0; byte < 6; ++byte) {
            total += ByteValue(bits, byte);
        }
        if (codeMode == ModeChecksum) {
            return static_cast<std::uint8_t>(total % 256);
        }
        while (total > 255) {
            total = total % 256 + total / 256;
        }
        return static_cast<std::uint8_t>(255 - total);
    }
    case ModeCrc8:
        return ReferenceCrc(bits);
    default:
        return 0;
    }
}

std::string ReferenceRateText(std::int64_t undetected, std::int64_t frames) {
    const std::int64_t k = undetected * 10000 / frames;
    char digits[32];
    std::snprintf(digits, sizeof digits, "%lld.%02lld", static_cast<long long>(k / 100),
                  static_cast<long long>(k % 100));
    std::string text = digits;
    while (text.back() == '0' && text.find('.') != std::string::npos) {
        text.pop_back();
    }
    if (text.back() == '.') {
        text.pop_back();
    }
    if (k > 0 && k < 100) {
        return text; // "0.66": the zero stays, the blank goes
    }
    return " " + text;
}

// The model follows its own events only, whatever else happens; a frame sent through exactly k
// bits differs from its twin in exactly k cells, one through a burst of L spans exactly L.
std::string CheckErrorModel(const Form& form, const Event& action, bool ticked, ModelState& state) {
    if (action.kind == EventKind::ModelPicked && action.index >= 0 && action.index < 3) {
        state.model.kind = static_cast<ErrorModelKind>(action.index);
    }
    if (action.kind == EventKind::ModelSizeChanged && action.index >= 1 && action.index <= 96) {
        state.model.size = action.index;
    }
    if (form.errorModel != state.model) {
        return "error model " + std::to_string(static_cast<int>(form.errorModel.kind)) + "/" +
               std::to_string(form.errorModel.size) + ", expected " +
               std::to_string(static_cast<int>(state.model.kind)) + "/" +
               std::to_string(state.model.size);
    }
    const bool sent = ticked || action.kind == EventKind::PressOne;
    if (!sent || state.model.kind == ErrorModelKind::RandomBits) {
        return {};
    }
    const Explanation why = Explain(form);
    const int expected = std::min<int>(state.model.size, why.frameLength);
    const int seen = state.model.kind == ErrorModelKind::ExactBits
                         ? static_cast<int>(why.errors.size())
                         : why.span;
    if (seen != expected) {
        return (state.model.kind == ErrorModelKind::ExactBits ? "damaged cells " : "burst span ") +
               std::to_string(seen) + ", expected " + std::to_string(expected);
    }
    return {};
}

Before Snapshot(const Form& form, const Event& action) {
    Before before;
    before.timerEnabled = form.Timer1.enabled();
    before.runCaption = form.Command4.caption;
    if (action.index >= 0 && action.index < kCellsPerArray) {
        before.parityShown = form.parity[action.index].shown;
    }
    if (action.index >= 0 && action.index < kCheckBits) {
        before.checkShown = form.sum2[action.index].shown;
    }
    return before;
}

std::string CheckInvariants(const Form& form, const Event& action, const Before& before,
                            ModelState& state) {
    if (action.kind == EventKind::ModeTextChanged || action.kind == EventKind::ModePicked) {
        for (const NamedMode& mode : kReferenceModes) {
            if (form.cmbMode.text() == mode.name) {
                state.codeMode = mode.codeMode;
                state.groupSize = mode.groupSize;
            }
        }
    }
    if (form.codeMode != state.codeMode || form.groupSize != state.groupSize) {
        return "mode is " + std::to_string(form.codeMode) + "/" + std::to_string(form.groupSize) +
               ModeText(state);
    }

    if (std::string broken = CheckCells(form, state); !broken.empty()) {
        return broken;
    }
    for (std::string broken :
         {CheckBox(form.cmbMode, "cmbMode", action, EventKind::ModeTextChanged),
          CheckBox(form.cmbErrorRate, "cmbErrorRate", action, EventKind::RateTextChanged)}) {
        if (!broken.empty()) {
            return broken;
        }
    }

    // Which actions verify the received side last.
    const bool validIndex = action.index >= 0;
    const bool checks = (action.kind == EventKind::ClickData && validIndex && action.index < 96) ||
                        (action.kind == EventKind::ClickParity && validIndex &&
                         action.index >= 48 && action.index < 96 && before.parityShown) ||
                        (action.kind == EventKind::ClickCheck && validIndex && action.index < 8 &&
                         before.checkShown) ||
                        action.kind == EventKind::PressOne ||
                        (action.kind == EventKind::PressRun && before.runCaption == "Start") ||
                        (action.kind == EventKind::Tick && before.timerEnabled);
    if (ResetsFrame(action)) {
        state.verdictCurrent = false;
    } else if (checks) {
        state.verdictCurrent = true;
    }
    if (state.verdictCurrent) {
        bool tx[48];
        bool rx[48];
        ReadBits(form, 0, tx);
        ReadBits(form, 48, rx);
        bool dataDiffers = false;
        for (int k = 0; k < 48; ++k) {
            dataDiffers = dataDiffers || tx[k] != rx[k];
        }
        const bool agree = ChecksAgree(form, state, rx);
        const char* expected = agree ? (dataDiffers ? "Undetected Errors" : "No Errors")
                                     : (dataDiffers ? "Errors Detected" : "False Positive");
        if (form.lblResult.text != expected) {
            return "verdict \"" + form.lblResult.text + "\", expected \"" + expected + "\"";
        }
        // The companion's explanation reaches the same verdict from its own working.
        if (const Explanation why = Explain(form); why.verdict != expected) {
            return "the explanation says \"" + std::string(why.verdict) + "\", the verdict is \"" +
                   expected + "\"";
        }
    }

    // Counters: only a tick that ran counts, only a reset clears.
    const bool ticked = (action.kind == EventKind::Tick && before.timerEnabled) ||
                        (action.kind == EventKind::PressRun && before.runCaption == "Start");
    const std::int64_t expectedFrames =
        ResetsFrame(action) ? 0 : state.frameCount + (ticked ? 1 : 0);
    if (form.frameCount != expectedFrames) {
        return "frameCount " + std::to_string(form.frameCount) + ", expected " +
               std::to_string(expectedFrames);
    }
    state.frameCount = form.frameCount;
    if (form.undetectedCount < 0 || form.undetectedCount > form.frameCount) {
        return "undetectedCount out of range";
    }
    const std::string rate = form.frameCount == 0
                                 ? std::string("0.00")
                                 : ReferenceRateText(form.undetectedCount, form.frameCount);
    if (form.lblUER.text != rate) {
        return "lblUER \"" + form.lblUER.text + "\", expected \"" + rate + "\"";
    }
    if (std::string broken = CheckErrorModel(form, action, ticked, state); !broken.empty()) {
        return broken;
    }
    if (!IsRunState(form)) {
        return "run state: caption \"" + form.Command4.caption + "\", timer " +
               (form.Timer1.enabled() ? "on" : "off") + " " +
               std::to_string(form.Timer1.interval());
    }
    return {};
}

std::string RunAndCheck(Form& form, const Event& event, ModelState& state) {
    const Before before = Snapshot(form, event);
    RunEvent(form, event);
    return CheckInvariants(form, event, before, state);
}

} // namespace bitwatch::model
