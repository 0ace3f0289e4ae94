// Runs a script of events on a freshly started form and prints every record after each event,
// one line of JSON an event: the native side of the check that the WebAssembly build shows the
// same frames. A script line is "kind index text": the event's kind as a number, its index, and
// the rest of the line as its text (the text's bytes written as two hex digits each).

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "ui/events.h"
#include "ui/records_json.h"

namespace {

std::string FromHex(const std::string& hex) {
    std::string text;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        text += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    }
    return text;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SCRIPT\n", argv[0]);
        return 2;
    }
    std::ifstream script(argv[1]);
    if (!script) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
        return 2;
    }
    bitwatch::Form form;
    bitwatch::Startup(form);
    std::cout << bitwatch::RecordsJson(form) << '\n';
    std::string line;
    while (std::getline(script, line)) {
        std::istringstream fields(line);
        int kind = 0;
        int index = 0;
        std::string hex;
        fields >> kind >> index >> hex;
        if (kind < 0 || kind >= bitwatch::kEventKinds) {
            std::fprintf(stderr, "%s: no event kind %d\n", argv[0], kind);
            return 2;
        }
        bitwatch::RunEvent(form, {static_cast<bitwatch::EventKind>(kind),
                                  static_cast<std::int16_t>(index), FromHex(hex)});
        std::cout << bitwatch::RecordsJson(form) << '\n';
    }
    return 0;
}
