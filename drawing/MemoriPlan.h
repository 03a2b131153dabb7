#pragma once

#include <QString>
#include <vector>

// The scale drawn once into a user's day picture: hour labels and five-minute ticks.
struct MemoriLabel {
    QString text;
    int x = 0;  // top-left of the text
    int y = 0;
};

struct MemoriTick {
    int x = 0;
    int length = 0;  // pixels, standing on the bottom edge
};

struct MemoriPlan {
    int MarkDensity = 0;  // 0 sparse .. 4 every five minutes
    std::vector<MemoriLabel> labels;
    std::vector<MemoriTick> ticks;  // only those with a length
};

// fontX, fontY: the label font's size in horizontal and vertical pixels.
MemoriPlan memoriPlan(int pictureWidth, int pictureHeight, bool hours24, double fontX,
                      double fontY);
