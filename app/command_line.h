#pragma once

#include <optional>

namespace bitwatch {

struct StartOptions {
    bool explain = false; // open the companion "Why?" beside the window
};

// The conventional options every desktop program answers: --help and --version print and end
// the program; --explain opens the companion too; anything else on the command line is refused.
// Returns the exit status when the program should end here, or nothing to go on and open the
// window. Runs before any display is needed.
std::optional<int> ReadCommandLine(int argc, char* argv[], StartOptions& options);

// Whether a display can be reached, so that the program can say so in one line instead of
// letting the toolkit abort. Runs before the application object exists.
bool DisplayReachable();

} // namespace bitwatch
