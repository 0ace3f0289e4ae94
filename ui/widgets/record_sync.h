#pragma once

// Bringing one widget up to date with its control record: one function per kind of control, each
// writing only what differs, so that a sync with nothing to do costs (almost) nothing.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <QTimer>

#include "ui/controls.h"

class QComboBox;
class QLabel;
class QPushButton;
class QWidget;

namespace bitwatch {

class LineWidget;

// A combo box with the list and text it was last brought up to date with, so that a sync with
// nothing to do converts nothing.
struct ComboMirror {
    QComboBox* widget = nullptr;
    std::vector<std::string> entries;
    std::string text;
};

// The real timer and the record's restart count that it last followed.
struct TimerMirror {
    QTimer timer;
    std::uint64_t restartsShown = 0;
};

void SyncLabel(QLabel* label, const TextLabel& record);
void SyncButton(QPushButton* button, const PushButton& record);
void SyncLine(LineWidget* line, const Line& record);
void SyncCombo(ComboMirror& mirror, const ComboBox& record);
void SyncTimer(TimerMirror& mirror, const Timer& record);

} // namespace bitwatch
