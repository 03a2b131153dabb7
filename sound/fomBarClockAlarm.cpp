#include "core/AlarmMode.h"
#include "core/fomBarClock.h"
#include "platform/Clock.h"
#include "sound/AlarmSchedule.h"

namespace {

constexpr int32_t kFocusWaitMs = 200;

}  // namespace

void fomBarClock::makeAlarmSchedule() {
    m_alarmSchedule = new AlarmSchedule(
        m_platform, m_setting, [this] { return readyToPlay(); }, this);
}

modMCIPlay& fomBarClock::mciPlay() { return m_alarmSchedule->mciPlay(); }

bool fomBarClock::alarmTick(const QDateTime& previous, const QDateTime& now) {
    return m_alarmSchedule->tick(previous, now);
}

void fomBarClock::timMciPlay_Timer() { m_alarmSchedule->timMciPlay_Timer(); }

void fomBarClock::armWakeTimer() { m_alarmSchedule->armWake(m_platform.clock.now()); }

void fomBarClock::endSounds() {
    m_alarmSchedule->dropWake();
    mciPlay().MciStop();
}

bool fomBarClock::readyToPlay() {
    if ((m_setting.AlarmMode & AlarmModeBit::kTakeFocus) == 0) return true;
    const uint32_t clicks = m_silencingClicks;
    focusSequence();
    // A click on the bar during the sequence has silenced what was about to play.
    return m_silencingClicks == clicks;
}

void fomBarClock::focusSequence() {
    // Taking the focus may be refused, for example while a modal window is open; that is fine.
    for (int i = 0; i < 2; ++i) {
        activateWindow();
        mciPlay().WaitTime(kFocusWaitMs);
    }
}
