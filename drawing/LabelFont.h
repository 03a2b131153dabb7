#pragma once

#include <QFont>

// The bold gothic face of the hour labels at a size in points, and that size in pixels.
struct LabelFont {
    QFont font;
    double pixelsX = 0;
    double pixelsY = 0;
};

// Like the desktop, the font gets a whole number of pixels in height; the sizes returned are
// those of the font really made.
LabelFont labelFont(int points, double twipsPerPixelX, double twipsPerPixelY);
