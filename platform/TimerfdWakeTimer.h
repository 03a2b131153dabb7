#pragma once

#include <QSocketNotifier>
#include <memory>

#include "platform/WakeTimer.h"

// The wake timer as a timerfd on CLOCK_REALTIME_ALARM, which needs CAP_WAKE_ALARM. The
// descriptor is made at the first arming that can make it and kept until dropped.
class TimerfdWakeTimer final : public WakeTimer {
public:
    TimerfdWakeTimer() = default;
    ~TimerfdWakeTimer() override;
    TimerfdWakeTimer(const TimerfdWakeTimer&) = delete;
    TimerfdWakeTimer& operator=(const TimerfdWakeTimer&) = delete;

    bool arm(qint64 epochSeconds) override;
    void drop() override;
    bool possible() override;
    void setOnClockSet(std::function<void()> clockSet) override;

private:
    void readTimer();

    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::function<void()> m_clockSet;
};
