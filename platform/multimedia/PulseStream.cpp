#include "PulseStream.h"

#include <pulse/context.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>

#include <algorithm>

namespace {

// What the server may hold ahead of what it plays.
constexpr pa_usec_t kHeldUs = 1'000'000;
// What it asks for at a time, and so about the latency of its output.
constexpr pa_usec_t kAskedUs = 20'000;
// What it waits for before it plays, at the start and after running short.
constexpr pa_usec_t kStartUs = 40'000;

void wakeWaiter(void* loop) {
    pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop*>(loop), 0);
}

// Releases the library's lock on every way out of a call.
class Locked {
public:
    explicit Locked(pa_threaded_mainloop* loop) : m_loop(loop) {
        pa_threaded_mainloop_lock(m_loop);
    }
    ~Locked() { pa_threaded_mainloop_unlock(m_loop); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

private:
    pa_threaded_mainloop* m_loop;
};

}  // namespace

std::unique_ptr<PulseStream> PulseStream::connect(const QByteArray& programName,
                                                  const QByteArray& streamName,
                                                  const SampleLayout& layout) {
    std::unique_ptr<PulseStream> stream(new PulseStream);
    stream->m_loop = pa_threaded_mainloop_new();
    if (stream->m_loop == nullptr) return nullptr;
    stream->m_context =
        pa_context_new(pa_threaded_mainloop_get_api(stream->m_loop), programName.constData());
    if (stream->m_context == nullptr) return nullptr;
    pa_context_set_state_callback(
        stream->m_context, [](pa_context*, void* loop) { wakeWaiter(loop); }, stream->m_loop);
    if (pa_context_connect(stream->m_context, nullptr, PA_CONTEXT_NOFLAGS, nullptr) < 0)
        return nullptr;

    const Locked locked(stream->m_loop);
    if (pa_threaded_mainloop_start(stream->m_loop) < 0) return nullptr;
    while (stream->isGood() && pa_context_get_state(stream->m_context) != PA_CONTEXT_READY)
        pa_threaded_mainloop_wait(stream->m_loop);
    if (!stream->isGood()) return nullptr;

    const pa_sample_spec format = layout.forServer();
    stream->m_stream = pa_stream_new(stream->m_context, streamName.constData(), &format, nullptr);
    if (stream->m_stream == nullptr) return nullptr;
    pa_stream_set_state_callback(
        stream->m_stream, [](pa_stream*, void* loop) { wakeWaiter(loop); }, stream->m_loop);
    pa_stream_set_write_callback(
        stream->m_stream, [](pa_stream*, size_t, void* loop) { wakeWaiter(loop); }, stream->m_loop);
    pa_buffer_attr buffer;
    buffer.maxlength = static_cast<uint32_t>(-1);
    buffer.tlength = static_cast<uint32_t>(layout.bytesOf(kHeldUs));
    buffer.prebuf = static_cast<uint32_t>(layout.bytesOf(kStartUs));
    buffer.minreq = static_cast<uint32_t>(layout.bytesOf(kAskedUs));
    buffer.fragsize = static_cast<uint32_t>(-1);
    // Early requests: the output's latency follows the small requests, not the deep buffer.
    if (pa_stream_connect_playback(stream->m_stream, nullptr, &buffer, PA_STREAM_EARLY_REQUESTS,
                                   nullptr, nullptr) < 0)
        return nullptr;
    while (stream->isGood() && pa_stream_get_state(stream->m_stream) != PA_STREAM_READY)
        pa_threaded_mainloop_wait(stream->m_loop);
    if (!stream->isGood()) return nullptr;
    return stream;
}

PulseStream::~PulseStream() {
    if (m_loop != nullptr) pa_threaded_mainloop_stop(m_loop);
    if (m_stream != nullptr) pa_stream_unref(m_stream);
    if (m_context != nullptr) {
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
    }
    if (m_loop != nullptr) pa_threaded_mainloop_free(m_loop);
}

bool PulseStream::isGood() {
    return PA_CONTEXT_IS_GOOD(pa_context_get_state(m_context)) &&
           (m_stream == nullptr || PA_STREAM_IS_GOOD(pa_stream_get_state(m_stream)));
}

bool PulseStream::waitUntil(const auto& done) {
    for (;;) {
        if (m_abandoned || !isGood()) return false;
        if (done()) return true;
        pa_threaded_mainloop_wait(m_loop);
    }
}

bool PulseStream::isConnected() {
    const Locked locked(m_loop);
    return isGood() && pa_stream_get_state(m_stream) == PA_STREAM_READY;
}

bool PulseStream::write(const char* data, size_t bytes) {
    const Locked locked(m_loop);
    while (bytes > 0) {
        size_t room = 0;
        if (!waitUntil([&] { return (room = pa_stream_writable_size(m_stream)) > 0; }))
            return false;
        if (room == static_cast<size_t>(-1)) return false;
        const size_t piece = std::min(room, bytes);
        if (pa_stream_write(m_stream, data, piece, nullptr, 0, PA_SEEK_RELATIVE) < 0) return false;
        data += piece;
        bytes -= piece;
    }
    return true;
}

bool PulseStream::drain() {
    const Locked locked(m_loop);
    struct Drained {
        pa_threaded_mainloop* loop;
        bool done = false;
        bool succeeded = false;
    } drained{m_loop};
    pa_operation* operation = pa_stream_drain(
        m_stream,
        [](pa_stream*, int success, void* data) {
            auto* drained = static_cast<Drained*>(data);
            drained->done = true;
            drained->succeeded = success != 0;
            wakeWaiter(drained->loop);
        },
        &drained);
    if (operation == nullptr) return false;
    const bool done = waitUntil([&] { return drained.done; });
    // Not waited for to the end: the callback must not reach what is gone by then.
    if (!done) pa_operation_cancel(operation);
    pa_operation_unref(operation);
    return done && drained.succeeded;
}

void PulseStream::abandon() {
    m_abandoned = true;
    const Locked locked(m_loop);
    pa_threaded_mainloop_signal(m_loop, 0);
}
