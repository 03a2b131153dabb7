#pragma once

#include <QString>
#include <QtPlugin>
#include <cstdint>

// What the separately loaded multimedia module offers. It is kept out of the program itself so
// that a clock which never sounds does not carry the media libraries.
class MultimediaBackend {
public:
    virtual ~MultimediaBackend() = default;

    // Reads a wave file ahead, so that playing it later only has to start it. Plays nothing.
    virtual void prepareWave(const QString& path) = 0;
    // Starts a wave file from its beginning, cutting off the wave sound before it; false when
    // the file cannot be played or the sound server does not take it.
    virtual bool playWave(const QString& path) = 0;
    virtual void stopWave() = 0;

    // Starts decoding a media file, so that opening and playing it later only has to start it.
    // Plays nothing.
    virtual void prepareMedia(const QString& path) = 0;
    // One media file at a time. Opening waits, processing events, until the file is loaded or
    // has failed to load, at most a few seconds.
    virtual bool openMedia(const QString& path) = 0;
    // Milliseconds; waits a bounded time for the length to become known; -1 on failure.
    virtual int64_t mediaLength() = 0;
    // False when the sound server does not take the media.
    virtual bool playMedia() = 0;
    // Milliseconds; the length once the media has been heard to its end; -1 when decoding has
    // failed or the sound server has gone.
    virtual int64_t mediaPosition() = 0;
    virtual void closeMedia() = 0;

    // Silences and frees everything, the prepared sounds included.
    virtual void release() = 0;
};

#define QuillonMultimediaBackend_iid "org.quillon.MultimediaBackend/2"
Q_DECLARE_INTERFACE(MultimediaBackend, QuillonMultimediaBackend_iid)
