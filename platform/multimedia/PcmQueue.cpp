#include "PcmQueue.h"

void PcmQueue::append(const QByteArray& bytes) {
    if (bytes.isEmpty()) return;
    {
        const std::lock_guard lock(m_mutex);
        m_chunks.push_back(bytes);
        m_queued += bytes.size();
        m_appended += bytes.size();
    }
    m_changed.notify_all();
}

void PcmQueue::finish() {
    {
        const std::lock_guard lock(m_mutex);
        m_finished = true;
    }
    m_changed.notify_all();
}

void PcmQueue::cancel() {
    {
        const std::lock_guard lock(m_mutex);
        m_cancelled = true;
    }
    m_changed.notify_all();
}

std::optional<QByteArray> PcmQueue::take(qsizetype maxBytes, std::chrono::milliseconds wait) {
    std::unique_lock lock(m_mutex);
    if (!m_changed.wait_for(lock, wait,
                            [this] { return m_cancelled || m_finished || !m_chunks.empty(); }))
        return std::nullopt;
    if (m_cancelled || m_chunks.empty()) return QByteArray();
    const QByteArray& front = m_chunks.front();
    const qsizetype count = qMin(maxBytes, front.size() - m_frontTaken);
    QByteArray bytes = front.mid(m_frontTaken, count);
    m_frontTaken += count;
    m_queued -= count;
    if (m_frontTaken == front.size()) {
        m_chunks.pop_front();
        m_frontTaken = 0;
    }
    return bytes;
}

qsizetype PcmQueue::queuedBytes() const {
    const std::lock_guard lock(m_mutex);
    return m_queued;
}

qint64 PcmQueue::appendedBytes() const {
    const std::lock_guard lock(m_mutex);
    return m_appended;
}

bool PcmQueue::isFinished() const {
    const std::lock_guard lock(m_mutex);
    return m_finished;
}
