#pragma once

#include <cstdint>
#include <vector>

inline constexpr uint32_t kSampleRate = 22050;

// The daily alarm: a short bright tune of chime notes.
std::vector<int16_t> synthAlarm();
// The hourly chime: one bell strike, played once for each hour.
std::vector<int16_t> synthChime();
// The default sound, for an empty sound name: one soft, short ding.
std::vector<int16_t> synthDefault();
