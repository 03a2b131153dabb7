#include <cmath>
#include <string_view>
#include <vector>

#include "Drawings.h"

PixelGrid drawTrayClock() {
    PixelGrid grid(16, 16);
    constexpr double kCentre = 7.5;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const double r = std::hypot(x - kCentre, y - kCentre);
            if (r > 7.9) continue;
            grid.set(x, y, r > 6.9 ? Black : r > 5.6 ? Dusk : White);
        }
    // Marks at 12, 3, 6 and 9.
    for (const int near : {7, 8}) {
        grid.set(near, 2, Black);
        grid.set(near, 13, Black);
        grid.set(2, near, Black);
        grid.set(13, near, Black);
    }
    // Two o'clock: a long minute hand up, a short hour hand up and right.
    for (int y = 4; y <= 8; ++y) grid.set(7, y, Black);
    for (const auto& [x, y] : {std::pair{8, 7}, {9, 6}, {10, 5}}) grid.set(x, y, Black);
    grid.set(7, 8, Red);
    return grid;
}

PixelGrid drawNote() {
    // Two quavers on a beam, edged in white so they show on dark buttons too.
    static const std::vector<std::string_view> rows = {
        "                ",  //
        "                ",  //
        "     ########   ",  //
        "     ########   ",  //
        "     #      #   ",  //
        "     #      #   ",  //
        "     #      #   ",  //
        "     #      #   ",  //
        "     #      #   ",  //
        "     #      #   ",  //
        "   ###    ###   ",  //
        "  ####   ####   ",  //
        "  ###    ###    ",  //
    };
    PixelGrid note(16, 16);
    note.stamp(0, 0, rows, "#2");
    PixelGrid grid(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            if (note.at(x, y) != kClear) {
                grid.set(x, y, note.at(x, y));
                continue;
            }
            for (const auto& [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
                const int nx = x + dx, ny = y + dy;
                if (nx >= 0 && ny >= 0 && nx < 16 && ny < 16 && note.at(nx, ny) != kClear)
                    grid.set(x, y, White);
            }
        }
    return grid;
}
