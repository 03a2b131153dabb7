#pragma once

#include <QString>
#include <QtPlugin>
#include <cstdint>

// What the separately loaded sound module offers. It is kept out of the program itself so that
// a clock which never sounds does not carry the sound libraries. No call waits for the sound
// server: files are read, and the server spoken to, on the sounds' own threads.
class MultimediaBackend {
public:
    virtual ~MultimediaBackend() = default;

    // Opens a sound file ahead and connects to the sound server, so that opening and playing
    // it later only has to start it. Plays nothing.
    virtual void prepare(const QString& path) = 0;

    // Starts a wave file from its beginning, cutting off the wave sound before it. Its length
    // in milliseconds; -1 when the file cannot be played or the sound server does not take it.
    virtual int64_t playWave(const QString& path) = 0;
    virtual void stopWave() = 0;

    // One media file at a time. Opening waits, processing events, until the file's header has
    // been read, at most a few seconds.
    virtual bool openMedia(const QString& path) = 0;
    // Milliseconds, exact; -1 on failure.
    virtual int64_t mediaLength() = 0;
    // False when the sound server does not take the media.
    virtual bool playMedia() = 0;
    // Milliseconds; the length once the media has been heard to its end; -1 when reading has
    // failed or the sound server has gone.
    virtual int64_t mediaPosition() = 0;
    virtual void closeMedia() = 0;

    // Silences and frees everything, the prepared sounds included, and lets go of the server.
    virtual void release() = 0;
};

#define QuillonMultimediaBackend_iid "org.quillon.MultimediaBackend/3"
Q_DECLARE_INTERFACE(MultimediaBackend, QuillonMultimediaBackend_iid)
