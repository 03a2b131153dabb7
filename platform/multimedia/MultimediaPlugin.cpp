#include "MultimediaPlugin.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <algorithm>
#include <optional>
#include <utility>

#include "DecodedMedia.h"
#include "PcmQueue.h"
#include "SoundStream.h"
#include "platform/WaveFile.h"

namespace {

// How long opening a file or learning its length may take.
constexpr int kLoadBoundMs = 3000;
// How long the sound server may take to accept a stream; one that takes longer is taken for
// one that does not answer.
constexpr int kConnectBoundMs = 1000;
// Between two looks while waiting; events are processed throughout.
constexpr int kWaitSliceMs = 5;
// What is left of a wave that a wave started after it lets end: about what the server takes to
// start a sound, by which the end of the one before may trail the clock's count of its length.
constexpr int64_t kLastMomentMs = 150;
// Sounds kept readied: enough for the alarm's and the chime's.
constexpr size_t kKeptSounds = 2;
// How long a readied sound is kept without being asked for again. A due sound is asked for
// every second until it plays.
constexpr int64_t kKeptReadiedMs = 10'000;
// How long the program's end waits for the streams to let go of the server.
constexpr int kReleaseBoundMs = 500;
// Until its last sample has been heard, a media file's position stays short of its length by
// more than the millisecond a player allows, so that the player keeps waiting for it.
constexpr int64_t kShortOfEndMs = 2;

template <typename Done>
bool waitUntil(int boundMs, Done done) {
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.hasExpired(boundMs)) return false;
        QTimer wake;
        wake.setSingleShot(true);
        wake.start(kWaitSliceMs);
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

std::optional<SampleLayout> sampleLayoutOf(const WaveFile& wave) {
    std::optional<pa_sample_format_t> format;
    if (wave.format == WaveFile::kFormatFloat && wave.bitsPerSample == 32)
        format = PA_SAMPLE_FLOAT32LE;
    else if (wave.format == WaveFile::kFormatPcm && wave.bitsPerSample == 8)
        format = PA_SAMPLE_U8;
    else if (wave.format == WaveFile::kFormatPcm && wave.bitsPerSample == 16)
        format = PA_SAMPLE_S16LE;
    else if (wave.format == WaveFile::kFormatPcm && wave.bitsPerSample == 24)
        format = PA_SAMPLE_S24LE;
    else if (wave.format == WaveFile::kFormatPcm && wave.bitsPerSample == 32)
        format = PA_SAMPLE_S32LE;
    if (!format || wave.channels > PA_CHANNELS_MAX) return std::nullopt;
    const SampleLayout layout{*format, wave.sampleRate, static_cast<uint8_t>(wave.channels)};
    // Frames as the file lays them out, and a rate the server takes.
    if (layout.frameBytes() != wave.blockAlign) return std::nullopt;
    return layout;
}

// Not known yet (a long file whose backend does not measure it), a media file lasts at least
// what is decoded, and its play runs on until its last sample has been heard.
int64_t lengthSoFar(const DecodedMedia& media) {
    return media.lengthMs() >= 0 ? media.lengthMs() : media.decodedMs();
}

}  // namespace

// A sound with its samples and a stream connected to the server, waiting to play them.
struct MultimediaPlugin::Readied {
    QString path;
    QElapsedTimer askedFor;
    SampleLayout layout;
    std::shared_ptr<PcmQueue> samples;
    std::unique_ptr<DecodedMedia> media;  // for media files, what fills the samples
    std::unique_ptr<SoundStream> stream;
    // The longest length the player has been told; -1 before it asks. A decoder may hand over
    // less than its estimate (FFmpeg's resampler keeps its last milliseconds), yet the player
    // waits for its position to reach the length it was told.
    int64_t toldLengthMs = -1;

    // The length now: once told, it does not shrink.
    int64_t lengthMs() const { return std::max(toldLengthMs, lengthSoFar(*media)); }

    static std::unique_ptr<Readied> wave(const QString& path) {
        const std::optional<WaveFile> wave = readWaveFile(path, true);
        if (!wave) return nullptr;
        const std::optional<SampleLayout> layout = sampleLayoutOf(*wave);
        if (!layout) return nullptr;
        auto sound = std::make_unique<Readied>();
        sound->path = path;
        sound->layout = *layout;
        sound->samples = std::make_shared<PcmQueue>();
        sound->samples->append(wave->samples);
        sound->samples->finish();
        sound->connect();
        return sound;
    }

    static std::unique_ptr<Readied> decoded(const QString& path) {
        auto sound = std::make_unique<Readied>();
        sound->path = path;
        sound->layout = DecodedMedia::sampleLayout();
        sound->media = std::make_unique<DecodedMedia>(path);
        sound->samples = sound->media->samples();
        sound->connect();
        return sound;
    }

    void connect() {
        stream =
            std::make_unique<SoundStream>(layout, samples, QFileInfo(path).fileName().toUtf8());
    }

    // Starts the stream and waits until it plays; one readied ahead that the server has lost
    // meanwhile is made again, once.
    bool play() {
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (attempt > 0 || stream->state() == SoundStream::State::Failed) connect();
            stream->play();
            const bool answered = waitUntil(kConnectBoundMs, [this] {
                const SoundStream::State state = stream->state();
                return state != SoundStream::State::Connecting &&
                       state != SoundStream::State::Ready;
            });
            if (!answered) return false;
            if (stream->state() != SoundStream::State::Failed) return true;
        }
        return false;
    }
};

MultimediaPlugin::MultimediaPlugin() {
    m_staleCheck.setSingleShot(true);
    connect(&m_staleCheck, &QTimer::timeout, this, &MultimediaPlugin::dropStale);
}

MultimediaPlugin::~MultimediaPlugin() { release(); }

std::unique_ptr<MultimediaPlugin::Readied> MultimediaPlugin::take(
    std::vector<std::unique_ptr<Readied>>& readied, const QString& path) {
    const auto found = std::find_if(readied.begin(), readied.end(),
                                    [&](const auto& sound) { return sound->path == path; });
    if (found == readied.end()) return nullptr;
    std::unique_ptr<Readied> sound = std::move(*found);
    readied.erase(found);
    return sound;
}

void MultimediaPlugin::keep(std::vector<std::unique_ptr<Readied>>& readied,
                            std::unique_ptr<Readied> sound) {
    if (!sound) return;
    sound->askedFor.start();
    readied.push_back(std::move(sound));
    while (readied.size() > kKeptSounds) readied.erase(readied.begin());
    if (!m_staleCheck.isActive()) m_staleCheck.start(kKeptReadiedMs);
}

void MultimediaPlugin::dropStale() {
    for (auto* readied : {&m_readiedWaves, &m_readiedMedia})
        std::erase_if(*readied,
                      [](const auto& sound) { return sound->askedFor.hasExpired(kKeptReadiedMs); });
    if (!m_readiedWaves.empty() || !m_readiedMedia.empty()) m_staleCheck.start(kKeptReadiedMs);
}

void MultimediaPlugin::prepareWave(const QString& path) {
    std::unique_ptr<Readied> wave = take(m_readiedWaves, path);
    // Read again when the server has refused the stream: the file may have changed too.
    if (!wave || wave->stream->state() == SoundStream::State::Failed) wave = Readied::wave(path);
    keep(m_readiedWaves, std::move(wave));
}

bool MultimediaPlugin::playWave(const QString& path) {
    // The wave before goes silent, unless all it has left is its last moment in the server.
    if (m_wave && m_wave->stream->state() == SoundStream::State::Ending &&
        m_wave->stream->unplayedMs() <= kLastMomentMs)
        m_waveEnding = std::move(m_wave);
    else
        m_wave.reset();

    std::unique_ptr<Readied> wave = take(m_readiedWaves, path);
    if (!wave) wave = Readied::wave(path);
    if (!wave) return false;
    const uint32_t stops = m_waveStops;
    if (!wave->play()) return false;
    // Silenced while the server took it (a click, say): started, and stopped at once.
    if (m_waveStops == stops) m_wave = std::move(wave);
    return true;
}

void MultimediaPlugin::stopWave() {
    ++m_waveStops;
    m_wave.reset();
    m_waveEnding.reset();
}

void MultimediaPlugin::prepareMedia(const QString& path) {
    std::unique_ptr<Readied> media = take(m_readiedMedia, path);
    if (!media || media->media->failed()) {
        media = Readied::decoded(path);
    } else if (media->stream->state() == SoundStream::State::Failed) {
        media->connect();
    }
    keep(m_readiedMedia, std::move(media));
}

bool MultimediaPlugin::openMedia(const QString& path) {
    closeMedia();
    m_media = take(m_readiedMedia, path);
    if (!m_media || m_media->media->failed()) m_media = Readied::decoded(path);
    const auto loaded = [this] {
        return m_media->samples->appendedBytes() > 0 || m_media->samples->isFinished();
    };
    waitUntil(kLoadBoundMs, [&] { return m_media->media->failed() || loaded(); });
    if (m_media->media->failed() || !loaded()) {
        closeMedia();
        return false;
    }
    return true;
}

int64_t MultimediaPlugin::mediaLength() {
    if (!m_media) return -1;
    const DecodedMedia& media = *m_media->media;
    waitUntil(kLoadBoundMs, [&] { return media.failed() || media.lengthMs() >= 0; });
    if (media.failed()) return -1;
    m_media->toldLengthMs = m_media->lengthMs();
    return m_media->toldLengthMs;
}

bool MultimediaPlugin::playMedia() {
    if (!m_media || m_media->media->failed()) return false;
    return m_media->play();
}

int64_t MultimediaPlugin::mediaPosition() {
    if (!m_media || m_media->media->failed()) return -1;
    const SoundStream& stream = *m_media->stream;
    switch (stream.state()) {
        case SoundStream::State::Failed:
            return -1;
        case SoundStream::State::Ended:
            return m_media->lengthMs();
        default: {
            // Short of the length told too: one that fell short of the samples is not reached
            // before they have all been heard.
            int64_t end = lengthSoFar(*m_media->media);
            if (m_media->toldLengthMs >= 0) end = std::min(end, m_media->toldLengthMs);
            return std::max<int64_t>(0, std::min(stream.playingMs(), end - kShortOfEndMs));
        }
    }
}

void MultimediaPlugin::closeMedia() { m_media.reset(); }

void MultimediaPlugin::release() {
    stopWave();
    closeMedia();
    m_readiedWaves.clear();
    m_readiedMedia.clear();
    m_staleCheck.stop();
    SoundStream::waitForAllEnded(kReleaseBoundMs);
}
