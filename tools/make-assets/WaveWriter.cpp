#include "WaveWriter.h"

#include "LittleEndian.h"

QByteArray encodeWav16(const std::vector<int16_t>& samples, uint32_t sampleRate) {
    constexpr uint32_t kBlockAlign = 2;  // one channel of two bytes
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size()) * kBlockAlign;
    QByteArray out;
    out.append("RIFF");
    putU32(out, 36 + dataBytes);
    out.append("WAVEfmt ");
    putU32(out, 16);  // fmt chunk size
    putU16(out, 1);   // PCM
    putU16(out, 1);   // mono
    putU32(out, sampleRate);
    putU32(out, sampleRate * kBlockAlign);
    putU16(out, kBlockAlign);
    putU16(out, 16);
    out.append("data");
    putU32(out, dataBytes);
    for (const int16_t sample : samples) putU16(out, static_cast<uint16_t>(sample));
    return out;
}
