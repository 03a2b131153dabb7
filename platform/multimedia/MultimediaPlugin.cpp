#include "MultimediaPlugin.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <algorithm>
#include <utility>

#include "PulseConnection.h"
#include "SoundStream.h"

namespace {

// How long opening a file may take: its header, and for an MP3 a pass through its frames.
constexpr int kOpenBoundMs = 3000;
// How long a start waits for the server to take the stream, so that one it refuses fails the
// play; one that does not answer by then is let play when it does.
constexpr int kStartBoundMs = 300;
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
// How long the connection outlives the last sound.
constexpr int64_t kIdleConnectionMs = 5'000;
constexpr int kTidyEveryMs = 1'000;
// How long the program's end waits for the streams to let go of the server.
constexpr int kReleaseBoundMs = 500;
// Until its last sample has been heard, a media file's position stays short of its length by
// more than the millisecond a player allows, so that the player keeps waiting for it.
constexpr int64_t kShortOfEndMs = 2;
// The desktop entry's id and the installed icon's name.
constexpr char kDesktopId[] = "quillon";

template <typename Done>
void waitUntil(int boundMs, Done done) {
    QElapsedTimer waited;
    waited.start();
    while (!done() && !waited.hasExpired(boundMs)) {
        QTimer wake;
        wake.setSingleShot(true);
        wake.start(kWaitSliceMs);
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

bool isOpening(const SoundStream& sound) { return sound.state() == SoundStream::State::Opening; }

bool isStarting(const SoundStream& sound) {
    return sound.state() == SoundStream::State::Opening ||
           sound.state() == SoundStream::State::Opened;
}

bool isOver(const SoundStream* sound) {
    return sound == nullptr || sound->state() == SoundStream::State::Ended ||
           sound->state() == SoundStream::State::Failed;
}

}  // namespace

MultimediaPlugin::MultimediaPlugin() {
    m_tidying.setInterval(kTidyEveryMs);
    connect(&m_tidying, &QTimer::timeout, this, &MultimediaPlugin::tidy);
}

MultimediaPlugin::~MultimediaPlugin() { release(); }

std::shared_ptr<PulseConnection> MultimediaPlugin::connection() {
    if (!m_connection || m_connection->failed())
        m_connection = std::make_shared<PulseConnection>(PulseConnection::Names{
            QCoreApplication::applicationName().toUtf8(), kDesktopId, kDesktopId});
    m_idleSince.invalidate();
    if (!m_tidying.isActive()) m_tidying.start();
    return m_connection;
}

std::unique_ptr<SoundStream> MultimediaPlugin::open(const QString& path) {
    return std::make_unique<SoundStream>(path, connection());
}

std::unique_ptr<SoundStream> MultimediaPlugin::take(const QString& path) {
    const auto found =
        std::find_if(m_readied.begin(), m_readied.end(),
                     [&](const Readied& readied) { return readied.sound->path() == path; });
    if (found == m_readied.end()) return open(path);
    std::unique_ptr<SoundStream> sound = std::move(found->sound);
    m_readied.erase(found);
    // One that failed since it was readied (the server was lost, or the file was not there
    // yet) is opened again.
    if (sound->state() == SoundStream::State::Failed) return open(path);
    return sound;
}

void MultimediaPlugin::prepare(const QString& path) {
    std::unique_ptr<SoundStream> sound = take(path);
    m_readied.push_back({std::move(sound), {}});
    m_readied.back().askedFor.start();
    while (m_readied.size() > kKeptSounds) m_readied.erase(m_readied.begin());
}

std::unique_ptr<SoundStream> MultimediaPlugin::opened(std::unique_ptr<SoundStream> sound) {
    waitUntil(kOpenBoundMs, [&] { return !isOpening(*sound); });
    if (isOpening(*sound) || sound->failure() == SoundStream::Failure::CannotOpen) return nullptr;
    return sound;
}

std::unique_ptr<SoundStream> MultimediaPlugin::started(std::unique_ptr<SoundStream> sound) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        // Readied before the server was lost: once more, on a new connection.
        if (attempt > 0 || sound->state() == SoundStream::State::Failed) {
            sound = opened(open(sound->path()));
            if (!sound) return nullptr;
        }
        sound->play();
        waitUntil(kStartBoundMs, [&] { return !isStarting(*sound); });
        if (sound->state() != SoundStream::State::Failed) return sound;
    }
    return nullptr;
}

int64_t MultimediaPlugin::playWave(const QString& path) {
    // The wave before goes silent, unless all it has left is its last moment in the server.
    if (m_wave && m_wave->state() == SoundStream::State::Ending &&
        m_wave->unplayedMs() <= kLastMomentMs)
        m_waveEnding = std::move(m_wave);
    else
        m_wave.reset();

    const uint32_t stops = m_waveStops;
    std::unique_ptr<SoundStream> wave = opened(take(path));
    if (wave) wave = started(std::move(wave));
    if (!wave) return -1;
    const int64_t length = wave->lengthMs();
    // Silenced while the server took it (a click, say): started, and stopped at once.
    if (m_waveStops == stops) m_wave = std::move(wave);
    return length;
}

void MultimediaPlugin::stopWave() {
    ++m_waveStops;
    m_wave.reset();
    m_waveEnding.reset();
}

bool MultimediaPlugin::openMedia(const QString& path) {
    closeMedia();
    m_media = opened(take(path));
    return m_media != nullptr;
}

int64_t MultimediaPlugin::mediaLength() { return m_media ? m_media->lengthMs() : -1; }

bool MultimediaPlugin::playMedia() {
    if (!m_media) return false;
    m_media = started(std::move(m_media));
    return m_media != nullptr;
}

int64_t MultimediaPlugin::mediaPosition() {
    if (!m_media) return -1;
    const int64_t length = m_media->lengthMs();
    switch (m_media->state()) {
        case SoundStream::State::Failed:
            return -1;
        case SoundStream::State::Ended:
            return length;
        default:
            return std::clamp<int64_t>(m_media->playingMs(), 0,
                                       std::max<int64_t>(0, length - kShortOfEndMs));
    }
}

void MultimediaPlugin::closeMedia() { m_media.reset(); }

bool MultimediaPlugin::isIdle() const {
    return m_readied.empty() && m_media == nullptr && isOver(m_wave.get()) &&
           isOver(m_waveEnding.get());
}

void MultimediaPlugin::tidy() {
    std::erase_if(m_readied, [](const Readied& readied) {
        return readied.askedFor.hasExpired(kKeptReadiedMs);
    });
    if (!isIdle()) {
        m_idleSince.invalidate();
        return;
    }
    if (!m_idleSince.isValid()) m_idleSince.start();
    if (!m_idleSince.hasExpired(kIdleConnectionMs)) return;
    m_wave.reset();
    m_waveEnding.reset();
    m_connection.reset();
    m_tidying.stop();
}

void MultimediaPlugin::release() {
    stopWave();
    closeMedia();
    m_readied.clear();
    m_tidying.stop();
    SoundStream::waitForAllEnded(kReleaseBoundMs);
    m_connection.reset();
}
