#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "actions.h"
#include "invariants.h"

// A sequence of user events read from the input, run as the window runs them, must keep every
// invariant.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace bitwatch;
    const auto events = model::DecodeEvents(std::span<const std::uint8_t>(data, size));
    Form form;
    Startup(form);
    model::ModelState state;
    for (const Event& event : events) {
        const std::string broken = model::RunAndCheck(form, event, state);
        if (!broken.empty()) {
            std::fprintf(stderr, "after %s: %s\n", DescribeEvent(event).c_str(), broken.c_str());
            std::abort();
        }
    }
    return 0;
}
