#include "AppIcon.h"

#include <QBuffer>
#include <QImage>
#include <string_view>
#include <vector>

#include "Drawings.h"

namespace {

// The bar's cow reduced to what still reads at 16 pixels: the head with horns, eye and muzzle,
// two patches, four legs and the tail. Key as the bar's cow: o outline, w white, b patch,
// p muzzle, n nostril, e eye, h horn, t tail.
const std::vector<std::string_view> kSmallCow = {
    "                ",  //
    "                ",  //
    " h  h           ",  //
    "owwwwo          ",  //
    "owewwoooooooooo ",  //
    "opppwwwbbwwwbbo ",  //
    "opnpwwbbbwwwwbo ",  //
    "oppppwwbwwwwwwot",  //
    " ooooowwwwwwwwot",  //
    "    owwwwwwwwwot",  //
    "    ooooooooooo ",  //
    "     owo pp owo ",  //
    "     owo    owo ",  //
    "     ooo    ooo ",  //
    "                ",  //
    "                ",  //
};
constexpr std::string_view kSmallCowKey = "o0w5b0pen0e0h6t0";

PixelGrid smallCow() {
    PixelGrid grid(16, 16);
    grid.stamp(0, 0, kSmallCow, kSmallCowKey);
    return grid;
}

// The version window's cow without its stand, moved up into the middle of the square.
PixelGrid largeCow() {
    const PixelGrid posed = drawCow(CowPose::HeadUp, false);
    constexpr int kStandTop = 28;
    constexpr int kRaise = 2;
    PixelGrid grid(32, 32);
    for (int y = 0; y < kStandTop; ++y)
        for (int x = 0; x < 32; ++x) grid.set(x, y - kRaise, posed.at(x, y));
    return grid;
}

QImage scaledUp(const PixelGrid& grid, int factor) {
    QImage image(grid.width() * factor, grid.height() * factor, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const uint8_t colour = grid.at(x / factor, y / factor);
            image.setPixel(x, y, colour == kClear ? qRgba(0, 0, 0, 0) : kPalette[colour]);
        }
    return image;
}

}  // namespace

QImage drawAppIcon(int size) {
    // Whole multiples of one of the two drawings keep every pixel sharp.
    if (size % 32 == 0) return scaledUp(largeCow(), size / 32);
    return scaledUp(smallCow(), size / 16);
}

QByteArray encodePng(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}
