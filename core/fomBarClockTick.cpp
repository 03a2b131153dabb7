#include <utility>

#include "core/BarView.h"
#include "core/TimeCheckMode.h"
#include "core/TimeText.h"
#include "core/fomBarClock.h"
#include "platform/Clock.h"
#include "platform/TrayIcon.h"

namespace {
// The tick comes this long after each whole second of the wall clock, so that it never reads
// the second before.
constexpr int kAfterWholeSecondMs = 5;
}  // namespace

void fomBarClock::startTimer1() {
    m_timer1Running = true;
    scheduleNextTick();
}

void fomBarClock::stopTimer1() {
    m_timer1Running = false;
    m_timer1.stop();
}

void fomBarClock::scheduleNextTick() {
    const int intoSecond = m_platform.clock.now().time().msec();
    m_timer1.start(1000 - intoSecond + kAfterWholeSecondMs);
}

void fomBarClock::Timer1_Timer() {
    if (!m_timer1Running) return;
    // Re-armed first: a modal message inside the tick must not hold the next ones up.
    scheduleNextTick();
    TimePrint(m_platform.clock.now());
}

void fomBarClock::TimePrint(const QDateTime& nowtime) {
    const QTime time = nowtime.time();
    const auto H = static_cast<int16_t>(time.hour());
    const auto M = static_cast<int16_t>(time.minute());

    picBar->setTimeText(toolTipText(time));
    // Taken before anything can process events, so a nested tick does not catch up again.
    const QDateTime previous = std::exchange(m_lastTick, nowtime);
    const bool missed = alarmTick(previous, nowtime);

    const int32_t Minute = H * 60 + M;
    const bool sameMinute = Minute == LastDrawnMinute;
    if (sameMinute) {
        if (m_setting.TimeCheckMode == TimeCheckModeValue::kEverySecond) TimeCheck();
    } else {
        if (m_setting.TimeCheckMode >= TimeCheckModeValue::kEveryMinute) {
            if (m_setting.TaskTray == 1)
                m_platform.tray.notify(TrayCommand::Modify, m_trayIconData);
            TimeCheck();
        }
        BackPrint(H, M);
        LastDrawnMinute = Minute;
    }
    const QRect cursorBox = CursorPrint(sameMinute);
    picBar->update(sameMinute ? cursorBox : picBar->rect());
    // What was missed sounds now, still within its minute.
    if (missed) timMciPlay_Timer();
}

const QImage& fomBarClock::barImage() const { return picBar->image(); }
