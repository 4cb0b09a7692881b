// What the process can tell about itself: how long it has been running and
// the most memory it has held. These are platform facts read from the system,
// so they stay here; what the program measures with them is app/StartupReport.
#pragma once

#include <cstdint>

namespace framework {

// Milliseconds from the start of this process to now. The start is the
// launch moment a launcher passed in HORONPA_LAUNCH_MONOTONIC_NS (the
// monotonic clock in nanoseconds, read just before it started us), else the
// kernel's record of the process start, which counts in clock ticks (10 ms).
// Negative when neither is known.
double MillisecondsSinceProcessStart();

// The peak resident set size of this process in KiB, or -1 when unknown.
std::int64_t PeakResidentKiB();

}  // namespace framework
