#include "MultimediaPlugin.h"

#include <QAudioOutput>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMediaPlayer>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

namespace {

// How long opening a file or learning its length may take.
constexpr int kLoadBoundMs = 3000;
// Between two looks at the player while waiting; events are processed throughout.
constexpr int kWaitSliceMs = 10;

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

}  // namespace

MultimediaPlugin::~MultimediaPlugin() {
    stopWave();
    closeMedia();
}

bool MultimediaPlugin::playWave(const QString& path) {
    stopWave();
    // A fresh effect each time: one that has once failed plays nothing again.
    QSoundEffect* wave = new QSoundEffect(this);
    m_wave = wave;
    connect(wave, &QSoundEffect::statusChanged, wave, [wave] {
        if (wave->status() == QSoundEffect::Ready) wave->play();
    });
    wave->setSource(QUrl::fromLocalFile(path));
    if (wave->status() == QSoundEffect::Ready) wave->play();
    return wave->status() != QSoundEffect::Error;
}

void MultimediaPlugin::stopWave() {
    if (m_wave.isNull()) return;
    m_wave->stop();
    delete m_wave.data();
}

bool MultimediaPlugin::openMedia(const QString& path) {
    closeMedia();
    QMediaPlayer* player = new QMediaPlayer(this);
    m_player = player;
    player->setAudioOutput(new QAudioOutput(player));
    m_lengthKnown = false;
    connect(player, &QMediaPlayer::durationChanged, player,
            [this](qint64 duration) { m_lengthKnown = duration > 0; });
    player->setSource(QUrl::fromLocalFile(path));
    const bool settled = waitUntil([this] {
        if (m_player.isNull() || mediaFailed()) return true;
        const QMediaPlayer::MediaStatus status = m_player->mediaStatus();
        return status != QMediaPlayer::LoadingMedia && status != QMediaPlayer::NoMedia;
    });
    if (!settled || m_player.isNull() || mediaFailed()) {
        closeMedia();
        return false;
    }
    return true;
}

int64_t MultimediaPlugin::mediaLength() {
    // The length is often still 0 when the file reports itself loaded.
    waitUntil([this] { return m_player.isNull() || m_lengthKnown || mediaFailed(); });
    if (m_player.isNull() || mediaFailed()) return -1;
    return qMax<qint64>(0, m_player->duration());
}

bool MultimediaPlugin::playMedia() {
    if (m_player.isNull() || mediaFailed()) return false;
    m_player->play();
    return !mediaFailed();
}

int64_t MultimediaPlugin::mediaPosition() {
    if (m_player.isNull() || mediaFailed()) return -1;
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

bool MultimediaPlugin::mediaFailed() const {
    return m_player->error() != QMediaPlayer::NoError ||
           m_player->mediaStatus() == QMediaPlayer::InvalidMedia;
}
