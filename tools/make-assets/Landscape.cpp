#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string_view>
#include <utility>
#include <vector>

#include "Dither.h"
#include "Drawings.h"

namespace {

constexpr int W = kDayWidth;
constexpr int H = kBarHeight;

int wrap(int x) { return ((x % W) + W) % W; }

// Linear between (minute, value) points; the first and last point must be 0 and W.
double overDay(int x, std::initializer_list<std::pair<int, double>> points) {
    auto next = points.begin() + 1;
    while (next->first < x) ++next;
    const auto& [m1, v1] = *next;
    const auto& [m0, v0] = *(next - 1);
    return m1 == m0 ? v1 : v0 + (v1 - v0) * (x - m0) / double(m1 - m0);
}

// How far night has come, 0 by day and 1 by night.
double darkness(int x) {
    return overDay(x, {{0, 1}, {320, 1}, {395, 0}, {1095, 0}, {1170, 1}, {W, 1}});
}

// Pink on the snow just after sunrise and before dusk.
double alpenglow(int x) {
    return overDay(x,
                   {{0, 0}, {330, 0}, {370, 1}, {410, 0}, {1060, 0}, {1110, 1}, {1150, 0}, {W, 0}});
}

// A smooth line that repeats every day, so the strip's ends meet.
double rolling(int x, std::initializer_list<std::array<double, 3>> terms) {
    double sum = 0;
    for (const auto& [cycles, amplitude, phase] : terms)
        sum += amplitude * std::sin(2 * std::numbers::pi * cycles * x / W + phase);
    return sum;
}

// ---- Sky ----

struct SkyBand {
    Colour colour;
    int endRow;
};

struct SkyKey {
    int minute;
    std::vector<SkyBand> bands;  // top down; the last reaches the bottom
};

const std::vector<SkyKey>& skyKeys() {
    static const std::vector<SkyKey> keys = {
        {0, {{Night, 21}, {Dusk, H}}},
        {250, {{Night, 21}, {Dusk, H}}},
        {310, {{Night, 9}, {Dusk, 19}, {Violet, H}}},
        {350, {{Dusk, 7}, {Violet, 14}, {Pink, 21}, {Orange, H}}},
        {395, {{Sky, 9}, {PaleSky, 19}, {Orange, H}}},
        {450, {{Sky, 15}, {PaleSky, H}}},
        {1000, {{Sky, 15}, {PaleSky, H}}},
        {1055, {{Sky, 10}, {PaleSky, 19}, {Orange, H}}},
        {1100, {{Violet, 8}, {Pink, 16}, {Orange, H}}},
        {1145, {{Dusk, 8}, {Violet, 17}, {Pink, H}}},
        {1195, {{Night, 10}, {Dusk, 20}, {Violet, H}}},
        {1250, {{Night, 21}, {Dusk, H}}},
        {W, {{Night, 21}, {Dusk, H}}},
    };
    return keys;
}

// Band edges blur over four rows.
Colour skyOf(const SkyKey& key, int x, int y) {
    for (size_t i = 0; i + 1 < key.bands.size(); ++i) {
        const int edge = key.bands[i].endRow;
        if (y < edge - 2) return key.bands[i].colour;
        if (y < edge + 2)
            return dithered(x, y, (y - (edge - 2) + 0.5) / 4.0) ? key.bands[i + 1].colour
                                                                : key.bands[i].colour;
    }
    return key.bands.back().colour;
}

Colour skyAt(int x, int y) {
    const auto& keys = skyKeys();
    size_t next = 1;
    while (keys[next].minute <= x && next + 1 < keys.size()) ++next;
    const SkyKey& before = keys[next - 1];
    const SkyKey& after = keys[next];
    const double t = (x - before.minute) / double(after.minute - before.minute);
    // Offset the pattern vertically so the fade does not line up with the band edges.
    return dithered(x, y + 2, t) ? skyOf(after, x, y) : skyOf(before, x, y);
}

void drawDisc(PixelGrid& grid, double cx, double cy, double r, uint8_t colour) {
    for (int y = int(cy - r) - 1; y <= int(cy + r) + 1; ++y)
        for (int x = int(cx - r) - 1; x <= int(cx + r) + 1; ++x)
            if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r) grid.setWrapped(x, y, colour);
}

void drawStars(PixelGrid& sky) {
    for (int x = 0; x < W; ++x) {
        for (int y = 0; y < 22; ++y) {
            const uint8_t here = sky.at(x, y);
            if (here != Night && here != Dusk) continue;
            const double roll = chance(x, y, 1);
            if (roll < 0.010)
                sky.set(x, y, White);
            else if (roll < 0.026)
                sky.set(x, y, LightRock);
        }
    }
    // A few bright ones with a glint.
    for (const auto& [x, y] : {std::pair{40, 4},
                               {130, 9},
                               {205, 3},
                               {1230, 6},
                               {1310, 12},
                               {1405, 5},
                               {1345, 15},
                               {265, 13}}) {
        for (const auto& [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}})
            sky.setWrapped(x + dx, y + dy, LightRock);
        sky.setWrapped(x, y, White);
    }
}

void drawMoon(PixelGrid& sky) {
    constexpr double cx = 1350, cy = 6.5, r = 4.2;
    for (int y = 0; y < 14; ++y)
        for (int x = 1340; x < 1360; ++x) {
            const double dx = x - cx, dy = y - cy;
            const double ex = x - (cx + 2.2), ey = y - (cy - 1.2);
            if (dx * dx + dy * dy <= r * r && ex * ex + ey * ey > r * r)
                sky.set(x, y, dx < -2.5 ? White : LightRock);
        }
    for (const auto& [x, y] : {std::pair{1347, 5}, {1347, 7}}) sky.set(x, y, White);
}

void drawSuns(PixelGrid& sky) {
    // Low and red at rising and setting, high and pale at noon; far enough apart that the bar
    // never shows two at once.
    drawDisc(sky, 375, 17, 5.2, Orange);
    drawDisc(sky, 374, 16, 3.6, Yellow);
    drawDisc(sky, 1098, 18, 5.2, Orange);
    drawDisc(sky, 1097, 17, 3.6, Yellow);
    drawDisc(sky, 720, 6, 4.5, Yellow);
    drawDisc(sky, 719, 5, 2.2, White);
    for (const auto& [dx, dy] :
         {std::pair{-7, 0}, {7, 0}, {0, -7}, {-5, -5}, {5, -5}, {5, 5}, {-5, 5}, {0, 7}}) {
        sky.setWrapped(720 + dx, 6 + dy, Yellow);
    }
}

void drawCloud(PixelGrid& sky, int cx, int cy, int size) {
    struct Puff {
        double dx, dy, r;
    };
    const std::vector<Puff> puffs = {{-size * 1.6, 1, size * 0.75},
                                     {-size * 0.6, -0.5, size * 1.0},
                                     {size * 0.6, 0, size * 0.9},
                                     {size * 1.6, 1, size * 0.7}};
    for (int y = cy - 2 * size; y <= cy + size + 1; ++y)
        for (int x = cx - 3 * size; x <= cx + 3 * size; ++x) {
            // Flat underneath, as fair-weather clouds are.
            if (y > cy + 1) continue;
            bool inside = false, lowerEdge = true;
            for (const Puff& p : puffs) {
                const double dx = x - (cx + p.dx), dy = y - (cy + p.dy);
                if (dx * dx + dy * dy <= p.r * p.r) inside = true;
                const double below = y + 1.5 - (cy + p.dy);
                if (dx * dx + below * below <= p.r * p.r && y + 1 <= cy + 1) lowerEdge = false;
            }
            if (inside) sky.setWrapped(x, y, lowerEdge ? PaleSky : White);
        }
}

PixelGrid drawSky() {
    PixelGrid sky(W, H);
    for (int x = 0; x < W; ++x)
        for (int y = 0; y < H; ++y) sky.set(x, y, skyAt(x, y));
    drawStars(sky);
    drawMoon(sky);
    drawSuns(sky);
    drawCloud(sky, 480, 6, 2);
    drawCloud(sky, 600, 10, 3);
    drawCloud(sky, 845, 5, 3);
    drawCloud(sky, 950, 11, 2);
    drawCloud(sky, 1015, 4, 2);
    return sky;
}

// ---- Land ----

struct Peak {
    int x;
    int top;
    double slopeLeft;  // rows per column
    double slopeRight;
};

std::vector<Peak> peaks() {
    std::vector<Peak> list;
    int x = 8;
    for (uint32_t i = 0; x < W; ++i) {
        const int top = 4 + int(chance(i, 0, 7) * 10);
        list.push_back({x, top, 0.45 + chance(i, 1, 7) * 0.45, 0.45 + chance(i, 2, 7) * 0.45});
        x += 38 + int(chance(i, 3, 7) * 50);
    }
    return list;
}

int distance(int from, int to) {
    int d = wrap(to - from);
    return d > W / 2 ? d - W : d;
}

// Small steps along a slope, so ridges look rocky rather than ruled.
int jag(int x, uint32_t seed) { return chance(x / 2, 0, seed) < 0.3 ? 1 : 0; }

void drawMountains(PixelGrid& land) {
    const std::vector<Peak> list = peaks();
    for (int x = 0; x < W; ++x) {
        int best = 1 << 20;
        const Peak* owner = nullptr;
        for (const Peak& peak : list) {
            const int d = distance(peak.x, x);
            const double row = peak.top + std::abs(d) * (d < 0 ? peak.slopeLeft : peak.slopeRight);
            if (row < best) {
                best = int(row);
                owner = &peak;
            }
        }
        best += jag(x, 11);
        const int d = distance(owner->x, x);
        const bool lit = d <= 0;
        const int snowLine = owner->top + std::max(0, 13 - owner->top) / 2 + 1 + jag(x + 1, 12) +
                             (chance(x / 3, 1, 13) < 0.3 ? 1 : 0);
        for (int y = best; y < H; ++y) {
            Colour colour = lit ? LightRock : DarkRock;
            if (y < snowLine) colour = lit ? White : LightRock;
            // A gully running down the lit face from below the summit.
            const int gully = -2 - int((y - owner->top) * 0.4);
            if (lit && y > snowLine && d == gully && chance(x, y, 14) < 0.8) colour = DarkRock;
            land.set(x, y, colour);
        }
    }
}

int hillTop(int x) {
    return 24 + int(std::lround(rolling(x, {{5, 1.6, 0.3}, {13, 1.0, 2.0}, {29, 0.6, 4.1}})));
}

int groundTop(int x) {
    return 30 + int(std::lround(rolling(x, {{4, 1.0, 1.3}, {11, 0.8, 0.2}, {23, 0.5, 3.3}})));
}

// A spruce: tiers that widen downwards, a shade side and a trunk.
void drawSpruce(PixelGrid& land, int x, int baseRow, int height, bool trunk) {
    const int top = baseRow - height;
    const int crownBottom = trunk ? baseRow - 1 : baseRow;
    for (int y = top; y < crownBottom; ++y) {
        const int depth = y - top;
        const int half = (depth + 1) / 2 - (depth >= 5 && depth % 3 == 2 ? 1 : 0);
        for (int dx = -half; dx <= half; ++dx) {
            land.setWrapped(x + dx, y, dx > 0 && dx == half ? Night : Forest);
        }
        if (half > 0) land.setWrapped(x - half, y, Meadow);
    }
    if (trunk) land.setWrapped(x, crownBottom, Wood);
}

void drawHills(PixelGrid& land) {
    for (int x = 0; x < W; ++x)
        for (int y = hillTop(x); y < H; ++y) land.set(x, y, Forest);
    // A fringe of small trees along the crest.
    for (int x = 0; x < W; x += 3 + int(chance(x, 0, 21) * 4)) {
        const int height = 3 + int(chance(x, 1, 21) * 4);
        if (chance(x, 2, 21) < 0.25) continue;
        drawSpruce(land, x, hillTop(x) + 1, height, false);
    }
}

void drawMeadow(PixelGrid& land) {
    for (int x = 0; x < W; ++x) {
        const int top = groundTop(x);
        for (int y = top; y < H; ++y) {
            Colour colour = Meadow;
            const double roll = chance(x, y, 31);
            if (y > top && roll < 0.06) colour = Forest;
            land.set(x, y, colour);
        }
        // Tufts and flowers.
        const double roll = chance(x, 0, 32);
        const int y = top + 2 + int(chance(x, 1, 32) * (H - top - 6));
        if (roll < 0.05) {
            land.set(x, y, Forest);
            land.set(x, y - 1, Forest);
        } else if (roll < 0.075) {
            land.set(x, y, White);
        } else if (roll < 0.09) {
            land.set(x, y, Yellow);
        } else if (roll < 0.10) {
            land.set(x, y, Pink);
        }
    }
}

void drawChalet(PixelGrid& land, int x, bool lit) {
    static const std::vector<std::string_view> rows = {
        "      RR      ",  //
        "    RRrrRR    ",  //
        "  RRrrrrrrRR  ",  //
        "RRrrrrrrrrrrRR",  //
        " kwwwwwwwwwwk ",  //
        " kwgwwwwwwgwk ",  //
        " kwwwwwwwwwwk ",  //
        " kkkkkkkkkkkk ",  //
        " pgppppppppdp ",  //
        " ppppppppppdp ",  //
    };
    // Roof and its edge, beams, wooden upper floor, windows, plastered ground floor, door.
    const std::string_view key = lit ? "Rarbk0wagcp5d0" : "Rarbk0wag4p5d0";
    const int left = x - 7;
    const int base = groundTop(x) + 1;
    land.stamp(left, base - int(rows.size()), rows, key);
}

bool nearPost(int x, int margin) {
    const int offset = wrap(x) % 60;
    return std::min(offset, 60 - offset) <= margin;
}

void drawForeground(PixelGrid& land) {
    const std::vector<int> chalets = {150, 510, 990, 1290};
    for (const int x : chalets) drawChalet(land, x, darkness(x) > 0.5);
    // Spruces in small groups, clear of the posts and the chalets.
    for (int x = 0; x < W; ++x) {
        if (chance(x, 0, 41) > 0.045) continue;
        if (nearPost(x, 9)) continue;
        bool clear = true;
        for (const int c : chalets) clear = clear && std::abs(distance(c, x)) > 11;
        if (!clear) continue;
        const int height = 7 + int(chance(x, 1, 41) * 6);
        drawSpruce(land, x, groundTop(x) + 2, height, true);
        x += 3;
    }
}

// What each colour becomes by night. The far hills go to one flat silhouette; up close the meadow
// and the trees keep some green.
constexpr std::array<Colour, 16> kFarByNight = {
    Black, Night, Night,    Dusk, Dusk,   LightRock, DarkRock, Dusk,
    Night, Night, DarkRock, Wood, Yellow, Orange,    Violet,   Dusk,
};
constexpr std::array<Colour, 16> kNearByNight = {
    Black,  Night, Night,    Dusk, Dusk,   LightRock, DarkRock, Dusk,
    Forest, Night, DarkRock, Wood, Yellow, Orange,    Violet,   Dusk,
};

uint8_t shade(uint8_t colour, int x, int y, const std::array<Colour, 16>& byNight) {
    if (alpenglow(x) > 0 && (colour == White || colour == LightRock) && y < 18 &&
        dithered(x, y, alpenglow(x)))
        colour = colour == White ? uint8_t(Pink) : uint8_t(Violet);
    // Lit windows, and a flower here and there like a firefly, keep their yellow at night.
    if (colour == Yellow) return colour;
    return dithered(x, y, darkness(x)) ? uint8_t(byNight[colour]) : colour;
}

// ---- Posts and ticks ----

const std::array<std::array<std::string_view, 5>, 10> kDigits = {{
    {".#.", "#.#", "#.#", "#.#", ".#."},
    {".#.", "##.", ".#.", ".#.", "###"},
    {"##.", "..#", ".#.", "#..", "###"},
    {"##.", "..#", ".#.", "..#", "##."},
    {"#.#", "#.#", "###", "..#", "..#"},
    {"###", "#..", "##.", "..#", "##."},
    {".##", "#..", "##.", "#.#", ".#."},
    {"###", "..#", ".#.", ".#.", ".#."},
    {".#.", "#.#", ".#.", "#.#", ".#."},
    {".#.", "#.#", ".##", "..#", "##."},
}};

void drawDigit(PixelGrid& grid, int left, int top, int digit) {
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 3; ++x)
            if (kDigits[digit][y][x] == '#') grid.setWrapped(left + x, top + y, Black);
}

constexpr int kSignTop = 13;

void drawSignpost(PixelGrid& grid, int hour) {
    const int x = hour * 60;
    const int label = hour % 12 == 0 ? 12 : hour % 12;
    const int half = label >= 10 ? 5 : 3;
    const int signBottom = kSignTop + 8;
    for (int y = signBottom; y <= groundTop(x) + 2; ++y) {
        grid.setWrapped(x, y, Wood);
    }
    for (int y = kSignTop; y <= signBottom; ++y)
        for (int dx = -half; dx <= half; ++dx) {
            const bool edge = y == kSignTop || y == signBottom || std::abs(dx) == half;
            const bool corner = (y == kSignTop || y == signBottom) && std::abs(dx) == half;
            if (corner) continue;
            grid.setWrapped(x + dx, y, edge ? Wood : Yellow);
        }
    if (label >= 10) {
        drawDigit(grid, x - 3, kSignTop + 2, label / 10);
        drawDigit(grid, x + 1, kSignTop + 2, label % 10);
    } else {
        drawDigit(grid, x - 1, kSignTop + 2, label);
    }
}

void drawTicks(PixelGrid& grid) {
    for (int x = 0; x < W; x += 10) {
        const int length = x % 60 == 0 ? 4 : x % 30 == 0 ? 3 : 2;
        for (int y = H - length; y < H; ++y) grid.set(x, y, Black);
    }
}

}  // namespace

PixelGrid drawAlps() {
    PixelGrid picture = drawSky();
    PixelGrid far(W, H);
    drawMountains(far);
    drawHills(far);
    PixelGrid near(W, H);
    drawMeadow(near);
    drawForeground(near);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            if (near.at(x, y) != kClear)
                picture.set(x, y, shade(near.at(x, y), x, y, kNearByNight));
            else if (far.at(x, y) != kClear)
                picture.set(x, y, shade(far.at(x, y), x, y, kFarByNight));
        }
    for (int hour = 0; hour < 24; ++hour) drawSignpost(picture, hour);
    drawTicks(picture);
    return picture;
}
