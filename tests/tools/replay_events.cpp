// Runs a script of events on a freshly started form and prints every record after each event,
// one line of JSON an event: the native side of the check that the WebAssembly build shows the
// same frames. A script line is "kind index text": the event's kind as a number, its index, and
// the rest of the line as its text (the text's bytes written as two hex digits each).

#include <cstdio>
#include <iostream>

#include "event_script.h"
#include "ui/records_json.h"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SCRIPT\n", argv[0]);
        return 2;
    }
    const auto events = bitwatch::tools::ReadEventScriptFile(argv[0], argv[1]);
    if (!events) {
        return 2;
    }
    bitwatch::Form form;
    bitwatch::Startup(form);
    std::cout << bitwatch::RecordsJson(form) << '\n';
    for (const bitwatch::Event& event : *events) {
        bitwatch::RunEvent(form, event);
        std::cout << bitwatch::RecordsJson(form) << '\n';
    }
    return 0;
}
