#pragma once

// Wave files made on the spot for the sound tests.

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <cstdint>

inline void putU16(QByteArray& out, uint16_t value) {
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

inline void putU32(QByteArray& out, uint32_t value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

struct WaveShape {
    uint16_t format = 1;
    uint16_t channels = 1;
    uint32_t sampleRate = 8000;
    uint16_t bits = 16;
    uint32_t frames = 4000;
    QByteArray chunkBeforeData{};  // a whole chunk, header included
    bool unknownDataSize = false;  // as a writer that streamed the file leaves it
    uint16_t extensibleOf = 0;     // when set, the extensible form with this real format
    uint32_t channelMask = 0;      // of the extensible form
};

inline QByteArray waveBytes(const WaveShape& shape) {
    const uint16_t blockAlign = static_cast<uint16_t>(shape.channels * shape.bits / 8);
    const uint32_t dataBytes = shape.frames * blockAlign;
    QByteArray out("RIFF");
    putU32(out, 0);  // the RIFF size is not read
    out.append("WAVEfmt ");
    putU32(out, shape.extensibleOf != 0 ? 40 : 16);
    putU16(out, shape.extensibleOf != 0 ? 0xfffe : shape.format);
    putU16(out, shape.channels);
    putU32(out, shape.sampleRate);
    putU32(out, shape.sampleRate * blockAlign);
    putU16(out, blockAlign);
    putU16(out, shape.bits);
    if (shape.extensibleOf != 0) {
        putU16(out, 22);          // the extension's size
        putU16(out, shape.bits);  // valid bits
        putU32(out, shape.channelMask);
        putU16(out, shape.extensibleOf);
        out.append("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xaa\x00\x38\x9b\x71", 14);
    }
    out.append(shape.chunkBeforeData);
    out.append("data");
    putU32(out, shape.unknownDataSize ? 0xffffffffu : dataBytes);
    // A quiet tone rather than silence, so a listener hears the test.
    for (uint32_t i = 0; i < dataBytes / 2; ++i)
        putU16(out, static_cast<uint16_t>((i / 10) % 2 ? 800 : -800));
    return out;
}

inline QString writeFile(const QTemporaryDir& folder, const QString& name,
                         const QByteArray& bytes) {
    const QString path = folder.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return {};
    return path;
}
