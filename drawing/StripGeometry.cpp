#include "drawing/StripGeometry.h"

#include <algorithm>

#include "core/Rounding.h"

StripLayout backStrip(int minuteOfDay, int pictureWidth, int pictureHeight, int timeWidth,
                      int cursorX) {
    const int W = pictureWidth;
    StripLayout layout;
    layout.nowX = static_cast<int>(nearest(minuteOfDay * static_cast<double>(W) / 1440.0));
    layout.srcX = static_cast<int>(nearest(layout.nowX - timeWidth / 2.0));
    while (layout.srcX < 0) layout.srcX += W;
    // Bar column c shows picture column (srcX + c) mod W, the box's columns included.
    layout.cursorBackX = ((layout.srcX + cursorX) % W + W) % W;

    // The part of the strip inside the picture, then the picture again from its start.
    const int inPicture = std::min(timeWidth, W - layout.srcX);
    if (inPicture > 0) layout.copies.push_back({layout.srcX, 0, inPicture, pictureHeight, 0, 0});
    for (int D = W - layout.srcX; D < timeWidth; D += W)
        layout.copies.push_back({0, 0, timeWidth - D, pictureHeight, D, 0});
    return layout;
}

std::vector<BlockCopy> cursorRestore(int pictureWidth, int cursorBackX, const CursorBox& box) {
    std::vector<BlockCopy> copies{{cursorBackX, box.y, box.width, box.height, box.x, box.y}};
    for (int w = pictureWidth - cursorBackX; w < box.width; w += pictureWidth)
        copies.push_back({0, box.y, box.width - w, box.height, box.x + w, box.y});
    return copies;
}
