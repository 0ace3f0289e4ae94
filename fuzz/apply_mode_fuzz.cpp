#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "actions.h"
#include "invariants.h"

namespace {

// Runs the event and stops the fuzzer at the first broken invariant.
void RunAndCheck(bitwatch::Form& form, const bitwatch::Event& event,
                 bitwatch::model::ModelState& state) {
    const bitwatch::model::Before before = bitwatch::model::Snapshot(form, event);
    bitwatch::RunEvent(form, event);
    const std::string broken = bitwatch::model::CheckInvariants(form, event, before, state);
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
    RunAndCheck(form, {EventKind::ModePicked, static_cast<std::int16_t>(size % 8), {}}, state);
    RunAndCheck(
        form,
        {EventKind::ModeTextChanged, 0, std::string(reinterpret_cast<const char*>(data), size)},
        state);
    return 0;
}
