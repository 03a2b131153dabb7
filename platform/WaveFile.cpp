#include "platform/WaveFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QtEndian>

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xfffe;

uint32_t u32(const QByteArray& bytes, int at) {
    return qFromLittleEndian<uint32_t>(bytes.constData() + at);
}

uint16_t u16(const QByteArray& bytes, int at) {
    return qFromLittleEndian<uint16_t>(bytes.constData() + at);
}

}  // namespace

std::optional<uint32_t> waveLengthMs(const QString& path) {
    // Opened without waiting, then checked: opening a FIFO for reading would wait for a writer.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat status {};
    QFile file;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    const QByteArray riff = file.read(12);
    if (riff.size() != 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        return std::nullopt;

    // The sizes in the file are not trusted: every step is checked against the real file size.
    const qint64 fileSize = file.size();
    uint32_t sampleRate = 0;
    uint16_t blockAlign = 0;
    qint64 at = 12;
    while (at + 8 <= fileSize) {
        if (!file.seek(at)) return std::nullopt;
        const QByteArray header = file.read(8);
        if (header.size() != 8) return std::nullopt;
        const QByteArray id = header.left(4);
        const qint64 size = u32(header, 4);
        if (id == "fmt ") {
            const QByteArray fmt = file.read(16);
            if (size < 16 || fmt.size() != 16) return std::nullopt;
            const uint16_t format = u16(fmt, 0);
            if (format != kFormatPcm && format != kFormatFloat && format != kFormatExtensible)
                return std::nullopt;
            sampleRate = u32(fmt, 4);
            blockAlign = u16(fmt, 12);
            if (u16(fmt, 2) == 0 || sampleRate == 0 || blockAlign == 0) return std::nullopt;
        } else if (id == "data") {
            if (sampleRate == 0) return std::nullopt;  // no format before the samples
            // A writer that streamed the file may have left the size unknown (all ones).
            const qint64 bytes = qMin(size, fileSize - at - 8);
            const qint64 frames = bytes / blockAlign;
            const qint64 ms = (frames * 1000 + sampleRate - 1) / sampleRate;
            return static_cast<uint32_t>(qMin<qint64>(ms, UINT32_MAX));
        }
        at += 8 + size + (size & 1);  // chunks are padded to an even size
    }
    return std::nullopt;
}
