#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/text_number.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = bitwatch::TextToNumber(text);
    if (std::isnan(value)) {
        std::abort();
    }
    // Text after the number never changes it.
    std::string extended(text);
    extended += "x1";
    const double again = bitwatch::TextToNumber(extended);
    if (again != value && !(again == 0 && value == 0)) {
        std::abort();
    }
    return 0;
}
