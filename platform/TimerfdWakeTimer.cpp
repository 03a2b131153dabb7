#include "platform/TimerfdWakeTimer.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstdint>
#include <ctime>

namespace {

int makeAlarmTimer() { return timerfd_create(CLOCK_REALTIME_ALARM, TFD_CLOEXEC | TFD_NONBLOCK); }

// The kernel takes an alarm timer without a hardware clock too, but only a clock whose wakeup
// is enabled gets the "wakealarm" file, and only such a clock is set before a suspend.
bool hasWakingClock() {
    const QDir clocks(QStringLiteral("/sys/class/rtc"));
    for (const QString& name : clocks.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (QFileInfo::exists(clocks.filePath(name + QStringLiteral("/wakealarm")))) return true;
    return false;
}

}  // namespace

TimerfdWakeTimer::~TimerfdWakeTimer() { drop(); }

bool TimerfdWakeTimer::arm(qint64 epochSeconds) {
    if (m_fd < 0) {
        m_fd = makeAlarmTimer();
        if (m_fd < 0) return false;
        m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                         [this] { readTimer(); });
    }
    itimerspec when{};
    when.it_value.tv_sec = static_cast<time_t>(epochSeconds);
    // Cancelled when the computer's clock is set, so that the moment is worked out again.
    if (timerfd_settime(m_fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &when, nullptr) == 0)
        return true;
    drop();
    return false;
}

void TimerfdWakeTimer::drop() {
    m_notifier.reset();
    if (m_fd >= 0) close(m_fd);
    m_fd = -1;
}

bool TimerfdWakeTimer::possible() {
    if (m_fd < 0) {
        const int fd = makeAlarmTimer();
        if (fd < 0) return false;
        close(fd);
    }
    return hasWakingClock();
}

void TimerfdWakeTimer::setOnClockSet(std::function<void()> clockSet) {
    m_clockSet = std::move(clockSet);
}

void TimerfdWakeTimer::readTimer() {
    uint64_t expirations = 0;
    if (read(m_fd, &expirations, sizeof expirations) >= 0) return;  // ran out: the alarm is near
    // Queued: what it calls may drop this timer, and with it the notifier that called here.
    if (errno == ECANCELED && m_clockSet)
        QMetaObject::invokeMethod(
            m_notifier.get(), [this] { m_clockSet(); }, Qt::QueuedConnection);
}
