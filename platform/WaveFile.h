#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// The playing time of an uncompressed RIFF WAVE file, in milliseconds rounded up, read from its
// header alone. nullopt when the file is missing, not a regular file, or not such a wave file.
std::optional<uint32_t> waveLengthMs(const QString& path);
