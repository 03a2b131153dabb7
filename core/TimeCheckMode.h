#pragma once

#include <cstdint>

// The values of the TimeCheckMode setting: how often the computer's clock is watched. Each
// value checks whenever the one before it does, and more often.
namespace TimeCheckModeValue {
constexpr int16_t kNever = 0;
constexpr int16_t kAtStartAndEnd = 1;
constexpr int16_t kEveryMinute = 2;
constexpr int16_t kEverySecond = 3;
}  // namespace TimeCheckModeValue
