#include <QPainter>
#include <utility>

#include "core/AlarmMode.h"
#include "core/BarView.h"
#include "core/TimeCheckMode.h"
#include "core/TimeText.h"
#include "core/fomBarClock.h"
#include "drawing/StripGeometry.h"
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
    const auto S = static_cast<int16_t>(time.second());

    picBar->setTimeText(toolTipText(time));
    // Taken before anything can process events, so a nested tick does not catch up again.
    const QDateTime previous = std::exchange(m_lastTick, nowtime);
    bool missed = false;
    if ((m_setting.AlarmMode & (AlarmModeBit::kAlarmOn | AlarmModeBit::kChimeOn)) != 0) {
        missed = WaveSubMissed(previous, nowtime);
        if (S >= 60 - kArmingSeconds) WaveSub(H, M, S);
    }

    const int32_t Minute = H * 60 + M;
    const QRect cursorBox(CursorX, CursorY, CursorWidth, CursorHeight);
    QRect changed;
    if (Minute == LastDrawnMinute) {
        if (m_setting.TimeCheckMode == TimeCheckModeValue::kEverySecond) TimeCheck();
        for (const BlockCopy& copy : cursorRestore(picBack.width(), CursorBackX,
                                                   {CursorX, CursorY, CursorWidth, CursorHeight}))
            copyBlock(picBar->image(), picBack, copy);
        changed = cursorBox;
    } else {
        if (m_setting.TimeCheckMode >= TimeCheckModeValue::kEveryMinute) {
            if (m_setting.TaskTray == 1)
                m_platform.tray.notify(TrayCommand::Modify, m_trayIconData);
            TimeCheck();
        }
        BackPrint(H, M);
        LastDrawnMinute = Minute;
        changed = picBar->rect();
    }

    CursorFrame = (CursorFrame + 1) % 2;
    {
        // Transparent parts of the frame let the picture show through.
        const QImage& frame = picCursor[CursorFrame];
        QPainter painter(&picBar->image());
        painter.drawImage(cursorBox.topLeft(), frame,
                          QRect(0, 0, CursorWidth, CursorHeight).intersected(frame.rect()));
    }
    picBar->update(changed);
    // What was missed sounds now, still within its minute.
    if (missed) timMciPlay_Timer();
}

const QImage& fomBarClock::barImage() const { return picBar->image(); }
