#pragma once

// A script of events as the tools read it: a line an event, "kind index hex-text" (the event's
// kind as a number, its index, and its text's bytes as two hex digits each).

#include <istream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "ui/events.h"

namespace bitwatch::tools {

// The events of the script, or nothing when a line names no kind of event.
inline std::optional<std::vector<Event>> ReadEventScript(std::istream& script) {
    std::vector<Event> events;
    std::string line;
    while (std::getline(script, line)) {
        std::istringstream fields(line);
        int kind = 0;
        int index = 0;
        std::string hex;
        fields >> kind >> index >> hex;
        if (kind < 0 || kind >= kEventKinds) {
            return std::nullopt;
        }
        std::string text;
        for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
            text += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
        }
        events.push_back({static_cast<EventKind>(kind), static_cast<std::int16_t>(index), text});
    }
    return events;
}

} // namespace bitwatch::tools
