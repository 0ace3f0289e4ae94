#pragma once

// A script of events as the tools read it: a line an event, "kind index hex-text" (the event's
// kind as a number, its index, and its text's bytes as two hex digits each).

#include <cstdio>
#include <fstream>
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

// The events of the script file at path; on failure, says why on standard error (naming the
// program) and gives nothing.
inline std::optional<std::vector<Event>> ReadEventScriptFile(const char* program,
                                                             const char* path) {
    std::ifstream script(path);
    if (!script) {
        std::fprintf(stderr, "%s: cannot read %s\n", program, path);
        return std::nullopt;
    }
    auto events = ReadEventScript(script);
    if (!events) {
        std::fprintf(stderr, "%s: a line of %s names no kind of event\n", program, path);
    }
    return events;
}

} // namespace bitwatch::tools
