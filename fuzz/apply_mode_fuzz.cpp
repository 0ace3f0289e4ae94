#include <cstdint>
#include <cstdlib>
#include <string>

#include "actions.h"
#include "invariants.h"

// Any text typed into the mode box selects a mode of the table or keeps the mode, and resets.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace bitwatch;
    Form form;
    Startup(form);
    model::ModelState state;
    const model::Action pick{model::ActionKind::PickMode, static_cast<std::int16_t>(size % 8), {}};
    model::Perform(form, pick);
    model::CheckInvariants(form, pick, model::Snapshot(form, pick), state);

    const model::Action typed{model::ActionKind::SetModeText, 0,
                              std::string(reinterpret_cast<const char*>(data), size)};
    const model::Before before = model::Snapshot(form, typed);
    model::Perform(form, typed);
    if (!model::CheckInvariants(form, typed, before, state).empty()) {
        std::abort();
    }
    return 0;
}
