#include "IconWriter.h"

#include "BitmapWriter.h"
#include "LittleEndian.h"

namespace {

constexpr uint32_t kDirectoryBytes = 6 + 16;

void putMaskRows(QByteArray& out, const PixelGrid& grid) {
    const int stride = rowBytes(grid.width(), 1);
    for (int y = grid.height() - 1; y >= 0; --y) {
        QByteArray row(stride, '\0');
        for (int x = 0; x < grid.width(); ++x)
            if (grid.at(x, y) == kClear)
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        out.append(row);
    }
}

}  // namespace

QByteArray encodeIco4(const PixelGrid& grid) {
    const int width = grid.width();
    const int height = grid.height();
    const uint32_t imageBytes =
        static_cast<uint32_t>((rowBytes(width, 4) + rowBytes(width, 1)) * height);

    QByteArray picture;
    putInfoHeader(picture, width, height * 2, imageBytes);  // colours and mask stacked
    putPalette(picture);
    putPixelRows(picture, grid);
    putMaskRows(picture, grid);

    QByteArray out;
    putU16(out, 0);  // reserved
    putU16(out, 1);  // icon, not cursor
    putU16(out, 1);  // one picture
    out.append(static_cast<char>(width));
    out.append(static_cast<char>(height));
    out.append(static_cast<char>(16));  // colours
    out.append('\0');
    putU16(out, 1);  // planes
    putU16(out, 4);  // bits per pixel
    putU32(out, static_cast<uint32_t>(picture.size()));
    putU32(out, kDirectoryBytes);
    out.append(picture);
    return out;
}
