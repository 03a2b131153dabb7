#pragma once

#include <vector>

#include "drawing/BlockCopy.h"

// Where the bar's strip of the day picture lies for one minute, and the copies that draw it.
// The picture is W wide and stands for 24 hours; it is used cyclically.
struct StripLayout {
    int nowX = 0;         // picture column of the present minute
    int srcX = 0;         // picture column at the bar's left edge
    int cursorBackX = 0;  // picture column under the character box's left edge
    std::vector<BlockCopy> copies;
};

// cursorX is the character box's left edge in the bar.
StripLayout backStrip(int minuteOfDay, int pictureWidth, int pictureHeight, int timeWidth,
                      int cursorX);

// The character box as the bar's layout places it.
struct CursorBox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Copies that put the picture back under the whole character box, from the picture's start
// again where the box runs past its right edge.
std::vector<BlockCopy> cursorRestore(int pictureWidth, int cursorBackX, const CursorBox& box);
