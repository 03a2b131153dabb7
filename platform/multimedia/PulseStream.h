#pragma once

#include <QByteArray>
#include <atomic>
#include <memory>

#include "SampleLayout.h"

struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;

// One playback stream to the sound server. Every call but abandon() waits for the server; a
// server that has gone makes them fail rather than wait.
//
// The server holds up to a second ahead of what it plays, so a clock or a server that gets no
// processor for a while is not heard as a gap; it asks for more in small pieces, so its output
// runs with a short latency and a sound starts at once. A stream that is let go takes what the
// server holds with it.
class PulseStream {
public:
    static std::unique_ptr<PulseStream> connect(const QByteArray& programName,
                                                const QByteArray& streamName,
                                                const SampleLayout& layout);
    ~PulseStream();

    PulseStream(const PulseStream&) = delete;
    PulseStream& operator=(const PulseStream&) = delete;

    // False once the server has gone or refused the stream.
    bool isConnected();
    // Waits for room in the server for all of it.
    bool write(const char* data, size_t bytes);
    // Waits until the server has played all it holds.
    bool drain();
    // From any thread: a wait in write() or drain() gives up at once, and every later one too.
    void abandon();

private:
    PulseStream() = default;
    bool isGood();
    bool waitUntil(const auto& done);

    pa_threaded_mainloop* m_loop = nullptr;
    pa_context* m_context = nullptr;
    pa_stream* m_stream = nullptr;
    std::atomic<bool> m_abandoned{false};
};
