// The system tick count and plain sleeping, for retry loops and timeouts.
#pragma once

#include <cstdint>

namespace sp {

// Milliseconds on a monotonic clock (never goes back; unrelated to the date).
uint64_t TickCount();
void SleepMs(int milliseconds);

}  // namespace sp
