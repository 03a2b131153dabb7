#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <memory>
#include <vector>

#include "platform/MultimediaBackend.h"

class PulseConnection;
class SoundStream;

// The sound module's one object. Every sound is read and played by a sound stream of its own,
// all on one connection to the sound server that is made with the first sound and closed once
// nothing has sounded for a few seconds. A sound readied ahead has its file open and the
// connection made, so its play only has to start it.
class MultimediaPlugin final : public QObject, public MultimediaBackend {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QuillonMultimediaBackend_iid)
    Q_INTERFACES(MultimediaBackend)
public:
    MultimediaPlugin();
    ~MultimediaPlugin() override;

    void prepare(const QString& path) override;

    int64_t playWave(const QString& path) override;
    void stopWave() override;

    bool openMedia(const QString& path) override;
    int64_t mediaLength() override;
    bool playMedia() override;
    int64_t mediaPosition() override;
    void closeMedia() override;

    void release() override;

private:
    struct Readied {
        std::unique_ptr<SoundStream> sound;
        QElapsedTimer askedFor;
    };

    // A stream for the file: the one readied for it, else a new one.
    std::unique_ptr<SoundStream> take(const QString& path);
    std::unique_ptr<SoundStream> open(const QString& path);
    std::shared_ptr<PulseConnection> connection();
    // The sound once its file's header has been read; nullptr when it cannot be read.
    std::unique_ptr<SoundStream> opened(std::unique_ptr<SoundStream> sound);
    // The sound once the server has taken it, or has not answered for a while; nullptr when
    // the server refused it, even on a new connection.
    std::unique_ptr<SoundStream> started(std::unique_ptr<SoundStream> sound);
    // Lets go of readied sounds that nothing has asked for in a while (a click silenced the
    // countdown, or the settings named another sound), and of the connection once nothing
    // has sounded for a while.
    void tidy();
    bool isIdle() const;

    std::vector<Readied> m_readied;       // the last readied last
    std::unique_ptr<SoundStream> m_wave;  // the one started last, until stopped
    // The one before it, letting its last samples out rather than being cut off by the next.
    std::unique_ptr<SoundStream> m_waveEnding;
    uint32_t m_waveStops = 0;              // stopWave calls so far
    std::unique_ptr<SoundStream> m_media;  // the open media file
    std::shared_ptr<PulseConnection> m_connection;
    QTimer m_tidying;
    QElapsedTimer m_idleSince;
};
