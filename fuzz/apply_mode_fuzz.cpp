#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "actions.h"
#include "invariants.h"

namespace {

// Runs the event and stops the fuzzer at the first broken invariant.
void RunOrStop(bitwatch::Form& form, const bitwatch::Event& event,
               bitwatch::model::ModelState& state) {
    const std::string broken = bitwatch::model::RunAndCheck(form, event, state);
    if (!broken.empty()) {
        std::fprintf(stderr, "after %s: %s\n", bitwatch::DescribeEvent(event).c_str(),
                     broken.c_str());
        std::abort();
    }
}

} // namespace

// Any text typed into the mode box selects a mode of the table or keeps the mode, and resets.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace bitwatch;
    Form form;
    Startup(form);
    model::ModelState state;
    RunOrStop(form, {EventKind::ModePicked, static_cast<std::int16_t>(size % 8), {}}, state);
    RunOrStop(
        form,
        {EventKind::ModeTextChanged, 0, std::string(reinterpret_cast<const char*>(data), size)},
        state);
    return 0;
}
