#pragma once

// What the window tells assistive technology beyond Qt's defaults: each cell's bit and whether
// it differs from its twin, the window's role, and a press action on the cells that take clicks.

#include <QString>

namespace bitwatch {

class CellWidget;

// "1", or "1, differs from transmitted" on a received cell that differs from its twin.
QString CellStateText(const CellWidget& cell);

// Installs the interfaces for the window's own widget classes; once, before the window exists.
void InstallAccessibility();

// Tells assistive technology that the cell's state changed. Costs one test when none listens.
void AnnounceCellChange(CellWidget* cell);

} // namespace bitwatch
