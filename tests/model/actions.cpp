#include "actions.h"

#include <array>

#include "channel/run_control.h"
#include "channel/send_frame.h"

namespace bitwatch::model {

namespace {

constexpr std::array<const char*, 12> kNames = {"None",      "Parity 1",  "Parity 2", "Parity 4",
                                                "Parity 6",  "Parity 6V", "Parity 8", "Parity 16",
                                                "Parity 48", "Checksum",  "Internet", "CRC-8"};

constexpr std::array<const char*, 16> kRates = {"0",   "1",   "2",    "3",  "4",     "5",
                                                "0.5", "50",  "100",  "-5", "1e999", "nan",
                                                "inf", "  7", "1e-3", ""};

const char* KindName(ActionKind kind) {
    switch (kind) {
    case ActionKind::ClickData:
        return "click row1";
    case ActionKind::ClickParity:
        return "click parity";
    case ActionKind::ClickCheck:
        return "click sum2";
    case ActionKind::SetModeText:
        return "mode text";
    case ActionKind::PickMode:
        return "pick mode";
    case ActionKind::SetRateText:
        return "rate text";
    case ActionKind::PressOne:
        return "One";
    case ActionKind::PressReset:
        return "Reset";
    case ActionKind::PressRun:
        return "run button";
    case ActionKind::PressFind:
        return "Find UE";
    case ActionKind::Tick:
        return "tick";
    }
    return "?";
}

std::string RandomBytes(std::mt19937_64& random, std::size_t maxLength) {
    std::uniform_int_distribution<std::size_t> length(0, maxLength);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string text(length(random), '\0');
    for (char& c : text) {
        c = static_cast<char>(byte(random));
    }
    return text;
}

std::string RandomModeText(std::mt19937_64& random) {
    std::uniform_int_distribution<int> choice(0, 9);
    std::string name = kNames[std::uniform_int_distribution<std::size_t>(0, 11)(random)];
    switch (choice(random)) {
    case 0:
    case 1: { // a prefix, as while typing
        return name.substr(0, std::uniform_int_distribution<std::size_t>(0, name.size())(random));
    }
    case 2: { // other letter case
        std::string changed = name;
        for (char& c : changed) {
            if (c >= 'a' && c <= 'z') {
                c = static_cast<char>(c - 'a' + 'A');
            }
        }
        return changed;
    }
    case 3:
        return name + " ";
    case 4:
        return RandomBytes(random, 12);
    case 5:
        return "";
    default:
        return name;
    }
}

std::string RandomRateText(std::mt19937_64& random) {
    std::uniform_int_distribution<int> choice(0, 999);
    const int pick = choice(random);
    if (pick == 0) {
        return std::string(32767, '9');
    }
    if (pick < 50) {
        return RandomBytes(random, 8);
    }
    return kRates[static_cast<std::size_t>(pick) % kRates.size()];
}

std::int16_t RandomIndex(std::mt19937_64& random, int size) {
    // Mostly valid cells, sometimes just outside the array or far away.
    std::uniform_int_distribution<int> choice(0, 99);
    const int pick = choice(random);
    if (pick < 90) {
        return static_cast<std::int16_t>(std::uniform_int_distribution<int>(0, size - 1)(random));
    }
    constexpr std::array<int, 6> outside = {-1, -32768, 32767, 96, 8, 48};
    const int value = outside[static_cast<std::size_t>(pick) % outside.size()];
    return static_cast<std::int16_t>(value);
}

} // namespace

std::string Describe(const Action& action) {
    std::string text = KindName(action.kind);
    switch (action.kind) {
    case ActionKind::ClickData:
    case ActionKind::ClickParity:
    case ActionKind::ClickCheck:
    case ActionKind::PickMode:
        text += " " + std::to_string(action.index);
        break;
    case ActionKind::SetModeText:
    case ActionKind::SetRateText: {
        text += " \"";
        const std::size_t shown = std::min<std::size_t>(action.text.size(), 40);
        for (std::size_t i = 0; i < shown; ++i) {
            const auto c = static_cast<unsigned char>(action.text[i]);
            if (c >= 0x20 && c < 0x7F) {
                text += static_cast<char>(c);
            } else {
                constexpr char kHex[] = "0123456789abcdef";
                text += "\\x";
                text += kHex[c >> 4U];
                text += kHex[c & 15U];
            }
        }
        if (shown < action.text.size()) {
            text += "... (" + std::to_string(action.text.size()) + " bytes)";
        }
        text += "\"";
        break;
    }
    default:
        break;
    }
    return text;
}

void Perform(Form& form, const Action& action) {
    switch (action.kind) {
    case ActionKind::ClickData:
        ToggleDataBit(form, action.index);
        break;
    case ActionKind::ClickParity: {
        // A hidden cell takes no click; indexes outside the array go through unchecked.
        const bool inArray = action.index >= 0 && action.index < kCellsPerArray;
        if (!inArray || form.parity[action.index].shown) {
            ToggleParityBit(form, action.index);
        }
        break;
    }
    case ActionKind::ClickCheck: {
        const bool inArray = action.index >= 0 && action.index < kCheckBits;
        if (!inArray || form.sum2[action.index].shown) {
            ToggleCheckBit(form, action.index);
        }
        break;
    }
    case ActionKind::SetModeText:
        form.cmbMode.SetText(action.text);
        break;
    case ActionKind::PickMode: {
        // A pick sets the text (a change) and then reports the pick.
        const auto& entries = form.cmbMode.entries();
        if (action.index >= 0 && static_cast<std::size_t>(action.index) < entries.size()) {
            form.cmbMode.SetText(entries[static_cast<std::size_t>(action.index)]);
            ApplyMode(form);
        }
        break;
    }
    case ActionKind::SetRateText:
        form.cmbErrorRate.SetText(action.text);
        break;
    case ActionKind::PressOne:
        SendOne(form);
        break;
    case ActionKind::PressReset:
        ResetAll(form);
        break;
    case ActionKind::PressRun:
        CycleRun(form);
        break;
    case ActionKind::PressFind:
        FindUndetected(form);
        break;
    case ActionKind::Tick:
        if (form.Timer1.enabled()) {
            RunTick(form);
        }
        break;
    }
}

Action RandomAction(std::mt19937_64& random) {
    std::uniform_int_distribution<int> weight(0, 99);
    const int pick = weight(random);
    Action action;
    if (pick < 30) {
        action.kind = ActionKind::Tick;
    } else if (pick < 45) {
        action.kind = ActionKind::ClickData;
        action.index = RandomIndex(random, kCellsPerArray);
    } else if (pick < 53) {
        action.kind = ActionKind::ClickParity;
        action.index = RandomIndex(random, kCellsPerArray);
    } else if (pick < 60) {
        action.kind = ActionKind::ClickCheck;
        action.index = RandomIndex(random, kCheckBits);
    } else if (pick < 66) {
        action.kind = ActionKind::SetModeText;
        action.text = RandomModeText(random);
    } else if (pick < 69) {
        action.kind = ActionKind::PickMode;
        action.index = static_cast<std::int16_t>(std::uniform_int_distribution<int>(0, 7)(random));
    } else if (pick < 74) {
        action.kind = ActionKind::SetRateText;
        action.text = RandomRateText(random);
    } else if (pick < 80) {
        action.kind = ActionKind::PressOne;
    } else if (pick < 84) {
        action.kind = ActionKind::PressReset;
    } else if (pick < 93) {
        action.kind = ActionKind::PressRun;
    } else {
        action.kind = ActionKind::PressFind;
    }
    return action;
}

std::vector<Action> DecodeActions(std::span<const std::uint8_t> bytes) {
    std::vector<Action> actions;
    std::size_t pos = 0;
    const auto next = [&]() -> std::uint8_t {
        return pos < bytes.size() ? bytes[pos++] : 0;
    };
    while (pos < bytes.size()) {
        Action action;
        const std::uint8_t kind = next();
        action.kind = static_cast<ActionKind>(kind % 11);
        switch (action.kind) {
        case ActionKind::PickMode:
            // A pick always names an entry of the list.
            action.index = static_cast<std::int16_t>(next() % 8);
            break;
        case ActionKind::ClickData:
        case ActionKind::ClickParity:
        case ActionKind::ClickCheck: {
            const auto high = static_cast<unsigned>(next());
            const auto low = static_cast<unsigned>(next());
            action.index =
                static_cast<std::int16_t>(static_cast<std::uint16_t>((high << 8U) | low));
            break;
        }
        case ActionKind::SetModeText:
        case ActionKind::SetRateText: {
            const std::size_t length = next();
            for (std::size_t i = 0; i < length && pos < bytes.size(); ++i) {
                action.text += static_cast<char>(next());
            }
            break;
        }
        default:
            break;
        }
        actions.push_back(std::move(action));
    }
    return actions;
}

} // namespace bitwatch::model
