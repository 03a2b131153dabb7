#include "PixelGrid.h"

PixelGrid::PixelGrid(int width, int height, uint8_t fill)
    : m_width(width), m_height(height), m_pixels(static_cast<size_t>(width * height), fill) {}

void PixelGrid::set(int x, int y, uint8_t colour) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
    m_pixels[static_cast<size_t>(y * m_width + x)] = colour;
}

void PixelGrid::setWrapped(int x, int y, uint8_t colour) {
    set(((x % m_width) + m_width) % m_width, y, colour);
}

void PixelGrid::stamp(int x, int y, const std::vector<std::string_view>& rows,
                      std::string_view key) {
    for (size_t row = 0; row < rows.size(); ++row) {
        for (size_t column = 0; column < rows[row].size(); ++column) {
            size_t at = 0;
            while (at + 1 < key.size() && key[at] != rows[row][column]) at += 2;
            if (at + 1 >= key.size()) continue;
            const char digit = key[at + 1];
            const uint8_t colour =
                static_cast<uint8_t>(digit <= '9' ? digit - '0' : digit - 'a' + 10);
            set(x + static_cast<int>(column), y + static_cast<int>(row), colour);
        }
    }
}
