#include "BitmapWriter.h"

#include "LittleEndian.h"

namespace {
constexpr int kFileHeaderBytes = 14;
constexpr int kInfoHeaderBytes = 40;
constexpr int kPaletteBytes = 16 * 4;
}  // namespace

int rowBytes(int width, int bitsPerPixel) { return (width * bitsPerPixel + 31) / 32 * 4; }

void putInfoHeader(QByteArray& out, int width, int headerHeight, uint32_t imageBytes) {
    putU32(out, kInfoHeaderBytes);
    putU32(out, static_cast<uint32_t>(width));
    putU32(out, static_cast<uint32_t>(headerHeight));  // positive: bottom-up
    putU16(out, 1);                                    // planes
    putU16(out, 4);                                    // bits per pixel
    putU32(out, 0);                                    // BI_RGB
    putU32(out, imageBytes);
    putU32(out, 2835);  // 72 dpi, in pixels per metre
    putU32(out, 2835);
    putU32(out, 16);  // colours used
    putU32(out, 16);  // colours important
}

void putPalette(QByteArray& out) {
    for (const QRgb colour : kPalette) {
        out.append(static_cast<char>(qBlue(colour)));
        out.append(static_cast<char>(qGreen(colour)));
        out.append(static_cast<char>(qRed(colour)));
        out.append('\0');
    }
}

void putPixelRows(QByteArray& out, const PixelGrid& grid) {
    const int stride = rowBytes(grid.width(), 4);
    for (int y = grid.height() - 1; y >= 0; --y) {
        QByteArray row(stride, '\0');
        for (int x = 0; x < grid.width(); ++x) {
            const uint8_t index = grid.at(x, y) == kClear ? 0 : grid.at(x, y) & 15;
            // The left pixel of each pair sits in the high nibble.
            row[x / 2] = static_cast<char>(row[x / 2] | (x % 2 == 0 ? index << 4 : index));
        }
        out.append(row);
    }
}

QByteArray encodeBmp4(const PixelGrid& grid) {
    const uint32_t imageBytes = static_cast<uint32_t>(rowBytes(grid.width(), 4) * grid.height());
    const uint32_t offset = kFileHeaderBytes + kInfoHeaderBytes + kPaletteBytes;
    QByteArray out;
    out.append("BM");
    putU32(out, offset + imageBytes);
    putU32(out, 0);  // reserved
    putU32(out, offset);
    putInfoHeader(out, grid.width(), grid.height(), imageBytes);
    putPalette(out);
    putPixelRows(out, grid);
    return out;
}
