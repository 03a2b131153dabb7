#pragma once

#include <QByteArray>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

// Samples handed from the thread that reads or decodes them to the thread that plays them.
class PcmQueue {
public:
    void append(const QByteArray& bytes);
    // Nothing more will come.
    void finish();
    // Nothing more will come, and what is there is no longer handed out.
    void cancel();

    // Up to maxBytes, waiting at most `wait` for some to come: nullopt when none came in that
    // time, empty once all have been taken after finish(), or after cancel().
    std::optional<QByteArray> take(qsizetype maxBytes, std::chrono::milliseconds wait);

    qsizetype queuedBytes() const;
    qint64 appendedBytes() const;
    bool isFinished() const;

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<QByteArray> m_chunks;
    qsizetype m_frontTaken = 0;  // bytes of the first chunk already taken
    qsizetype m_queued = 0;
    qint64 m_appended = 0;
    bool m_finished = false;
    bool m_cancelled = false;
};
