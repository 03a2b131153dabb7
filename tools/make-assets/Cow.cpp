#include <string_view>
#include <vector>

#include "Drawings.h"

namespace {

// o outline, w white, b black patch, g shade on white, p muzzle, h horn, e eye, y bell,
// Y bell shade, n nostril, t tail tuft.
constexpr std::string_view kCowKey = "o0w5b0g6peh6e0ycYdn0t0";

// Facing left; the head is drawn over it.
const std::vector<std::string_view> kBody = {
    "          ooooooooooooooooo     ",  // 10
    "         owwwwwwbbbbwwwwbbboo   ",  // 11
    "         owwwwwbbbbbbwwbbbbo o  ",  // 12
    "         owwwwwwbbbbwwwbbbbo o  ",  // 13
    "         owwwwwwwbbwwwwwbbbo o  ",  // 14
    "         owwwwwwwwwwwwwwwbbo o  ",  // 15
    "         obbwwwwwwwwwwwwwwwo o  ",  // 16
    "         obbbwwwwwwwwwwwwwwo tt ",  // 17
    "          owwwwwwwwwwwwwwwwott  ",  // 18
    "           owwoggoppooggowwo    ",  // 19
    "           owwoggo pp oggowwo   ",  // 20
    "           owwoggo    oggowwo   ",  // 21
    "           owwoggo    oggowwo   ",  // 22
    "           ooooooo    ooooooo   ",  // 23
};
constexpr int kBodyTop = 10;

const std::vector<std::string_view> kHeadUp = {
    "     oo         ",  // 3
    "    ohho  ooo   ",  // 4
    "   oohhoooobbo  ",  // 5
    "  owwwwwwbbbbo  ",  // 6
    " owwwwwwwbbboo  ",  // 7
    " owwewwwwwbbwo  ",  // 8
    " owwewwwwwwwwwo ",  // 9
    "oppppwwwwwwwwwwo",  // 10
    "oppppwwwwwwwwwww",  // 11
    "onpppwwwwwwwwwww",  // 12
    "opppppowwwwwwwww",  // 13
    " oooooowwwwwwwww",  // 14
    "      owoyoowwww",  // 15
    "       oyyyo    ",  // 16
    "       oyYyo    ",  // 17
    "        ooo     ",  // 18
};
constexpr int kHeadUpTop = 3;
constexpr int kEyeColumn = 4;

// The same head four rows lower, the neck bent down from the shoulder.
const std::vector<std::string_view> kHeadDown = {
    "     oo         ",  // 7
    "    ohho  ooo   ",  // 8
    "   oohhoooobboo ",  // 9
    "  owwwwwwbbbbowo",  // 10
    " owwwwwwwbbbowww",  // 11
    " owwewwwwwbbwwww",  // 12
    " owwewwwwwwwwwww",  // 13
    "oppppwwwwwwwwwww",  // 14
    "oppppwwwwwwwwwww",  // 15
    "onpppwwwwwwwwwww",  // 16
    "opppppowwwwwwwww",  // 17
    " oooooowoyoowwww",  // 18
    "       oyyyo    ",  // 19
    "       oyYyo    ",  // 20
    "        ooo     ",  // 21
};
constexpr int kHeadDownTop = 7;

// Two rows of 2 x 2 squares, centred under the cow like the pointer.
void drawStand(PixelGrid& grid, int top) {
    for (int y = 0; y < 4; ++y)
        for (int x = 4; x < 28; ++x) {
            const bool dark = ((x / 2) + (y / 2)) % 2 == 0;
            grid.set(x, top + y, dark ? Black : White);
        }
    for (int y = 0; y < 4; ++y) {
        grid.set(3, top + y, Black);
        grid.set(28, top + y, Black);
    }
}

// Its tip fills columns 15 and 16 of the bottom row: the present minute.
void drawPointer(PixelGrid& grid) {
    for (int row = 0; row < 4; ++row) {
        const int half = 4 - row;  // 8, 6, 4, 2 wide
        for (int x = 16 - half; x < 16 + half; ++x) {
            const bool edge = x == 16 - half || x == 15 + half;
            grid.set(x, 28 + row, edge && row < 3 ? Black : Yellow);
        }
    }
}

}  // namespace

PixelGrid drawCow(CowPose pose, bool withPointer) {
    PixelGrid grid(32, 32);
    // Without the pointer the cow sits lower, so the picture has no empty foot.
    const int shift = withPointer ? 0 : 4;
    PixelGrid cow(32, 32);
    cow.stamp(0, kBodyTop, kBody, kCowKey);
    if (pose == CowPose::HeadDown) {
        cow.stamp(0, kHeadDownTop, kHeadDown, kCowKey);
    } else {
        cow.stamp(0, kHeadUpTop, kHeadUp, kCowKey);
        if (pose == CowPose::EyesClosed) {
            // A lid line where the open eye stood.
            cow.set(kEyeColumn, kHeadUpTop + 5, White);
            cow.set(kEyeColumn, kHeadUpTop + 6, Black);
            cow.set(kEyeColumn - 1, kHeadUpTop + 6, Black);
        }
    }
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (cow.at(x, y) != kClear) grid.set(x, y + shift, cow.at(x, y));
    drawStand(grid, 24 + shift);
    if (withPointer) drawPointer(grid);
    return grid;
}
