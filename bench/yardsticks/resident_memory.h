#pragma once

#include <sys/types.h>

namespace bitwatch::bench {

// This process's resident memory in KiB, from /proc/self/status; -1 where it cannot be read.
long ResidentKiB();

// Another process's, from /proc/PID/status.
long ResidentKiB(pid_t process);

// The processor time this process has used so far, user and system, in seconds.
double CpuSeconds();

} // namespace bitwatch::bench
