#pragma once

#include <QByteArray>
#include <memory>

#include "SampleLayout.h"

class PcmQueue;

// Plays samples from a queue to the sound server, on a thread of its own: the clock never
// waits for the server, which may be missing, slow or gone in the middle of a play. A stream
// connects as soon as it is made and then waits, writing nothing, until it is told to play, so
// a sound readied ahead starts at once; nothing counts the wait, as no clock runs before the
// first sample. It is closed only once the server has played its last sample, so the end is
// heard.
class SoundStream {
public:
    enum class State { Connecting, Ready, Playing, Ending, Ended, Failed };

    SoundStream(const SampleLayout& layout, std::shared_ptr<PcmQueue> samples,
                const QByteArray& name);
    // Silences the stream; its thread ends by itself as soon as the server lets it.
    ~SoundStream();

    SoundStream(const SoundStream&) = delete;
    SoundStream& operator=(const SoundStream&) = delete;

    void play();
    State state() const;
    // Milliseconds since it started playing; 0 before.
    int64_t playingMs() const;
    // Milliseconds of what it has handed to the server that should not have been played yet;
    // a server that ran short plays it later still.
    int64_t unplayedMs() const;

    // Waits up to timeoutMs for the threads of all streams, silenced ones included, to end;
    // false if some are still held by the server.
    static bool waitForAllEnded(int timeoutMs);

private:
    struct Shared;
    static void run(const std::shared_ptr<Shared>& shared);

    std::shared_ptr<Shared> m_shared;
};
