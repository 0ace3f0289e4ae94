#pragma once

// What the window tells assistive technology beyond Qt's defaults: each cell as an accessible
// object of its own (named for its place, describing its bit and whether it differs from its
// twin, with a press action where a click flips it), the window's role, and the announcer.

namespace bitwatch {

class CellBoard;

// Installs the interfaces for the window's own widget classes; once, before the window exists.
void InstallAccessibility();

// Tells assistive technology that a cell's state changed. Costs one test when none listens.
void AnnounceCellChange(CellBoard* board, int cell);

} // namespace bitwatch
