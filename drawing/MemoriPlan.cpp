#include "drawing/MemoriPlan.h"

#include <cmath>

#include "core/Rounding.h"

namespace {

int markDensity(int pixelsPerHour, double fontX) {
    if (3 * pixelsPerHour < fontX) return 0;
    if (pixelsPerHour < fontX) return 1;
    if (pixelsPerHour < 60) return 2;
    if (pixelsPerHour < 120) return 3;
    return 4;
}

int tickLength(int K, int density) {
    if (K % 36 == 0) return 8;
    if (K % 12 == 0) return density >= 1 ? 8 : 0;
    if (K % 6 == 0) return density >= 3 ? 8 : density >= 1 ? 4 : 0;
    if (K % 2 == 0) return density >= 3 ? 5 : 0;
    return density >= 4 ? 3 : 0;
}

}  // namespace

MemoriPlan memoriPlan(int pictureWidth, int pictureHeight, bool hours24, double fontX,
                      double fontY) {
    const double W = pictureWidth;
    MemoriPlan plan;
    plan.MarkDensity = markDensity(static_cast<int>(nearest(W / 24.0)), fontX);

    for (int I = 0; I <= 24; ++I) {
        const bool drawn =
            I % 12 == 0 || (plan.MarkDensity == 1 && I % 3 == 0) || plan.MarkDensity >= 2;
        if (!drawn) continue;
        const int V = hours24 ? I % 24 : (I % 12 == 0 ? 12 : I % 12);
        const double shift = fontX * (V >= 10 ? 0.5 : 0.25);
        plan.labels.push_back({QString::number(V), static_cast<int>(nearest(W / 24.0 * I - shift)),
                               static_cast<int>(nearest(pictureHeight - 20 - fontY))});
    }
    for (int K = 0; K < 288; ++K) {
        const int length = tickLength(K, plan.MarkDensity);
        if (length > 0) plan.ticks.push_back({static_cast<int>(std::floor(W / 288.0 * K)), length});
    }
    return plan;
}
