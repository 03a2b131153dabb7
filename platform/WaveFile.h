#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

// An uncompressed RIFF WAVE file: how its samples are laid out, and the samples.
struct WaveFile {
    static constexpr uint16_t kFormatPcm = 1;
    static constexpr uint16_t kFormatFloat = 3;

    uint16_t format = kFormatPcm;  // an extensible file's sub-format
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint16_t bitsPerSample = 0;  // of each sample's container
    uint16_t blockAlign = 0;
    qint64 dataBytes = 0;  // whole frames, as many as the file holds
    QByteArray samples;    // only when read with them

    // The playing time in milliseconds, rounded up.
    uint32_t lengthMs() const;
};

// nullopt when the file is missing, not a regular file, or not such a wave file. The samples
// are read only when asked for.
std::optional<WaveFile> readWaveFile(const QString& path, bool withSamples);

// The playing time, read from the header alone.
std::optional<uint32_t> waveLengthMs(const QString& path);
