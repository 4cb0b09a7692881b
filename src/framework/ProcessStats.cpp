#include "framework/ProcessStats.h"

#include <charconv>
#include <cstdlib>
#include <string>

namespace framework {
namespace {

// The launcher's moment, on the launch clock, in milliseconds.
bool LaunchMoment(double& ms) {
    const char* text = std::getenv("HORONPA_LAUNCH_MONOTONIC_NS");
    if (text == nullptr) return false;
    std::int64_t ns = 0;
    const char* end = text + std::char_traits<char>::length(text);
    auto [ptr, ec] = std::from_chars(text, end, ns);
    if (ec != std::errc() || ptr != end || ns <= 0) return false;
    ms = static_cast<double>(ns) / 1e6;
    return true;
}

}  // namespace

double MillisecondsSinceProcessStart() {
    double start = 0;
    if (LaunchMoment(start)) return LaunchClockMilliseconds() - start;
    return MillisecondsSinceRecordedStart();
}

}  // namespace framework
