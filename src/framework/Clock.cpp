#include "framework/Clock.h"

#include <chrono>

namespace framework {

std::uint32_t MillisecondsSinceMidnightUtc() {
    using namespace std::chrono;
    auto now = time_point_cast<milliseconds>(system_clock::now()).time_since_epoch();
    return static_cast<std::uint32_t>(now.count() % (24LL * 60 * 60 * 1000));
}

}  // namespace framework
