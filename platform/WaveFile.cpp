#include "platform/WaveFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QtEndian>

namespace {

constexpr uint16_t kFormatExtensible = 0xfffe;
// An extensible format chunk: the plain 16 bytes, the extension's size and 22 bytes of it,
// whose sub-format's first two bytes are the real format.
constexpr qint64 kExtensibleFormatSize = 40;
constexpr int kSubFormatAt = 24;

uint32_t u32(const QByteArray& bytes, int at) {
    return qFromLittleEndian<uint32_t>(bytes.constData() + at);
}

uint16_t u16(const QByteArray& bytes, int at) {
    return qFromLittleEndian<uint16_t>(bytes.constData() + at);
}

// Opened without waiting, then checked: opening a FIFO for reading would wait for a writer.
bool openRegularFile(const QString& path, QFile& file) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

// The format chunk of `size` bytes, read from the file's position; false when it is not one of
// integer or floating-point samples.
bool readFormat(QFile& file, qint64 size, WaveFile& wave) {
    if (size < 16) return false;
    const QByteArray fmt = file.read(qMin(size, kExtensibleFormatSize));
    if (fmt.size() < 16) return false;
    wave.format = u16(fmt, 0);
    wave.channels = u16(fmt, 2);
    wave.sampleRate = u32(fmt, 4);
    wave.blockAlign = u16(fmt, 12);
    wave.bitsPerSample = u16(fmt, 14);
    if (wave.format == kFormatExtensible) {
        if (fmt.size() < kExtensibleFormatSize) return false;
        wave.format = u16(fmt, kSubFormatAt);
    }
    if (wave.format != WaveFile::kFormatPcm && wave.format != WaveFile::kFormatFloat) return false;
    return wave.channels != 0 && wave.sampleRate != 0 && wave.blockAlign != 0;
}

}  // namespace

uint32_t WaveFile::lengthMs() const {
    const qint64 frames = dataBytes / blockAlign;
    const qint64 ms = (frames * 1000 + sampleRate - 1) / sampleRate;
    return static_cast<uint32_t>(qMin<qint64>(ms, UINT32_MAX));
}

std::optional<WaveFile> readWaveFile(const QString& path, bool withSamples) {
    QFile file;
    if (!openRegularFile(path, file)) return std::nullopt;
    const QByteArray riff = file.read(12);
    if (riff.size() != 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        return std::nullopt;

    // The sizes in the file are not trusted: every step is checked against the real file size.
    const qint64 fileSize = file.size();
    WaveFile wave;
    bool haveFormat = false;
    qint64 at = 12;
    while (at + 8 <= fileSize) {
        if (!file.seek(at)) return std::nullopt;
        const QByteArray header = file.read(8);
        if (header.size() != 8) return std::nullopt;
        const QByteArray id = header.left(4);
        const qint64 size = u32(header, 4);
        if (id == "fmt ") {
            if (!readFormat(file, size, wave)) return std::nullopt;
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat) return std::nullopt;  // no format before the samples
            // A writer that streamed the file may have left the size unknown (all ones).
            const qint64 bytes = qMin(size, fileSize - at - 8);
            wave.dataBytes = bytes - bytes % wave.blockAlign;
            if (withSamples) {
                wave.samples = file.read(wave.dataBytes);
                if (wave.samples.size() != wave.dataBytes) return std::nullopt;
            }
            return wave;
        }
        at += 8 + size + (size & 1);  // chunks are padded to an even size
    }
    return std::nullopt;
}

std::optional<uint32_t> waveLengthMs(const QString& path) {
    const std::optional<WaveFile> wave = readWaveFile(path, false);
    if (!wave) return std::nullopt;
    return wave->lengthMs();
}
