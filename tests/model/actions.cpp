#include "actions.h"

#include <array>

namespace bitwatch::model {

namespace {

constexpr std::array<const char*, 16> kRates = {"0",   "1",   "2",    "3",  "4",     "5",
                                                "0.5", "50",  "100",  "-5", "1e999", "nan",
                                                "inf", "  7", "1e-3", ""};

// Texts a keyboard, an input method or a paste can bring: accents, CJK, emoji and other astral
// characters, combining marks, right-to-left text, and control characters.
constexpr std::array<const char*, 12> kWideTexts = {
    "\xC3\xA9",                                                     // é
    "Parit\xC3\xA9 8",                                              // a mode name with an accent
    "\xE4\xB8\xAD\xE6\x96\x87\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88", // 中文テスト
    "\xF0\x9F\x98\x80\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD",             // emoji, one with a skin tone
    "\xF0\x9D\x9F\x8F",                                             // mathematical bold digit one
    "e\xCC\x81\xCC\xA3",                                            // e with two combining marks
    "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D 5",                           // Hebrew, then a number
    "\xD9\xA5",     // Arabic-Indic five: no digit here
    "\xEF\xBC\x95", // full-width five
    "1\t2\r\n3",    // controls from a paste
    "\xE2\x80\xAE"
    "CRC-8",         // a right-to-left override before a name
    "5\xE2\x80\x8B", // a number, then a zero-width space
};

// A long text of the wide pieces, as a paste brings it: sometimes past the box's length.
std::string RandomWideText(std::mt19937_64& random) {
    std::uniform_int_distribution<int> choice(0, 19);
    if (choice(random) != 0) {
        return kWideTexts[std::uniform_int_distribution<std::size_t>(0, kWideTexts.size() -
                                                                            1)(random)];
    }
    const std::size_t pieces = std::uniform_int_distribution<std::size_t>(2, 9000)(random);
    std::string text;
    for (std::size_t i = 0; i < pieces; ++i) {
        text += kWideTexts[std::uniform_int_distribution<std::size_t>(0, kWideTexts.size() -
                                                                             1)(random)];
    }
    return text;
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
    const std::size_t row =
        std::uniform_int_distribution<std::size_t>(0, kModeTable.size() - 1)(random);
    std::string name(kModeTable[row].text);
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
    case 6:
        return RandomWideText(random);
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
    if (pick < 150) {
        return RandomWideText(random);
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

Event RandomEvent(std::mt19937_64& random) {
    std::uniform_int_distribution<int> weight(0, 103);
    const int pick = weight(random);
    Event event;
    if (pick < 30) {
        event.kind = EventKind::Tick;
    } else if (pick < 45) {
        event.kind = EventKind::ClickData;
        event.index = RandomIndex(random, kCellsPerArray);
    } else if (pick < 53) {
        event.kind = EventKind::ClickParity;
        event.index = RandomIndex(random, kCellsPerArray);
    } else if (pick < 60) {
        event.kind = EventKind::ClickCheck;
        event.index = RandomIndex(random, kCheckBits);
    } else if (pick < 66) {
        event.kind = EventKind::ModeTextChanged;
        event.text = RandomModeText(random);
    } else if (pick < 69) {
        event.kind = EventKind::ModePicked;
        event.index = static_cast<std::int16_t>(std::uniform_int_distribution<int>(0, 7)(random));
    } else if (pick < 74) {
        event.kind = EventKind::RateTextChanged;
        event.text = RandomRateText(random);
    } else if (pick < 80) {
        event.kind = EventKind::PressOne;
    } else if (pick < 84) {
        event.kind = EventKind::PressReset;
    } else if (pick < 93) {
        event.kind = EventKind::PressRun;
    } else if (pick < 100) {
        event.kind = EventKind::PressFind;
    } else if (pick < 102) { // the companion's model, now and then one beyond its list
        event.kind = EventKind::ModelPicked;
        event.index = static_cast<std::int16_t>(std::uniform_int_distribution<int>(0, 3)(random));
    } else { // its k or L: small, the whole frame, or none a control could send
        constexpr std::array<int, 8> kSizes = {1, 2, 3, 8, 9, 56, 96, 97};
        event.kind = EventKind::ModelSizeChanged;
        event.index = static_cast<std::int16_t>(
            kSizes[std::uniform_int_distribution<std::size_t>(0, kSizes.size() - 1)(random)]);
    }
    return event;
}

std::vector<Event> DecodeEvents(std::span<const std::uint8_t> bytes) {
    std::vector<Event> events;
    std::size_t pos = 0;
    const auto next = [&]() -> std::uint8_t {
        return pos < bytes.size() ? bytes[pos++] : 0;
    };
    while (pos < bytes.size()) {
        Event event;
        const std::uint8_t kind = next();
        event.kind = static_cast<EventKind>(kind % kEventKinds);
        switch (event.kind) {
        case EventKind::ModePicked:
            // A pick always names an entry of the list.
            event.index = static_cast<std::int16_t>(next() % 8);
            break;
        case EventKind::ClickData:
        case EventKind::ClickParity:
        case EventKind::ClickCheck: {
            const auto high = static_cast<unsigned>(next());
            const auto low = static_cast<unsigned>(next());
            event.index = static_cast<std::int16_t>(static_cast<std::uint16_t>((high << 8U) | low));
            break;
        }
        case EventKind::ModeTextChanged:
        case EventKind::RateTextChanged: {
            const std::size_t length = next();
            for (std::size_t i = 0; i < length && pos < bytes.size(); ++i) {
                event.text += static_cast<char>(next());
            }
            // The longest length stands for a paste: the text repeated past the box's length.
            if (length == 255 && !event.text.empty()) {
                const std::string piece = event.text;
                while (event.text.size() <= kBoxTextLimit * 2) {
                    event.text += piece;
                }
            }
            break;
        }
        default:
            break;
        }
        events.push_back(std::move(event));
    }
    return events;
}

} // namespace bitwatch::model
