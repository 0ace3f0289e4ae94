#include "resident_memory.h"

#include <cstdlib>
#include <fstream>
#include <string>

namespace bitwatch::bench {

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

} // namespace bitwatch::bench
