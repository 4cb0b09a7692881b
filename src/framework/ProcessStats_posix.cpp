#include "framework/ProcessStats.h"

#include <unistd.h>

#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

namespace framework {
namespace {

double ClockMs(clockid_t clock) {
    timespec ts{};
    clock_gettime(clock, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// Field 22 of /proc/self/stat: the start, in clock ticks since boot. The
// command name (field 2) is in parentheses and may hold blanks, so counting
// starts after its closing parenthesis.
bool KernelStartMoment(double& ms) {
    std::ifstream in("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) return false;
    std::istringstream fields(stat.substr(close + 1));
    std::string field;
    // Fields 3..21 come first.
    for (int i = 3; i <= 21; ++i) fields >> field;
    unsigned long long ticks = 0;
    if (!(fields >> ticks)) return false;
    const long hz = sysconf(_SC_CLK_TCK);
    if (hz <= 0) return false;
    ms = static_cast<double>(ticks) * 1e3 / static_cast<double>(hz);
    return true;
}

}  // namespace

double LaunchClockMilliseconds() { return ClockMs(CLOCK_MONOTONIC); }

double MillisecondsSinceRecordedStart() {
    double start = 0;
    // The kernel counts the start from boot, suspended time included.
    if (KernelStartMoment(start)) return ClockMs(CLOCK_BOOTTIME) - start;
    return -1;
}

std::int64_t PeakResidentKiB() {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("VmHWM:", 0) != 0) continue;
        std::istringstream value(line.substr(6));
        std::int64_t kib = -1;
        value >> kib;
        return kib;
    }
    return -1;
}

}  // namespace framework
