#pragma once

#include <QObject>
#include <QPointer>

#include "platform/MultimediaBackend.h"

class QAudioOutput;
class QMediaPlayer;
class QSoundEffect;

// The multimedia module's one object: wave sounds on QSoundEffect, media files on QMediaPlayer.
class MultimediaPlugin final : public QObject, public MultimediaBackend {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QuillonMultimediaBackend_iid)
    Q_INTERFACES(MultimediaBackend)
public:
    ~MultimediaPlugin() override;

    bool playWave(const QString& path) override;
    void stopWave() override;

    bool openMedia(const QString& path) override;
    int64_t mediaLength() override;
    bool playMedia() override;
    int64_t mediaPosition() override;
    void closeMedia() override;

private:
    bool mediaFailed() const;

    QPointer<QSoundEffect> m_wave;
    QPointer<QMediaPlayer> m_player;
    bool m_lengthKnown = false;
};
