#include "SoundStream.h"

#include <pulse/simple.h>

#include <QCoreApplication>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

#include "PcmQueue.h"

namespace {

// What the server holds ahead of what it plays: enough to ride out a late wakeup of the thread,
// little enough to start at once and to end at once when silenced.
constexpr pa_usec_t kServerBufferUs = 100'000;
// Handed over at a time; a silenced stream ends within about this much.
constexpr pa_usec_t kWriteUs = 20'000;
// How long a wait for samples lasts before the stream looks whether it has been silenced.
constexpr std::chrono::milliseconds kSilenceCheck{20};

int64_t steadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The threads still running, so that the program can let them end before it does. Never
// destroyed: a thread that a server holds without answering may outlast the program's end.
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
    SampleLayout layout;
    std::shared_ptr<PcmQueue> samples;
    QByteArray programName;
    QByteArray name;
    std::atomic<State> state{State::Connecting};
    std::atomic<int64_t> playingSinceMs{0};

    std::mutex mutex;
    std::condition_variable told;
    bool toPlay = false;
    bool silenced = false;

    bool isSilenced() {
        const std::lock_guard lock(mutex);
        return silenced;
    }
};

SoundStream::SoundStream(const SampleLayout& layout, std::shared_ptr<PcmQueue> samples,
                         const QByteArray& name)
    : m_shared(std::make_shared<Shared>()) {
    m_shared->layout = layout;
    m_shared->samples = std::move(samples);
    m_shared->programName = QCoreApplication::applicationName().toUtf8();
    m_shared->name = name;
    {
        const std::lock_guard lock(running().mutex);
        ++running().count;
    }
    std::thread(run, m_shared).detach();
}

SoundStream::~SoundStream() {
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->silenced = true;
    }
    m_shared->told.notify_all();
}

void SoundStream::play() {
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->toPlay = true;
    }
    m_shared->told.notify_all();
}

SoundStream::State SoundStream::state() const { return m_shared->state; }

int64_t SoundStream::playingMs() const {
    const int64_t since = m_shared->playingSinceMs;
    return since == 0 ? 0 : steadyMs() - since;
}

bool SoundStream::waitForAllEnded(int timeoutMs) {
    std::unique_lock lock(running().mutex);
    return running().changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                      [] { return running().count == 0; });
}

void SoundStream::run(const std::shared_ptr<Shared>& shared) {
    pa_buffer_attr buffer;
    buffer.maxlength = static_cast<uint32_t>(-1);
    buffer.tlength = static_cast<uint32_t>(shared->layout.bytesOf(kServerBufferUs));
    buffer.prebuf = static_cast<uint32_t>(-1);
    buffer.minreq = static_cast<uint32_t>(-1);
    buffer.fragsize = static_cast<uint32_t>(-1);
    const auto format = shared->layout.forServer();
    int error = 0;
    pa_simple* server =
        pa_simple_new(nullptr, shared->programName.constData(), PA_STREAM_PLAYBACK, nullptr,
                      shared->name.constData(), &format, nullptr, &buffer, &error);
    if (server == nullptr) {
        shared->state = State::Failed;
    } else {
        shared->state = State::Ready;
        {
            std::unique_lock lock(shared->mutex);
            shared->told.wait(lock, [&] { return shared->toPlay || shared->silenced; });
        }
        // A server gone while the stream waited is noticed now, before anything is taken.
        if (!shared->isSilenced() && pa_simple_get_latency(server, &error) == pa_usec_t(-1)) {
            shared->state = State::Failed;
        } else {
            shared->playingSinceMs = steadyMs();
            shared->state = State::Playing;
        }
        // Whole frames: the queue holds whole frames, so every piece taken is whole too.
        const size_t piece = shared->layout.bytesOf(kWriteUs);
        while (shared->state == State::Playing) {
            const std::optional<QByteArray> bytes =
                shared->samples->take(static_cast<qsizetype>(piece), kSilenceCheck);
            if (shared->isSilenced()) break;
            if (!bytes) continue;  // the samples are late: the server plays silence meanwhile
            if (bytes->isEmpty()) {
                shared->state = State::Ending;
                shared->state = pa_simple_drain(server, &error) < 0 ? State::Failed : State::Ended;
            } else if (pa_simple_write(server, bytes->constData(),
                                       static_cast<size_t>(bytes->size()), &error) < 0) {
                shared->state = State::Failed;
            }
        }
        // Whatever the server still holds of a silenced stream goes with it.
        pa_simple_free(server);
    }
    {
        const std::lock_guard lock(running().mutex);
        --running().count;
    }
    running().changed.notify_all();
}
