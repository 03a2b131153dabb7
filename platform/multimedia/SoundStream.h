#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

class PulseConnection;

// One sound file played by a stream of its own, on a thread of its own: the file is read there
// a piece at a time, just ahead of what the server asks for, and only that thread ever waits on
// the server, which may be missing, stopped or gone in the middle of a play. As soon as it is
// made, it opens the file and connects to the server, then waits, holding nothing in the
// server, until it is told to play. It is closed only once the server has played its last
// sample, so the end is heard.
class SoundStream {
public:
    enum class State { Opening, Opened, Playing, Ending, Ended, Failed };
    enum class Failure { None, CannotOpen, Server };

    SoundStream(const QString& path, std::shared_ptr<PulseConnection> connection);
    // Silences the stream; its thread ends by itself as soon as the server lets it.
    ~SoundStream();

    SoundStream(const SoundStream&) = delete;
    SoundStream& operator=(const SoundStream&) = delete;

    const QString& path() const;
    void play();
    State state() const;
    Failure failure() const;
    // Milliseconds, exact, once opened; -1 before.
    int64_t lengthMs() const;
    // Milliseconds since the server started playing it; 0 before.
    int64_t playingMs() const;
    // Milliseconds of what it has handed to the server that should not have been played yet.
    int64_t unplayedMs() const;

    // Waits up to timeoutMs for the threads of all streams, silenced ones included, to end;
    // false if some are still held.
    static bool waitForAllEnded(int timeoutMs);

private:
    struct Shared;
    static void run(const std::shared_ptr<Shared>& shared);

    std::shared_ptr<Shared> m_shared;
};
