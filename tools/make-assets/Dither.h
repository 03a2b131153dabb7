#pragma once

#include <cstdint>

// Ordered dithering stands in for the blends sixteen colours cannot show.
inline bool dithered(int x, int y, double amount) {
    static constexpr int kBayer[4][4] = {
        {0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return kBayer[y & 3][x & 3] < amount * 16.0;
}

// Repeatable scatter, so every run draws the same picture.
inline uint32_t scatter(uint32_t a, uint32_t b, uint32_t seed = 0) {
    uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ seed * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

// 0 <= chance(...) < 1.
inline double chance(uint32_t a, uint32_t b, uint32_t seed = 0) {
    return (scatter(a, b, seed) >> 8) / 16777216.0;
}
