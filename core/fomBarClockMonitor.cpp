#include "core/fomBarClock.h"

// The watch on the computer's clock reports through the message window, which the program
// does not have yet; until then there is nothing to check.
void fomBarClock::TimeCheck() {}
