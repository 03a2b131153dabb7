#pragma once

#include <QByteArray>
#include <cstdint>
#include <vector>

// RIFF WAVE, 16-bit PCM mono, with the plain 44-byte header.
QByteArray encodeWav16(const std::vector<int16_t>& samples, uint32_t sampleRate);
