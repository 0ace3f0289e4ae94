#pragma once

namespace bitwatch::bench {

// This process's resident memory in KiB, from /proc/self/status; -1 where it cannot be read.
long ResidentKiB();

} // namespace bitwatch::bench
