// Writes the exact shares of the two sums of the mode table as C++ source: for k and L from 0 to
// the frame's length, the share of k-bit errors and of L-bit bursts that end in "Undetected
// Errors". Their programmes take up to half a second a code; built in, the odds at any rate are a
// short sum, and choosing a code never waits for them. The linear codes' shares come from their
// weight distributions in a few milliseconds, and are worked out when first asked for.

#include <cstdio>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/modes.h"
#include "stats/exact_models.h"

namespace {

void WriteArray(std::FILE* out, const std::string& name, const std::vector<double>& values) {
    std::fprintf(out, "constexpr std::array<double, %zu> %s{\n", values.size(), name.c_str());
    for (const double value : values) {
        std::fprintf(out, "    %.17g,\n", value); // 17 digits give the same double back
    }
    std::fprintf(out, "};\n\n");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.cpp\n", argv[0]);
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "w");
    if (out == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(out, "// Written by tools/make_share_tables.cpp when the project is built.\n\n"
                      "#include \"stats/built_shares.h\"\n\n#include <array>\n\n"
                      "namespace bitwatch::stats {\n\nnamespace {\n\n");
    std::set<std::pair<int, int>> shapes;
    std::string rows;
    for (const bitwatch::ModeRow& mode : bitwatch::kModeTable) {
        if (!shapes.insert({mode.codeMode, mode.groupSize}).second) {
            continue;
        }
        const bitwatch::stats::CodeShape shape{mode.codeMode, mode.groupSize};
        if (!shape.sums()) {
            continue; // a linear code's shares take a few milliseconds from its weights
        }
        const int n = bitwatch::stats::SentBits(shape);
        const std::string id = std::to_string(shapes.size());
        WriteArray(out, "kErrors" + id, bitwatch::stats::ErrorShares(shape, n));
        WriteArray(out, "kBursts" + id, bitwatch::stats::BurstShares(shape, n));
        char row[96];
        std::snprintf(row, sizeof row, "    BuiltShares{%d, %d, kErrors%s, kBursts%s},\n",
                      static_cast<int>(mode.codeMode), static_cast<int>(mode.groupSize), id.c_str(),
                      id.c_str());
        rows += row;
    }
    std::fprintf(out,
                 "constexpr std::array<BuiltShares, %zu> kBuilt{\n%s};\n\n} // namespace\n\n"
                 "std::span<const BuiltShares> AllBuiltShares() {\n    return kBuilt;\n}\n\n"
                 "} // namespace bitwatch::stats\n",
                 shapes.size(), rows.c_str());
    return std::fclose(out) == 0 ? 0 : 1;
}
