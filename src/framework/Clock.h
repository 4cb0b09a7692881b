// The time of day, as the random generator's seed takes it.
#pragma once

#include <cstdint>

namespace framework {

// Milliseconds since midnight, universal time.
std::uint32_t MillisecondsSinceMidnightUtc();

}  // namespace framework
