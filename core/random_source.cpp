#include "core/random_source.h"

#include <utility>

namespace bitwatch {

void RandomSource::Script(std::vector<float> values) {
    script_ = std::move(values);
    scriptPos_ = 0;
}

} // namespace bitwatch
