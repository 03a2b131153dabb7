#include "core/fomBarClock.h"

// Arming the alarm and the hourly chime comes with the sound player.
void fomBarClock::WaveSub(int16_t, int16_t, int16_t) {}
