#pragma once

#include <QString>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

// Real to integer, rounded to the nearest integer with halves to even (12.5 -> 12, 13.5 -> 14).
inline int64_t nearest(double x) {
    const double below = std::floor(x);
    const double fraction = x - below;
    if (fraction > 0.5) return static_cast<int64_t>(below) + 1;
    if (fraction < 0.5) return static_cast<int64_t>(below);
    return static_cast<int64_t>(std::fmod(below, 2.0) == 0.0 ? below : below + 1);
}

// nearest() kept inside the 16-bit range, where the clock's form variables live.
inline int16_t nearest16(double x) {
    const int64_t n = nearest(x);
    if (n > std::numeric_limits<int16_t>::max()) return std::numeric_limits<int16_t>::max();
    if (n < std::numeric_limits<int16_t>::min()) return std::numeric_limits<int16_t>::min();
    return static_cast<int16_t>(n);
}

// Stored decimal text to an integer of type Int; nullopt when it is no number or out of range.
template <typename Int>
std::optional<Int> parseInteger(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::abs(value) > 1e15) return std::nullopt;
    const int64_t n = nearest(value);
    if (n > std::numeric_limits<Int>::max() || n < std::numeric_limits<Int>::min())
        return std::nullopt;
    return static_cast<Int>(n);
}
