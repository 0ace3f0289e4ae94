#include "ui/records_changes.h"

#include <cstddef>

#include "ui/records_json.h"
#include "ui/window_table.h"

namespace bitwatch {

namespace {

void AppendWhere(std::string& json, std::string_view name, int index, bool inArray) {
    json += "[\"";
    json += name;
    json += '"';
    if (inArray) {
        json += ',';
        json += std::to_string(index);
    }
    json += ']';
}

} // namespace

std::string RecordsChanges::Since(const Form& form) {
    std::string changes = "[";
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
        changes += changes.size() > 1 ? ",[" : "[";
        AppendWhere(changes, name, index, inArray);
        changes += ',';
        changes += scratch_;
        changes += ']';
    };
    for (const window::Row& row : window::Rows()) {
        if (row.kind == window::Kind::Logo) {
            continue;
        }
        for (int i = 0; i < row.count; ++i) {
            scratch_.clear();
            AppendElementJson(scratch_, form, row, i);
            tell(row.name, i, row.count > 1);
        }
    }
    scratch_.clear();
    AppendErrorModelJson(scratch_, form);
    tell("errorModel", 0, false);
    changes += ']';
    return changes;
}

} // namespace bitwatch
