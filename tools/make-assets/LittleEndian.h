#pragma once

#include <QByteArray>
#include <cstdint>

// The file formats written here all store numbers little-endian.
inline void putU16(QByteArray& out, uint32_t value) {
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>((value >> 8) & 0xFF));
}

inline void putU32(QByteArray& out, uint32_t value) {
    putU16(out, value & 0xFFFF);
    putU16(out, value >> 16);
}
