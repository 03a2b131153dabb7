#include <limits>

#include "platform/ScreenMetrics.h"

namespace {

// Squared distance from a point to the nearest point of a rectangle; 0 inside.
int64_t distanceSquared(const QPoint& point, const QRect& rect) {
    const int64_t dx = point.x() < rect.left()    ? rect.left() - point.x()
                       : point.x() > rect.right() ? point.x() - rect.right()
                                                  : 0;
    const int64_t dy = point.y() < rect.top()      ? rect.top() - point.y()
                       : point.y() > rect.bottom() ? point.y() - rect.bottom()
                                                   : 0;
    return dx * dx + dy * dy;
}

}  // namespace

WorkArea workAreaFor(const QRect& window, const std::vector<ScreenArea>& screens) {
    const ScreenArea* nearest = nullptr;
    int64_t best = std::numeric_limits<int64_t>::max();
    const QPoint centre = window.center();
    for (const ScreenArea& screen : screens) {
        const int64_t distance = distanceSquared(centre, screen.geometry);
        if (distance < best) {
            best = distance;
            nearest = &screen;
        }
    }
    if (!nearest) return {};
    const QRect& area = nearest->available;
    return {area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
}
