#pragma once

#include <sys/types.h>

namespace bitwatch::bench {

// This process's resident memory in KiB, from /proc/self/status; -1 where it cannot be read.
long ResidentKiB();

// Another process's, from /proc/PID/status.
long ResidentKiB(pid_t process);

} // namespace bitwatch::bench
