#include "drawing/LabelFont.h"

#include <QStringList>

#include "core/Rounding.h"

namespace {
constexpr double kTwipsPerPoint = 20;
}

LabelFont labelFont(int points, double twipsPerPixelX, double twipsPerPixelY) {
    const int pixelHeight =
        std::max<int>(1, static_cast<int>(nearest(points * kTwipsPerPoint / twipsPerPixelY)));
    const double realPoints = pixelHeight * twipsPerPixelY / kTwipsPerPoint;

    LabelFont label;
    // Where the classic Japanese gothic face is missing, another bold gothic takes its place.
    label.font.setFamilies(QStringList{QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                                       QStringLiteral("IPAGothic"), QStringLiteral("monospace")});
    label.font.setStyleHint(QFont::Monospace);
    label.font.setBold(true);
    label.font.setPixelSize(pixelHeight);
    // Crisp digits that match the pixel pictures.
    label.font.setStyleStrategy(QFont::NoAntialias);
    label.pixelsX = realPoints * kTwipsPerPoint / twipsPerPixelX;
    label.pixelsY = realPoints * kTwipsPerPoint / twipsPerPixelY;
    return label;
}
