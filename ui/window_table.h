#pragma once

// The window in one table: a row per control, with all that a front end needs to create it,
// place it, name it for assistive technology, bind it to its events and mirror its record. The Qt
// window, the records as JSON and the browser page's description are each written by walking
// these rows, so a new control is one row here and one record in the form.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/frame.h"
#include "ui/accessible_names.h"
#include "ui/events.h"
#include "ui/layout.h"

namespace bitwatch::window {

enum class Kind { Label, Cells, Button, Box, Line, Logo, Timer };

// Where a row's record lives in the form: exactly the one that fits its kind is set. Labels,
// cells and lines come in arrays, reached by the element's index.
struct Record {
    const TextLabel& (*label)(const Form&, int) = nullptr;
    const PushButton& (*button)(const Form&) = nullptr;
    const ComboBox& (*box)(const Form&) = nullptr;
    const Line& (*line)(const Form&, int) = nullptr;
    const Timer& (*timer)(const Form&) = nullptr;
};

struct Row {
    // The object name, which is also the record's name in the JSON; element i of an array of
    // more than one is called name_i on screen.
    std::string_view name;
    Kind kind = Kind::Label;
    int count = 1;
    // Stacking from the bottom: a control of a higher level is drawn above one of a lower.
    int level = 0;
    // Its place in the Tab order, from 1; 0 for a control that Tab never reaches.
    int tabPlace = 0;
    // Empty: the control is read as its own text (a caption, the verdict, the run button).
    std::string_view accessibleName;
    // Which cells a row of cells holds; each is named by CellName ("Received data bit 0 of
    // byte 0").
    CellArray cells = CellArray::Row1;
    std::string_view description;
    // The caption that labels a box, by object name.
    std::string_view labelledBy;
    // A label whose changing text is its whole meaning: the verdict and the rate.
    bool live = false;
    // The label read out to a screen reader when an event's verdict is announced
    // (AnnouncesVerdict).
    bool announced = false;
    layout::Box (*box)(int) = nullptr;
    layout::TextStyle (*style)(int) = nullptr;
    layout::Segment (*segment)(int) = nullptr;
    // A line's colour; nullopt draws it in the window's text colour.
    std::optional<Colour> colour;
    // The events it delivers: a press or a click (with the element's index), an edited text and
    // a pick from the list (with the entry's index).
    std::optional<EventKind> press;
    std::optional<EventKind> change;
    std::optional<EventKind> pick;
    Record record;
};

// Every control, from the bottom of the stacking up.
std::span<const Row> Rows();

// The row of an object name, or nullptr.
const Row* FindRow(std::string_view name);

// The name an element of a row goes by on screen: name, or name_i in an array.
std::string ElementName(const Row& row, int index);

} // namespace bitwatch::window
