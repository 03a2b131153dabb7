#include <chrono>

#include "platform/TickCounter.h"

uint32_t QtTickCounter::timeGetTime() {
    const auto sinceBoot = std::chrono::steady_clock::now().time_since_epoch();
    // Only the low 32 bits, so the counter wraps as its users expect.
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceBoot).count());
}
