#pragma once

#include <QByteArray>
#include <atomic>
#include <memory>
#include <mutex>

struct pa_context;
struct pa_threaded_mainloop;

// The program's one connection to the sound server: a client library thread and a context that
// every stream shares. Nothing connects until a sound's own thread first needs it, and only
// those threads ever wait on the server; the clock's thread only reads failed() and wakes
// waiters.
class PulseConnection {
public:
    struct Names {
        QByteArray application;  // what the mixer shows
        QByteArray id;           // the desktop entry's id
        QByteArray icon;         // the installed icon's name
    };

    explicit PulseConnection(Names names);
    // Stops the library's thread; never waits on the server.
    ~PulseConnection();

    PulseConnection(const PulseConnection&) = delete;
    PulseConnection& operator=(const PulseConnection&) = delete;

    // From a sound's thread: connects on first use and waits until the server is ready; false
    // once it has refused or gone, or when giveUp is set (see wakeAll).
    bool waitReady(const std::atomic<bool>& giveUp);
    // True once the server has refused the connection or gone: a new one is needed.
    bool failed() const { return m_failed; }

    // Held while calling the library; waitForEvent() inside releases it meanwhile.
    class Lock {
    public:
        explicit Lock(PulseConnection& connection);
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        pa_threaded_mainloop* m_loop;
    };
    // With the lock held: waits for the next word from the server, or for wakeAll().
    void waitForEvent();
    // Wakes every waiter to look at its own reason to give up. From any thread.
    void wakeAll();
    // With the lock held, once waitReady() has succeeded.
    pa_context* context() const { return m_context; }
    pa_threaded_mainloop* loop() const { return m_loop; }

private:
    bool start();
    bool isUsable() const;

    Names m_names;
    std::mutex m_starting;
    bool m_started = false;
    std::atomic<pa_threaded_mainloop*> m_loop{nullptr};
    pa_context* m_context = nullptr;
    std::atomic<bool> m_failed{false};
};
