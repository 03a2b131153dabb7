#pragma once

#include <QRect>
#include <QSize>
#include <cstdint>
#include <vector>

// The desktop area not covered by panels, in screen pixels; right and bottom are exclusive.
struct WorkArea {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// One monitor: all of it, and the part not covered by panels.
struct ScreenArea {
    QRect geometry;
    QRect available;
};

// The work area of the screen that shows the centre of the window, or of the nearest screen
// when none does. Screens of different sizes leave gaps in their bounding box, where a window
// would be "inside" and yet unseen.
WorkArea workAreaFor(const QRect& window, const std::vector<ScreenArea>& screens);

// Screen metrics in the units the clock computes with.
class ScreenMetrics {
public:
    virtual ~ScreenMetrics() = default;
    virtual double twipsPerPixelX() const = 0;
    virtual double twipsPerPixelY() const = 0;
    // The primary screen, in pixels.
    virtual QSize screenSize() const = 0;
    // The work area for a window that stands (or is about to stand) at the given place.
    virtual WorkArea GetWorkArea(const QRect& window) const = 0;
};

class QtScreenMetrics final : public ScreenMetrics {
public:
    double twipsPerPixelX() const override;
    double twipsPerPixelY() const override;
    QSize screenSize() const override;
    WorkArea GetWorkArea(const QRect& window) const override;
};
