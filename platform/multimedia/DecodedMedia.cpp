#include "DecodedMedia.h"

#include <QAudioBuffer>
#include <QUrl>

#include "PcmQueue.h"

namespace {

constexpr int kSampleRate = 48000;
constexpr int kChannels = 2;
// How far decoding may run ahead of the stream.
constexpr qsizetype kAheadBytes = 3 * kSampleRate * kChannels * sizeof(int16_t);
// How soon a decoder held back by that looks again.
constexpr int kRefillMs = 200;

QAudioFormat decodedFormat() {
    QAudioFormat format;
    format.setSampleFormat(QAudioFormat::Int16);
    format.setSampleRate(kSampleRate);
    format.setChannelCount(kChannels);
    return format;
}

// The backend may add a channel layout of its own; the samples are what count.
bool isDecodedFormat(const QAudioFormat& format) {
    return format.sampleFormat() == QAudioFormat::Int16 && format.sampleRate() == kSampleRate &&
           format.channelCount() == kChannels;
}

}  // namespace

DecodedMedia::DecodedMedia(const QString& path)
    : m_path(path), m_samples(std::make_shared<PcmQueue>()) {
    m_refill.setSingleShot(true);
    m_refill.setInterval(kRefillMs);
    connect(&m_refill, &QTimer::timeout, this, [this] { takeBuffers(false); });
    connect(&m_decoder, &QAudioDecoder::bufferReady, this, [this] { takeBuffers(false); });
    connect(&m_decoder, &QAudioDecoder::finished, this, [this] {
        takeBuffers(true);
        if (!m_failed) m_samples->finish();
    });
    connect(&m_decoder, qOverload<QAudioDecoder::Error>(&QAudioDecoder::error), this,
            &DecodedMedia::fail);
    if (!m_decoder.isSupported()) {
        fail();
        return;
    }
    // A format of its own choosing makes the backend convert every file to it; left to itself
    // it hands some decoders' samples on in a layout it cannot take.
    m_decoder.setAudioFormat(decodedFormat());
    m_decoder.setSource(QUrl::fromLocalFile(path));
    m_decoder.start();
}

DecodedMedia::~DecodedMedia() {
    // Stopping the decoder reports it as finished: this object is no longer there to hear it.
    m_decoder.disconnect(this);
    m_samples->cancel();
}

SampleLayout DecodedMedia::sampleLayout() { return {PA_SAMPLE_S16LE, kSampleRate, kChannels}; }

int64_t DecodedMedia::lengthMs() const {
    if (m_samples->isFinished()) return decodedMs();
    const qint64 duration = m_decoder.duration();
    return duration > 0 ? duration : -1;
}

int64_t DecodedMedia::decodedMs() const {
    constexpr int64_t kBytesPerMs = kSampleRate / 1000 * kChannels * sizeof(int16_t);
    return m_samples->appendedBytes() / kBytesPerMs;
}

void DecodedMedia::takeBuffers(bool all) {
    // A backend that does not tell the length (FFmpeg's, in Qt 6.4) has the whole file decoded,
    // so that its end tells it.
    const bool unbounded = all || m_decoder.duration() <= 0;
    while (!m_failed && m_decoder.bufferAvailable() &&
           (unbounded || m_samples->queuedBytes() < kAheadBytes)) {
        const QAudioBuffer buffer = m_decoder.read();
        if (!buffer.isValid()) break;
        if (!isDecodedFormat(buffer.format())) {
            fail();
            return;
        }
        m_samples->append(QByteArray(buffer.constData<char>(), buffer.byteCount()));
    }
    if (!m_failed && m_decoder.bufferAvailable()) m_refill.start();
}

void DecodedMedia::fail() {
    m_failed = true;
    m_refill.stop();
    m_samples->cancel();
}
