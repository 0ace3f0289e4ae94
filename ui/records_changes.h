#pragma once

// What a front end must redraw after an event: the elements of the records that changed since
// it was last told, instead of every record again. The first call tells every element.
//
// The changes are one line of JSON, an array of [where, value] pairs: where is [name] or
// [name, index], as the page description gives an element's record, and value is written as in
// RecordsJson. The companion's channel comes as [["errorModel"], {...}] when it changes.

#include <string>
#include <vector>

#include "core/frame.h"

namespace bitwatch {

class RecordsChanges {
  public:
    // The elements that differ from those told by the last call. The form may be another one
    // than last time (a link opens a fresh form): what is compared is what was told.
    std::string Since(const Form& form);

  private:
    // Each element's JSON as last told, in the order of the window's rows, and the channel's
    // last; scratch_ keeps its capacity, so that an unchanged element costs no allocation.
    std::vector<std::string> told_;
    std::string scratch_;
};

} // namespace bitwatch
