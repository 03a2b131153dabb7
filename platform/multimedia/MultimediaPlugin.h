#pragma once

#include <QObject>
#include <QTimer>
#include <memory>
#include <vector>

#include "platform/MultimediaBackend.h"

class DecodedMedia;
class SoundStream;

// The multimedia module's one object. Every sound is played by a sound stream of its own:
// wave files as they are, other media decoded by Qt's media backend. A sound readied ahead has
// its samples and its stream ready, so its play only has to start it.
class MultimediaPlugin final : public QObject, public MultimediaBackend {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QuillonMultimediaBackend_iid)
    Q_INTERFACES(MultimediaBackend)
public:
    MultimediaPlugin();
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
    struct Readied;
    // The sound readied for path, taken out of the list; a fresh one when there is none.
    static std::unique_ptr<Readied> take(std::vector<std::unique_ptr<Readied>>& readied,
                                         const QString& path);
    void keep(std::vector<std::unique_ptr<Readied>>& readied, std::unique_ptr<Readied> sound);
    // Lets go of readied sounds that nothing has asked for in a while (a click silenced the
    // countdown, or the settings named another sound): their streams keep the server awake.
    void dropStale();

    // Sounds readied ahead, the last readied last.
    std::vector<std::unique_ptr<Readied>> m_readiedWaves;
    std::vector<std::unique_ptr<Readied>> m_readiedMedia;
    QTimer m_staleCheck;

    std::unique_ptr<Readied> m_wave;  // the one started last, until stopped
    // The one before it, letting its last samples out rather than being cut off by the next.
    std::unique_ptr<Readied> m_waveEnding;
    uint32_t m_waveStops = 0;          // stopWave calls so far
    std::unique_ptr<Readied> m_media;  // the open media file
};
