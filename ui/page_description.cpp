#include "ui/page_description.h"

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <vector>

#include "core/frame.h"
#include "ui/events.h"
#include "ui/json_writer.h"
#include "ui/layout.h"
#include "ui/window_table.h"

namespace bitwatch {

namespace {

using window::Kind;
using window::Row;

// Every piece is written into the one string the description is: the page asks for it while
// it starts, when the module still runs its first, unoptimised code, and a string per piece cost
// most of that time.

// Lengths in twips as a JSON array of pixels: a box, a point, the client area.
void WritePixels(JsonWriter& json, std::initializer_list<int> twips) {
    json.BeginArray();
    for (const int length : twips) {
        json.Integer(length / layout::kTwipsPerPixel);
    }
    json.EndArray();
}

void WriteBox(JsonWriter& json, const layout::Box& box) {
    WritePixels(json, {box.left, box.top, box.width, box.height});
}

void WriteStyle(JsonWriter& json, const layout::TextStyle& style) {
    const char* align = style.align == layout::Align::Left    ? "left"
                        : style.align == layout::Align::Right ? "right"
                                                              : "center";
    std::string points = std::to_string(style.points);
    points.erase(points.find_last_not_of('0') + 1);
    if (points.back() == '.') {
        points.pop_back();
    }
    json.BeginObject()
        .Key("face")
        .String(style.face == FontFace::Serif ? "serif" : "sans")
        .Key("points")
        .Raw(points)
        .Key("align")
        .String(align)
        .EndObject();
}

void WriteEvent(JsonWriter& json, const std::optional<EventKind>& kind) {
    if (kind) {
        json.Integer(static_cast<int>(*kind));
    } else {
        json.Null();
    }
}

// Where an element's record is in the records JSON: [name] or [name, index].
void WriteRecord(JsonWriter& json, const Row& row, int index) {
    json.BeginArray().String(row.name);
    if (row.count > 1) {
        json.Integer(index);
    }
    json.EndArray();
}

// The start every cell, label and control shares: its id, record, box and style.
void WritePlaced(JsonWriter& json, const Row& row, int index, bool withRecord) {
    json.BeginObject().Key("id").String(window::ElementName(row, index));
    if (withRecord) {
        json.Key("record");
        WriteRecord(json, row, index);
    }
    json.Key("box");
    WriteBox(json, row.box(index));
    json.Key("style");
    WriteStyle(json, row.style(index));
}

void WriteCell(JsonWriter& json, const Row& row, int index) {
    WritePlaced(json, row, index, true);
    json.Key("level").Integer(row.level).Key("name").String(CellName(row.cells, index));
    json.Key("click");
    WriteEvent(json, row.press);
    json.EndObject();
}

void WriteLabel(JsonWriter& json, const Row& row, int index) {
    WritePlaced(json, row, index, true);
    json.Key("level")
        .Integer(row.level)
        .Key("description")
        .String(row.description)
        .Key("live")
        .Flag(row.live)
        .Key("announced")
        .Flag(row.announced)
        .EndObject();
}

void WriteLine(JsonWriter& json, const Row& row, int index) {
    const layout::Segment segment = row.segment(index);
    json.BeginObject().Key("id").String(window::ElementName(row, index)).Key("from");
    WritePixels(json, {segment.x1, segment.y1});
    json.Key("to");
    WritePixels(json, {segment.x2, segment.y2});
    json.Key("width").Integer(segment.widthPixels).Key("level").Integer(row.level).Key("colour");
    if (row.colour) {
        json.Integer(*row.colour);
    } else {
        json.Null();
    }
    json.Key("record");
    WriteRecord(json, row, index);
    json.EndObject();
}

void WriteControl(JsonWriter& json, const Row& row) {
    WritePlaced(json, row, 0, false);
    json.Key("name").String(row.accessibleName);
    if (row.kind == Kind::Button) {
        json.Key("press");
        WriteEvent(json, row.press);
        json.EndObject();
        return;
    }
    json.Key("change");
    WriteEvent(json, row.change);
    json.Key("pick");
    WriteEvent(json, row.pick);
    json.Key("labelledBy");
    if (row.labelledBy.empty()) {
        json.Null();
    } else {
        json.String(row.labelledBy);
    }
    json.EndObject();
}

void WriteLogo(JsonWriter& json, const Row& row) {
    json.BeginObject().Key("id").String(row.name).Key("box");
    WriteBox(json, row.box(0));
    json.Key("level").Integer(row.level).Key("name").String(row.accessibleName).EndObject();
}

// The companion's error model: its list, the events that pick from it and set k or L, and the
// record that says which is chosen.
void WriteErrorModels(JsonWriter& json) {
    json.BeginObject().Key("names").BeginArray();
    for (const std::string_view name : kErrorModelNames) {
        json.String(name);
    }
    json.EndArray().Key("picked");
    WriteEvent(json, EventKind::ModelPicked);
    json.Key("size");
    WriteEvent(json, EventKind::ModelSizeChanged);
    json.Key("record").String("errorModel").EndObject();
}

// Each element of the rows of one kind, in the table's order, as a JSON array.
template <typename WriteOne> void WriteEach(JsonWriter& json, Kind kind, const WriteOne& writeOne) {
    json.BeginArray();
    for (const Row& row : window::Rows()) {
        for (int i = 0; row.kind == kind && i < row.count; ++i) {
            writeOne(json, row, i);
        }
    }
    json.EndArray();
}

} // namespace

std::string PageDescriptionJson() {
    std::vector<const Row*> controls;
    const Row* logo = nullptr;
    const Row* timer = nullptr;
    for (const Row& row : window::Rows()) {
        if (row.kind == Kind::Button || row.kind == Kind::Box) {
            controls.push_back(&row);
        } else if (row.kind == Kind::Logo) {
            logo = &row;
        } else if (row.kind == Kind::Timer) {
            timer = &row;
        }
    }
    std::stable_sort(controls.begin(), controls.end(),
                     [](const Row* a, const Row* b) { return a->tabPlace < b->tabPlace; });

    std::string text;
    text.reserve(std::size_t{64} * 1024);
    JsonWriter json(text);
    json.BeginObject().Key("client");
    WritePixels(json, {layout::kClientWidth, layout::kClientHeight});
    json.Key("cells");
    WriteEach(json, Kind::Cells, WriteCell);
    json.Key("labels");
    WriteEach(json, Kind::Label, WriteLabel);
    json.Key("lines");
    WriteEach(json, Kind::Line, WriteLine);
    json.Key("controls").BeginArray();
    for (const Row* control : controls) {
        WriteControl(json, *control);
    }
    json.EndArray().Key("logo");
    WriteLogo(json, *logo);
    json.Key("controlLevel").Integer(controls.front()->level).Key("tick");
    WriteEvent(json, timer->press);
    json.Key("errorModels");
    WriteErrorModels(json);
    json.Key("fastInterval")
        .Integer(kFastInterval)
        .Key("textLimit")
        .Integer(kBoxTextLimit)
        .Key("timer")
        .String(timer->name)
        .Key("background")
        .Integer(ColourWindow)
        .EndObject();
    return text;
}

} // namespace bitwatch
