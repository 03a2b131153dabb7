#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

#include "platform/MultimediaBackend.h"

class QMediaPlayer;
class QSoundEffect;

// The multimedia module's one object: wave sounds on QSoundEffect, media files on QMediaPlayer.
class MultimediaPlugin final : public QObject, public MultimediaBackend {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QuillonMultimediaBackend_iid)
    Q_INTERFACES(MultimediaBackend)
public:
    ~MultimediaPlugin() override;

    void prepareWave(const QString& path) override;
    bool playWave(const QString& path) override;
    void stopWave() override;

    void prepareMedia(const QString& path) override;
    bool openMedia(const QString& path) override;
    int64_t mediaLength() override;
    bool playMedia() override;
    int64_t mediaPosition() override;
    void closeMedia() override;

    void release() override;

private:
    QSoundEffect* takePreparedWave(const QString& path);
    QSoundEffect* newWave(const QString& path);
    QMediaPlayer* takePreparedMedia(const QString& path);
    QMediaPlayer* newPlayer(const QString& path);
    static bool failed(const QMediaPlayer* player);

    // Wave sounds loaded ahead and not played yet, each named by its path, the last prepared last.
    QList<QSoundEffect*> m_preparedWaves;
    QPointer<QSoundEffect> m_wave;  // the one started last, until stopped
    // Media files opened ahead and not played yet, each named by its path, the last prepared last.
    QList<QMediaPlayer*> m_preparedMedia;
    QPointer<QMediaPlayer> m_player;
};
