#include "MultimediaPlugin.h"

#include <QAudioOutput>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMediaPlayer>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <utility>

namespace {

// How long opening a file or learning its length may take.
constexpr int kLoadBoundMs = 3000;
// Between two looks at the player while waiting; events are processed throughout.
constexpr int kWaitSliceMs = 10;
// Sounds kept loaded: enough for the alarm's and the chime's.
constexpr qsizetype kKeptSounds = 2;

template <typename Done>
bool waitUntil(Done done) {
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.hasExpired(kLoadBoundMs)) return false;
        QTimer wake;
        wake.setSingleShot(true);
        wake.start(kWaitSliceMs);
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// Takes the sound readied for path out of the list; one that can no longer play is dropped.
template <typename Sound, typename CanPlay>
Sound* takePrepared(QList<Sound*>& prepared, const QString& path, CanPlay canPlay) {
    for (qsizetype i = 0; i < prepared.size(); ++i) {
        if (prepared[i]->objectName() != path) continue;
        Sound* sound = prepared.takeAt(i);
        if (canPlay(sound)) return sound;
        delete sound;
        return nullptr;
    }
    return nullptr;
}

// Keeps the sound as the one readied last, dropping the oldest beyond those kept.
template <typename Sound>
void keepPrepared(QList<Sound*>& prepared, Sound* sound) {
    prepared.append(sound);
    while (prepared.size() > kKeptSounds) delete prepared.takeFirst();
}

}  // namespace

MultimediaPlugin::~MultimediaPlugin() { release(); }

QSoundEffect* MultimediaPlugin::takePreparedWave(const QString& path) {
    // One that has failed plays nothing, ever.
    return takePrepared(m_preparedWaves, path, [](const QSoundEffect* wave) {
        return wave->status() != QSoundEffect::Error;
    });
}

QSoundEffect* MultimediaPlugin::newWave(const QString& path) {
    QSoundEffect* wave = new QSoundEffect(this);
    wave->setObjectName(path);
    wave->setSource(QUrl::fromLocalFile(path));
    return wave;
}

void MultimediaPlugin::prepareWave(const QString& path) {
    QSoundEffect* wave = takePreparedWave(path);
    keepPrepared(m_preparedWaves, wave != nullptr ? wave : newWave(path));
}

bool MultimediaPlugin::playWave(const QString& path) {
    stopWave();
    // Each play on an effect of its own: one played before does not always start again.
    QSoundEffect* prepared = takePreparedWave(path);
    QSoundEffect* wave = prepared != nullptr ? prepared : newWave(path);
    m_wave = wave;
    if (wave->status() == QSoundEffect::Ready) {
        wave->play();
    } else {
        // Not loaded ahead: it starts once loaded, unless stopped meanwhile.
        connect(wave, &QSoundEffect::statusChanged, wave, [wave] {
            if (wave->status() == QSoundEffect::Ready) wave->play();
        });
    }
    return wave->status() != QSoundEffect::Error;
}

void MultimediaPlugin::stopWave() {
    if (m_wave.isNull()) return;
    m_wave->stop();
    delete m_wave.data();
}

QMediaPlayer* MultimediaPlugin::newPlayer(const QString& path) {
    QMediaPlayer* player = new QMediaPlayer(this);
    player->setObjectName(path);
    player->setAudioOutput(new QAudioOutput(player));
    player->setSource(QUrl::fromLocalFile(path));
    return player;
}

QMediaPlayer* MultimediaPlugin::takePreparedMedia(const QString& path) {
    return takePrepared(m_preparedMedia, path,
                        [](const QMediaPlayer* player) { return !failed(player); });
}

void MultimediaPlugin::prepareMedia(const QString& path) {
    QMediaPlayer* player = takePreparedMedia(path);
    keepPrepared(m_preparedMedia, player != nullptr ? player : newPlayer(path));
}

bool MultimediaPlugin::openMedia(const QString& path) {
    closeMedia();
    QMediaPlayer* prepared = takePreparedMedia(path);
    m_player = prepared != nullptr ? prepared : newPlayer(path);
    const bool settled = waitUntil([this] {
        if (m_player.isNull() || failed(m_player)) return true;
        const QMediaPlayer::MediaStatus status = m_player->mediaStatus();
        return status != QMediaPlayer::LoadingMedia && status != QMediaPlayer::NoMedia;
    });
    if (!settled || m_player.isNull() || failed(m_player)) {
        closeMedia();
        return false;
    }
    return true;
}

int64_t MultimediaPlugin::mediaLength() {
    // The length is often still 0 when the file reports itself loaded.
    waitUntil([this] { return m_player.isNull() || m_player->duration() > 0 || failed(m_player); });
    if (m_player.isNull() || failed(m_player)) return -1;
    return qMax<qint64>(0, m_player->duration());
}

bool MultimediaPlugin::playMedia() {
    if (m_player.isNull() || failed(m_player)) return false;
    m_player->play();
    return !failed(m_player);
}

int64_t MultimediaPlugin::mediaPosition() {
    if (m_player.isNull() || failed(m_player)) return -1;
    // At its end the player rewinds; the position that counts is then the end.
    if (m_player->mediaStatus() == QMediaPlayer::EndOfMedia)
        return qMax<qint64>(0, m_player->duration());
    return qMax<qint64>(0, m_player->position());
}

void MultimediaPlugin::closeMedia() {
    if (m_player.isNull()) return;
    m_player->stop();
    delete m_player.data();
}

void MultimediaPlugin::release() {
    stopWave();
    closeMedia();
    qDeleteAll(std::exchange(m_preparedWaves, {}));
    qDeleteAll(std::exchange(m_preparedMedia, {}));
}

bool MultimediaPlugin::failed(const QMediaPlayer* player) {
    return player->error() != QMediaPlayer::NoError ||
           player->mediaStatus() == QMediaPlayer::InvalidMedia;
}
