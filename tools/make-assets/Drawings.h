#pragma once

#include "PixelGrid.h"

// The day strip for the bar: one column a minute from 0:00 to the next 0:00.
inline constexpr int kDayWidth = 1440;
inline constexpr int kBarHeight = 40;
PixelGrid drawAlps();

enum class CowPose { HeadUp, HeadDown, EyesClosed };
// 32 x 32. On the bar the cow stands on a chequered stand over a pointer whose tip marks the
// present minute; without it the stand alone, for the version window.
PixelGrid drawCow(CowPose pose, bool withPointer);

// 16 x 16.
PixelGrid drawTrayClock();
PixelGrid drawNote();
