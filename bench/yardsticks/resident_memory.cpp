#include "resident_memory.h"

#include <sys/resource.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace bitwatch::bench {

namespace {

long ResidentKiBOf(const std::string& statusFile) {
    std::ifstream status(statusFile);
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

} // namespace

long ResidentKiB() {
    return ResidentKiBOf("/proc/self/status");
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

long ResidentKiB(pid_t process) {
    return ResidentKiBOf("/proc/" + std::to_string(process) + "/status");
}

} // namespace bitwatch::bench
