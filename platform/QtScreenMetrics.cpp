#include <QGuiApplication>
#include <QRect>
#include <QScreen>

#include "platform/ScreenMetrics.h"

namespace {
constexpr double kTwipsPerInch = 1440.0;

const QScreen* primary() { return QGuiApplication::primaryScreen(); }
}  // namespace

double QtScreenMetrics::twipsPerPixelX() const {
    const QScreen* screen = primary();
    return screen ? kTwipsPerInch / screen->logicalDotsPerInchX() : 15.0;
}

double QtScreenMetrics::twipsPerPixelY() const {
    const QScreen* screen = primary();
    return screen ? kTwipsPerInch / screen->logicalDotsPerInchY() : 15.0;
}

QSize QtScreenMetrics::screenSize() const {
    const QScreen* screen = primary();
    return screen ? screen->geometry().size() : QSize();
}

WorkArea QtScreenMetrics::GetWorkArea(const QRect& window) const {
    std::vector<ScreenArea> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.push_back({screen->geometry(), screen->availableGeometry()});
    return workAreaFor(window, screens);
}
