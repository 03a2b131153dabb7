#include "drawing/BlockCopy.h"

#include <algorithm>
#include <cstring>

void copyBlock(QImage& destination, const QImage& source, const BlockCopy& copy) {
    Q_ASSERT(destination.depth() == 32 && source.depth() == 32);
    int srcX = copy.srcX, srcY = copy.srcY, dstX = copy.dstX, dstY = copy.dstY;
    int width = copy.width, height = copy.height;
    // Trim the rectangle at every edge of both pictures, keeping source and destination aligned.
    const auto trimStart = [&](int& a, int& b, int& length) {
        const int cut = std::max({0, -a, -b});
        a += cut;
        b += cut;
        length -= cut;
    };
    trimStart(srcX, dstX, width);
    trimStart(srcY, dstY, height);
    width = std::min({width, source.width() - srcX, destination.width() - dstX});
    height = std::min({height, source.height() - srcY, destination.height() - dstY});
    if (width <= 0 || height <= 0) return;

    const size_t rowBytes = static_cast<size_t>(width) * 4;
    for (int row = 0; row < height; ++row) {
        std::memcpy(destination.scanLine(dstY + row) + static_cast<size_t>(dstX) * 4,
                    source.constScanLine(srcY + row) + static_cast<size_t>(srcX) * 4, rowBytes);
    }
}
