#include "framework/ProcessStats.h"

#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

namespace framework {
namespace {

// A FILETIME as one count of 100-nanosecond intervals.
std::uint64_t Ticks(const FILETIME& t) {
    return static_cast<std::uint64_t>(t.dwHighDateTime) << 32 | t.dwLowDateTime;
}

}  // namespace

double LaunchClockMilliseconds() {
    LARGE_INTEGER frequency{};
    LARGE_INTEGER now{};
    if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0 ||
        !QueryPerformanceCounter(&now)) {
        return 0;
    }
    // Whole seconds and the rest apart, so that the product cannot overflow.
    const auto seconds = now.QuadPart / frequency.QuadPart;
    const auto rest = now.QuadPart % frequency.QuadPart;
    return static_cast<double>(seconds) * 1e3 +
           static_cast<double>(rest) * 1e3 / static_cast<double>(frequency.QuadPart);
}

double MillisecondsSinceRecordedStart() {
    FILETIME created{};
    FILETIME exited{};
    FILETIME kernel{};
    FILETIME user{};
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return -1;
    FILETIME now{};
    GetSystemTimePreciseAsFileTime(&now);
    if (Ticks(now) < Ticks(created)) return -1;
    return static_cast<double>(Ticks(now) - Ticks(created)) / 1e4;
}

std::int64_t PeakResidentKiB() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters))) return -1;
    return static_cast<std::int64_t>(counters.PeakWorkingSetSize / 1024);
}

}  // namespace framework
