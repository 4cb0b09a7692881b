// What the process can tell about itself: how long it has been running and
// the most memory it has held. These are platform facts read from the system,
// so they stay here; what the program measures with them is app/StartupReport.
#pragma once

#include <cstdint>

namespace framework {

// Milliseconds from the start of this process to now. The start is the
// launch moment a launcher passed in HORONPA_LAUNCH_MONOTONIC_NS (the
// platform's launch clock in nanoseconds, read just before it started us),
// else the system's record of the process start (on Linux the kernel's,
// which counts in clock ticks of 10 ms). Negative when neither is known.
double MillisecondsSinceProcessStart();

// The peak resident set size (on Windows the peak working set) of this
// process in KiB, or -1 when unknown.
std::int64_t PeakResidentKiB();

// The platform's parts (ProcessStats_posix.cpp, ProcessStats_win32.cpp).

// The launch clock in milliseconds: CLOCK_MONOTONIC on Linux, the
// performance counter (QueryPerformanceCounter) on Windows.
double LaunchClockMilliseconds();

// Milliseconds since the process start as the system recorded it, or a
// negative number when the system cannot tell.
double MillisecondsSinceRecordedStart();

}  // namespace framework
