#pragma once

#include <cstdint>

// The bits of the Style setting.
namespace StyleBit {
constexpr int16_t kAlways = 1;
constexpr int16_t kTimeMarks = 2;  // scale marks and hour labels on a background of one's own
constexpr int16_t kHours24 = 4;    // labels 0-23 rather than 12, 1-11
}  // namespace StyleBit
