#pragma once

#include <QRgb>
#include <array>
#include <cstdint>

// The sixteen colours every picture is drawn with. Tuned for the landscape's sky through the day;
// the cow and the small icons get by with the same set.
enum Colour : uint8_t {
    Black,
    Night,      // sky at midnight
    Dusk,       // deep blue, sky before dawn and after dusk; mountains by night
    Sky,        // sky at noon
    PaleSky,    // haze near the horizon by day
    White,      // snow, stars, the cow
    LightRock,  // sunlit rock, moonlit snow, shading on white
    DarkRock,   // shaded rock
    Meadow,
    Forest,  // trees; the meadow by night
    Wood,    // chalet, posts, tree trunks
    Red,     // roofs, hands of the clock
    Yellow,  // signs, the bell, the pointer, lit windows
    Orange,  // sunrise and sunset
    Pink,    // twilight; the cow's muzzle
    Violet,  // twilight
};

// A pixel an icon leaves transparent; never a colour of its own.
inline constexpr uint8_t kClear = 0xFF;

inline constexpr std::array<QRgb, 16> kPalette = {
    qRgb(0x10, 0x10, 0x18), qRgb(0x12, 0x16, 0x3a), qRgb(0x2a, 0x3a, 0x7c), qRgb(0x5a, 0x9c, 0xe8),
    qRgb(0xa8, 0xd4, 0xf8), qRgb(0xff, 0xff, 0xff), qRgb(0x9c, 0xa4, 0xbc), qRgb(0x50, 0x56, 0x72),
    qRgb(0x64, 0xb4, 0x40), qRgb(0x22, 0x62, 0x36), qRgb(0x7c, 0x4a, 0x2a), qRgb(0xc8, 0x3c, 0x30),
    qRgb(0xf8, 0xd0, 0x30), qRgb(0xf0, 0x90, 0x40), qRgb(0xe0, 0x70, 0x98), qRgb(0x6a, 0x44, 0x88),
};
