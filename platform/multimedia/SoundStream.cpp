#include "SoundStream.h"

#include <pulse/context.h>
#include <pulse/proplist.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>

#include <QFileInfo>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "PulseConnection.h"
#include "SoundFile.h"

namespace {

// What the server may hold ahead of what it plays: a clock or a server that gets no processor
// for a while is not heard as a gap.
constexpr pa_usec_t kHeldUs = 1'000'000;
// What it asks for at a time, and so the latency its output runs at while this plays: short
// enough for a sound to start on its second.
constexpr pa_usec_t kAskedUs = 50'000;
// What it waits for before it plays, at the start and after running short.
constexpr pa_usec_t kStartUs = 50'000;
// Read from the file at a time.
constexpr pa_usec_t kPieceUs = 100'000;
// What the mixer files the sound under: an alarm is not one of the desktop's event sounds,
// which a switch may silence.
constexpr char kMediaRole[] = "alarm";

int64_t steadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

uint32_t bytesOf(const pa_sample_spec& format, pa_usec_t us) {
    return static_cast<uint32_t>(pa_usec_to_bytes(us, &format));
}

// The threads still running, so that the program can let them end before it does. Never
// destroyed: a thread held by a file that does not answer may outlast the program's end.
struct Running {
    std::mutex mutex;
    std::condition_variable changed;
    int count = 0;
};
Running& running() {
    static auto* threads = new Running;
    return *threads;
}

}  // namespace

struct SoundStream::Shared {
    QString path;
    std::atomic<bool> silenced{false};
    std::atomic<State> state{State::Opening};
    std::atomic<Failure> failure{Failure::None};
    std::atomic<int64_t> lengthMs{-1};
    std::atomic<int64_t> playingSinceMs{0};
    std::atomic<int64_t> handedMs{0};

    std::mutex mutex;
    std::condition_variable told;
    bool toPlay = false;
    // Until the thread ends, so that the stream can wake it; then the thread lets go of it.
    std::shared_ptr<PulseConnection> connection;

    void fail(Failure why) {
        failure = why;
        state = State::Failed;
    }
};

SoundStream::SoundStream(const QString& path, std::shared_ptr<PulseConnection> connection)
    : m_shared(std::make_shared<Shared>()) {
    m_shared->path = path;
    m_shared->connection = std::move(connection);
    {
        const std::lock_guard lock(running().mutex);
        ++running().count;
    }
    std::thread(run, m_shared).detach();
}

SoundStream::~SoundStream() {
    std::shared_ptr<PulseConnection> connection;
    {
        // Under the lock, so that a thread about to wait cannot miss the word.
        const std::lock_guard lock(m_shared->mutex);
        m_shared->silenced = true;
        connection = m_shared->connection;
    }
    m_shared->told.notify_all();
    if (connection) connection->wakeAll();
}

const QString& SoundStream::path() const { return m_shared->path; }

void SoundStream::play() {
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->toPlay = true;
    }
    m_shared->told.notify_all();
}

SoundStream::State SoundStream::state() const { return m_shared->state; }
SoundStream::Failure SoundStream::failure() const { return m_shared->failure; }
int64_t SoundStream::lengthMs() const { return m_shared->lengthMs; }

int64_t SoundStream::playingMs() const {
    const int64_t since = m_shared->playingSinceMs;
    return since == 0 ? 0 : steadyMs() - since;
}

int64_t SoundStream::unplayedMs() const {
    const int64_t since = m_shared->playingSinceMs;
    if (since == 0) return 0;
    return std::max<int64_t>(0, m_shared->handedMs - (steadyMs() - since));
}

bool SoundStream::waitForAllEnded(int timeoutMs) {
    std::unique_lock lock(running().mutex);
    return running().changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                      [] { return running().count == 0; });
}

namespace {

// A playback stream on the shared connection, made when the sound starts so that a sound
// readied ahead asks nothing of the server's output. Every wait gives up once `silenced` is set.
class Playback {
public:
    Playback(PulseConnection& connection, const std::atomic<bool>& silenced)
        : m_connection(connection), m_silenced(silenced) {}

    ~Playback() {
        if (m_stream == nullptr) return;
        const PulseConnection::Lock locked(m_connection);
        // Whatever the server still holds of a silenced stream goes with it.
        pa_stream_set_state_callback(m_stream, nullptr, nullptr);
        pa_stream_set_write_callback(m_stream, nullptr, nullptr);
        pa_stream_disconnect(m_stream);
        pa_stream_unref(m_stream);
    }

    bool connect(const SoundFile& file, const QString& path) {
        const PulseConnection::Lock locked(m_connection);
        pa_proplist* names = pa_proplist_new();
        pa_proplist_sets(names, PA_PROP_MEDIA_NAME,
                         QFileInfo(path).fileName().toUtf8().constData());
        pa_proplist_sets(names, PA_PROP_MEDIA_ROLE, kMediaRole);
        const pa_sample_spec format = file.sampleSpec();
        m_stream = pa_stream_new_with_proplist(m_connection.context(), nullptr, &format,
                                               &file.channelMap(), names);
        pa_proplist_free(names);
        if (m_stream == nullptr) return false;
        const auto wake = [](pa_stream*, void* loop) {
            pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop*>(loop), 0);
        };
        pa_stream_set_state_callback(m_stream, wake, m_connection.loop());
        pa_stream_set_write_callback(
            m_stream,
            [](pa_stream*, size_t, void* loop) {
                pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop*>(loop), 0);
            },
            m_connection.loop());
        pa_buffer_attr buffer;
        buffer.maxlength = static_cast<uint32_t>(-1);
        buffer.tlength = bytesOf(format, kHeldUs);
        buffer.prebuf = bytesOf(format, kStartUs);
        buffer.minreq = bytesOf(format, kAskedUs);
        buffer.fragsize = static_cast<uint32_t>(-1);
        // Early requests: the output's latency follows the small requests, not the deep buffer.
        // Corked until the buffer is full: a server that starts on its first piece would run
        // short before the second came, and be heard with a gap.
        if (pa_stream_connect_playback(
                m_stream, nullptr, &buffer,
                static_cast<pa_stream_flags_t>(PA_STREAM_EARLY_REQUESTS | PA_STREAM_START_CORKED),
                nullptr, nullptr) < 0)
            return false;
        return waitUntil([&] { return pa_stream_get_state(m_stream) == PA_STREAM_READY; });
    }

    // Bytes the server has room for; 0 when it cannot take any more. Waits for some, unless
    // the stream is still corked: then a full buffer is the time to start.
    size_t room() {
        const PulseConnection::Lock locked(m_connection);
        size_t room = 0;
        const bool good = waitUntil([&] {
            room = pa_stream_writable_size(m_stream);
            return m_corked || room > 0;
        });
        return !good || room == static_cast<size_t>(-1) ? 0 : room;
    }

    bool isCorked() const { return m_corked; }

    bool uncork() {
        const PulseConnection::Lock locked(m_connection);
        m_corked = false;
        pa_operation* operation = pa_stream_cork(m_stream, 0, nullptr, nullptr);
        if (operation == nullptr) return false;
        pa_operation_unref(operation);
        return true;
    }

    bool write(const void* data, size_t bytes) {
        const PulseConnection::Lock locked(m_connection);
        return isGood() &&
               pa_stream_write(m_stream, data, bytes, nullptr, 0, PA_SEEK_RELATIVE) == 0;
    }

    // Waits until the server has played all it holds.
    bool drain() {
        const PulseConnection::Lock locked(m_connection);
        struct Drained {
            pa_threaded_mainloop* loop;
            bool done = false;
            bool succeeded = false;
        } drained{m_connection.loop()};
        pa_operation* operation = pa_stream_drain(
            m_stream,
            [](pa_stream*, int success, void* data) {
                auto* drained = static_cast<Drained*>(data);
                drained->done = true;
                drained->succeeded = success != 0;
                pa_threaded_mainloop_signal(drained->loop, 0);
            },
            &drained);
        if (operation == nullptr) return false;
        const bool done = waitUntil([&] { return drained.done; });
        // Not waited for to the end: the callback must not reach what is gone by then.
        if (!done) pa_operation_cancel(operation);
        pa_operation_unref(operation);
        return done && drained.succeeded;
    }

private:
    bool isGood() const {
        return !m_connection.failed() &&
               PA_CONTEXT_IS_GOOD(pa_context_get_state(m_connection.context())) &&
               PA_STREAM_IS_GOOD(pa_stream_get_state(m_stream));
    }

    bool waitUntil(const auto& done) {
        for (;;) {
            if (m_silenced || !isGood()) return false;
            if (done()) return true;
            m_connection.waitForEvent();
        }
    }

    PulseConnection& m_connection;
    const std::atomic<bool>& m_silenced;
    pa_stream* m_stream = nullptr;
    bool m_corked = true;
};

// Plays the file from where it stands to its end, a piece at a time as the server makes room;
// false when the server failed it or it was silenced.
bool playToEnd(SoundFile& file, PulseConnection& connection, const QString& path,
               std::atomic<SoundStream::State>& state, std::atomic<int64_t>& playingSinceMs,
               std::atomic<int64_t>& handedMs, const std::atomic<bool>& silenced) {
    using State = SoundStream::State;
    Playback playback(connection, silenced);
    if (!playback.connect(file, path)) return false;
    const auto start = [&] {
        if (!playback.uncork()) return false;
        playingSinceMs = steadyMs();
        state = State::Playing;
        return true;
    };
    const pa_sample_spec format = file.sampleSpec();
    const size_t frameBytes = file.frameBytes();
    const auto pieceFrames = std::max<int64_t>(
        1, static_cast<int64_t>(pa_usec_to_bytes(kPieceUs, &format) / frameBytes));
    std::vector<float> piece(static_cast<size_t>(pieceFrames) * format.channels);
    int64_t handedFrames = 0;
    for (;;) {
        const size_t room = playback.room();
        if (room == 0 && playback.isCorked()) {
            if (!start()) break;
            continue;
        }
        if (room == 0) break;
        const int64_t wanted =
            std::clamp<int64_t>(static_cast<int64_t>(room / frameBytes), 1, pieceFrames);
        // Read without the connection's lock: the server's replies go on meanwhile.
        const int64_t frames = file.read(piece.data(), wanted);
        if (frames == 0) {
            if (playback.isCorked() && !start()) break;
            state = State::Ending;
            if (!playback.drain()) return false;
            state = State::Ended;
            return true;
        }
        if (!playback.write(piece.data(), static_cast<size_t>(frames) * frameBytes)) break;
        handedFrames += frames;
        handedMs = handedFrames * 1000 / format.rate;
    }
    return false;
}

}  // namespace

void SoundStream::run(const std::shared_ptr<Shared>& shared) {
    std::shared_ptr<PulseConnection> connection;
    {
        const std::lock_guard lock(shared->mutex);
        connection = shared->connection;
    }
    const std::unique_ptr<SoundFile> file = SoundFile::open(shared->path);
    if (file == nullptr) {
        shared->fail(Failure::CannotOpen);
    } else {
        shared->lengthMs = file->lengthMs();
        shared->state = State::Opened;
        bool toPlay = false;
        if (connection->waitReady(shared->silenced)) {
            std::unique_lock lock(shared->mutex);
            shared->told.wait(lock, [&] { return shared->toPlay || shared->silenced; });
            toPlay = !shared->silenced;
        } else if (!shared->silenced) {
            shared->fail(Failure::Server);
        }
        if (toPlay && !playToEnd(*file, *connection, shared->path, shared->state,
                                 shared->playingSinceMs, shared->handedMs, shared->silenced))
            shared->fail(Failure::Server);
    }
    // The connection lives on for the other streams; the last one out closes it.
    {
        const std::lock_guard lock(shared->mutex);
        shared->connection.reset();
    }
    connection.reset();
    {
        const std::lock_guard lock(running().mutex);
        --running().count;
    }
    running().changed.notify_all();
}
