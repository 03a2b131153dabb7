#include "SoundStream.h"

#include <QCoreApplication>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

#include "PcmQueue.h"
#include "PulseStream.h"

namespace {

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
    std::atomic<qint64> handedBytes{0};

    std::mutex mutex;
    std::condition_variable told;
    bool toPlay = false;
    bool silenced = false;
    std::shared_ptr<PulseStream> server;  // while connected and not silenced

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
    std::shared_ptr<PulseStream> server;
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->silenced = true;
        server = m_shared->server;
    }
    m_shared->told.notify_all();
    if (server) server->abandon();
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

int64_t SoundStream::unplayedMs() const {
    const int64_t since = m_shared->playingSinceMs;
    if (since == 0) return 0;
    const int64_t handedMs = m_shared->layout.msOf(m_shared->handedBytes);
    return std::max<int64_t>(0, handedMs - (steadyMs() - since));
}

bool SoundStream::waitForAllEnded(int timeoutMs) {
    std::unique_lock lock(running().mutex);
    return running().changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                      [] { return running().count == 0; });
}

void SoundStream::run(const std::shared_ptr<Shared>& shared) {
    std::shared_ptr<PulseStream> server =
        PulseStream::connect(shared->programName, shared->name, shared->layout);
    if (server == nullptr) {
        shared->state = State::Failed;
    } else {
        shared->state = State::Ready;
        {
            std::unique_lock lock(shared->mutex);
            // Silenced from now on, it is let go at once, even while it waits for the server.
            if (!shared->silenced) shared->server = server;
            shared->told.wait(lock, [&] { return shared->toPlay || shared->silenced; });
        }
        // A server gone while the stream waited is noticed now, before anything is taken.
        if (!shared->isSilenced() && !server->isConnected()) {
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
                shared->state = server->drain() ? State::Ended : State::Failed;
            } else if (server->write(bytes->constData(), static_cast<size_t>(bytes->size()))) {
                shared->handedBytes += bytes->size();
            } else {
                shared->state = State::Failed;
            }
        }
        {
            const std::lock_guard lock(shared->mutex);
            shared->server.reset();
        }
        // Whatever the server still holds of a silenced stream goes with it.
        server.reset();
    }
    {
        const std::lock_guard lock(running().mutex);
        --running().count;
    }
    running().changed.notify_all();
}
