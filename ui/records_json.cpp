#include "ui/records_json.h"

#include "channel/send_frame.h"
#include "ui/window_table.h"

namespace bitwatch {

namespace {

// A label or a cell: [text, colour, shown], and on a cell whether it differs from its twin, so
// that no front end reads the colour for it.
void WriteLabel(JsonWriter& json, const TextLabel& label, bool isCell) {
    json.BeginArray().String(label.text).Integer(label.foreColour).Flag(label.shown);
    if (isCell) {
        json.Flag(DiffersFromTwin(label.foreColour));
    }
    json.EndArray();
}

void WriteCombo(JsonWriter& json, const ComboBox& combo) {
    json.BeginObject().Key("text").String(combo.text()).Key("entries").BeginArray();
    for (const std::string& entry : combo.entries()) {
        json.String(entry);
    }
    json.EndArray().EndObject();
}

void WriteTimer(JsonWriter& json, const Timer& timer) {
    json.BeginObject()
        .Key("enabled")
        .Flag(timer.enabled())
        .Key("interval")
        .Integer(timer.interval())
        .Key("restarts")
        .Integer(timer.restarts())
        .EndObject();
}

// Each row's record under its name: one value, or an array of a row of several elements.
void WriteRows(JsonWriter& json, const Form& form) {
    for (const window::Row& row : window::Rows()) {
        if (row.kind == window::Kind::Logo) {
            continue;
        }
        json.Key(row.name);
        if (row.count > 1) {
            json.BeginArray();
        }
        for (int i = 0; i < row.count; ++i) {
            WriteElement(json, form, row, i);
        }
        if (row.count > 1) {
            json.EndArray();
        }
    }
}

} // namespace

void WriteElement(JsonWriter& json, const Form& form, const window::Row& row, int index) {
    const window::Record& record = row.record;
    switch (row.kind) {
    case window::Kind::Label:
    case window::Kind::Cells:
        WriteLabel(json, record.label(form, index), row.kind == window::Kind::Cells);
        return;
    case window::Kind::Button:
        json.String(record.button(form).caption);
        return;
    case window::Kind::Box:
        WriteCombo(json, record.box(form));
        return;
    case window::Kind::Line:
        json.Flag(record.line(form, index).shown);
        return;
    case window::Kind::Timer:
        WriteTimer(json, record.timer(form));
        return;
    case window::Kind::Logo:
        return;
    }
}

void WriteErrorModel(JsonWriter& json, const Form& form) {
    json.BeginObject()
        .Key("kind")
        .Integer(static_cast<int>(form.errorModel.kind))
        .Key("size")
        .Integer(form.errorModel.size)
        .Key("frameLength")
        .Integer(SentLength(form))
        .Key("sizeCaption")
        .String(SizeCaption(form.errorModel.kind))
        .Key("sizeUsed")
        .Flag(form.errorModel.kind != ErrorModelKind::RandomBits)
        .EndObject();
}

std::string RecordsJson(const Form& form) {
    std::string text;
    text.reserve(8192);
    JsonWriter json(text);
    json.BeginObject();
    WriteRows(json, form);
    json.Key("frameCount").Integer(form.frameCount);
    json.Key("undetectedCount").Integer(form.undetectedCount);
    json.Key("codeMode").Integer(form.codeMode);
    json.Key("groupSize").Integer(form.groupSize);
    json.Key("stopOnUndetected").Integer(form.stopOnUndetected);
    json.Key("errorModel");
    WriteErrorModel(json, form);
    json.Key("draws").Integer(static_cast<std::int64_t>(form.random.drawCount()));
    json.EndObject();
    return text;
}

} // namespace bitwatch
