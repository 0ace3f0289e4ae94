#include "ui/records_changes.h"

#include <cstddef>

#include "ui/json_writer.h"
#include "ui/records_json.h"
#include "ui/window_table.h"

namespace bitwatch {

std::string RecordsChanges::Since(const Form& form) {
    std::string changes;
    JsonWriter json(changes);
    json.BeginArray();
    std::size_t told = 0;
    // Compares the element just written into scratch_ with what was told of it, and tells it
    // again if it differs.
    const auto tell = [&](std::string_view name, int index, bool inArray) {
        if (told == told_.size()) {
            told_.emplace_back();
        } else if (told_[told] == scratch_) {
            ++told;
            return;
        }
        told_[told].assign(scratch_);
        ++told;
        json.BeginArray().BeginArray().String(name);
        if (inArray) {
            json.Integer(index);
        }
        json.EndArray().Raw(scratch_).EndArray();
    };
    for (const window::Row& row : window::Rows()) {
        if (row.kind == window::Kind::Logo) {
            continue;
        }
        for (int i = 0; i < row.count; ++i) {
            scratch_.clear();
            JsonWriter element(scratch_);
            WriteElement(element, form, row, i);
            tell(row.name, i, row.count > 1);
        }
    }
    scratch_.clear();
    JsonWriter channel(scratch_);
    WriteErrorModel(channel, form);
    tell("errorModel", 0, false);
    json.EndArray();
    return changes;
}

} // namespace bitwatch
