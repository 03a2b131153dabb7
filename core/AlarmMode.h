#pragma once

#include <cstdint>

// The bits of the AlarmMode setting.
namespace AlarmModeBit {
constexpr int16_t kAlarmOn = 1;
constexpr int16_t kChimeOn = 2;
constexpr int16_t kChimeOnce = 4;
constexpr int16_t kQuietAtNight = 8;
constexpr int16_t kTakeFocus = 16;
}  // namespace AlarmModeBit
