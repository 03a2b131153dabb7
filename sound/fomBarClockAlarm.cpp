#include "core/AlarmMode.h"
#include "core/fomBarClock.h"

using namespace AlarmModeBit;

namespace {

constexpr int kPlaybackTickMs = 1000;
constexpr int32_t kFocusWaitMs = 200;

}  // namespace

void fomBarClock::WaveSub(int16_t h, int16_t m, int16_t s) {
    const int16_t mode = m_setting.AlarmMode;
    const int32_t minute = h * 60 + m;

    const bool alarmNext =
        m_setting.AlarmTime - minute == 1 || (m_setting.AlarmTime == 0 && minute == 23 * 60 + 59);
    if (AlarmWait == 0 && (mode & kAlarmOn) != 0 && alarmNext) {
        AlarmWait = static_cast<int16_t>(60 - s);
        setTimMciPlayInterval(kPlaybackTickMs);
    }

    // The night rule looks at the hour of arming: 21:30 to 6:00 keep silent, 21:00 and 6:30 not.
    const bool night = h >= 21 || h < 6;
    if (JihoWait == 0 && (mode & kChimeOn) != 0 && (m == 29 || m == 59) &&
        !((mode & kQuietAtNight) != 0 && night)) {
        setTimMciPlayInterval(kPlaybackTickMs);
        JihoWait = static_cast<int16_t>(60 - s);
        if (m == 29 || (mode & kChimeOnce) != 0) {
            JihoLeft = 1;
        } else {
            const int16_t hour12 = static_cast<int16_t>((h + 1) % 12);
            JihoLeft = hour12 == 0 ? 12 : hour12;
        }
    }
    prepareDueSounds();
}

bool fomBarClock::WaveSubMissed(const QDateTime& previous, const QDateTime& now) {
    // Nothing is owed at start-up.
    if (!previous.isValid()) return false;
    // A tick in the arming seconds or later, this minute's or after the clock was set back,
    // missed nothing.
    const qint64 minuteStart = now.toSecsSinceEpoch() - now.time().second();
    if (previous.toSecsSinceEpoch() >= minuteStart - kArmingSeconds) return false;

    // Whatever was still pending belongs to a minute that has passed.
    AlarmWait = 0;
    JihoWait = 0;
    JihoLeft = 0;
    setTimMciPlayInterval(0);
    // Armed as in the last arming second, so it is due at the next playback tick.
    const QTime before = now.time().addSecs(-60);
    WaveSub(static_cast<int16_t>(before.hour()), static_cast<int16_t>(before.minute()), 59);
    return AlarmWait > 0 || JihoWait > 0;
}

void fomBarClock::timMciPlay_Timer() {
    ++m_timMciPlayDepth;

    if (AlarmWait > 0) {
        --AlarmWait;
        if (AlarmWait == 0 && readyToPlay() && m_mciPlay.MciPlay(m_setting.AlarmName1) == 1)
            AlarmWait = 1;
    }

    if (JihoWait > 0) {
        --JihoWait;
        if (JihoWait == 0 && readyToPlay()) {
            const int16_t r = m_mciPlay.MciPlay(m_setting.AlarmName2);
            if (r == 0) {
                --JihoLeft;
                if (JihoLeft > 0) JihoWait = 1;
            } else if (r == 1) {
                JihoWait = 1;
            } else {
                JihoLeft = 0;
            }
        }
    }

    --m_timMciPlayDepth;
    if (AlarmWait == 0 && JihoWait == 0) {
        setTimMciPlayInterval(0);
    } else if (m_timMciPlayDepth == 0) {
        // A tick nested in this one's play may have stopped the timer while this one was about
        // to ask for another try.
        setTimMciPlayInterval(kPlaybackTickMs);
    }
    prepareDueSounds();
}

void fomBarClock::prepareDueSounds() {
    // At every tick of a countdown, so that a name the settings changed meanwhile is ready too;
    // a name that is ready already costs little.
    if (AlarmWait > 0) m_mciPlay.MciPrepare(m_setting.AlarmName1);
    if (JihoWait > 0) m_mciPlay.MciPrepare(m_setting.AlarmName2);
}

void fomBarClock::setTimMciPlayInterval(int ms) {
    if (ms == 0) {
        timMciPlay.stop();
        timMciPlay.setInterval(0);
    } else if (!timMciPlay.isActive() || timMciPlay.interval() != ms) {
        timMciPlay.start(ms);
    }
}

bool fomBarClock::readyToPlay() {
    if ((m_setting.AlarmMode & kTakeFocus) == 0) return true;
    const uint32_t clicks = m_silencingClicks;
    focusSequence();
    // A click on the bar during the sequence has silenced what was about to play.
    return m_silencingClicks == clicks;
}

void fomBarClock::focusSequence() {
    // Taking the focus may be refused, for example while a modal window is open; that is fine.
    for (int i = 0; i < 2; ++i) {
        activateWindow();
        m_mciPlay.WaitTime(kFocusWaitMs);
    }
}
