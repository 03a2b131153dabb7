#pragma once

#include <cstdint>

// A millisecond counter that wraps at 2^32; only differences between readings mean anything.
class TickCounter {
public:
    virtual ~TickCounter() = default;
    virtual uint32_t timeGetTime() = 0;
};

class QtTickCounter final : public TickCounter {
public:
    uint32_t timeGetTime() override;
};
