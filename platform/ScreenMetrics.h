#pragma once

#include <QSize>
#include <cstdint>

// The desktop area not covered by panels, in screen pixels; right and bottom are exclusive.
struct WorkArea {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// Screen metrics in the units the clock computes with.
class ScreenMetrics {
public:
    virtual ~ScreenMetrics() = default;
    virtual double twipsPerPixelX() const = 0;
    virtual double twipsPerPixelY() const = 0;
    // The primary screen, in pixels.
    virtual QSize screenSize() const = 0;
    virtual WorkArea GetWorkArea() const = 0;
};

class QtScreenMetrics final : public ScreenMetrics {
public:
    double twipsPerPixelX() const override;
    double twipsPerPixelY() const override;
    QSize screenSize() const override;
    // The available area of the whole virtual desktop, so the clock may live on any monitor.
    WorkArea GetWorkArea() const override;
};
