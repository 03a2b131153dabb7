#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "Palette.h"

// A picture as palette indices, which is all the 4-bit file formats can hold.
class PixelGrid {
public:
    PixelGrid(int width, int height, uint8_t fill = kClear);

    int width() const { return m_width; }
    int height() const { return m_height; }
    uint8_t at(int x, int y) const { return m_pixels[static_cast<size_t>(y * m_width + x)]; }

    // Outside the grid does nothing, so shapes may be drawn across the edges.
    void set(int x, int y, uint8_t colour);
    // Columns wrap around, for a strip whose ends meet.
    void setWrapped(int x, int y, uint8_t colour);
    // Rows of text, one character a pixel. `key` pairs each character with the hex digit of a
    // colour, e.g. "#0w5"; characters not in it leave the pixel alone.
    void stamp(int x, int y, const std::vector<std::string_view>& rows, std::string_view key);

private:
    int m_width;
    int m_height;
    std::vector<uint8_t> m_pixels;
};
