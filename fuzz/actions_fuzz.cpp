#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "actions.h"
#include "invariants.h"

// A sequence of user actions read from the input must keep every invariant.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace bitwatch;
    const auto actions = model::DecodeActions(std::span<const std::uint8_t>(data, size));
    Form form;
    Startup(form);
    model::ModelState state;
    for (const model::Action& action : actions) {
        const model::Before before = model::Snapshot(form, action);
        model::Perform(form, action);
        const std::string broken = model::CheckInvariants(form, action, before, state);
        if (!broken.empty()) {
            std::fprintf(stderr, "after %s: %s\n", model::Describe(action).c_str(), broken.c_str());
            std::abort();
        }
    }
    return 0;
}
