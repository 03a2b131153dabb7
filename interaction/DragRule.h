#pragma once

#include <cstdint>

// One axis of a drag step in twips: the step that keeps the window inside [low, high]. The low
// edge is tested first; the high edge is only applied when the low one holds. 32-bit, so a long
// step is carried out whole.
int32_t keepInside(int32_t position, int32_t size, int32_t step, int32_t low, int32_t high);
