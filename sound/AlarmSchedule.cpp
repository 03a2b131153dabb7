#include "sound/AlarmSchedule.h"

#include <set>

#include "core/AlarmMode.h"
#include "platform/Clock.h"
#include "platform/WakeTimer.h"

using namespace AlarmModeBit;

namespace {

constexpr int kPlaybackTickMs = 1000;
constexpr int kMinutesPerDay = 24 * 60;
constexpr qint64 kSecondsPerDay = 24 * 60 * 60;

qint64 minuteStartOf(const QDateTime& now) { return now.toSecsSinceEpoch() - now.time().second(); }

}  // namespace

AlarmSchedule::AlarmSchedule(const Platform& platform, const SettingRecord& setting,
                             ReadyToPlay readyToPlay, QObject* parent)
    : QObject(parent),
      m_platform(platform),
      m_setting(setting),
      m_readyToPlay(std::move(readyToPlay)),
      m_mciPlay(platform.wave, platform.media, platform.ticks, platform.programs) {
    // Precise, so the alarm does not drift from the second the minute begins.
    timMciPlay.setTimerType(Qt::PreciseTimer);
    timMciPlay.setInterval(0);
    connect(&timMciPlay, &QTimer::timeout, this, &AlarmSchedule::timMciPlay_Timer);
    // The kernel cancelled the timer: the same moment may now lie elsewhere on the clock.
    m_platform.wake.setOnClockSet([this] {
        m_wakeAt.reset();
        armWake(m_platform.clock.now());
    });
}

AlarmSchedule::~AlarmSchedule() { m_platform.wake.setOnClockSet({}); }

bool AlarmSchedule::tick(const QDateTime& previous, const QDateTime& now) {
    if (!previous.isValid() || previous.toSecsSinceEpoch() < minuteStartOf(now)) armWake(now);
    if ((m_setting.AlarmMode & (kAlarmOn | kChimeOn)) == 0) return false;
    const bool missed = WaveSubMissed(previous, now);
    const QTime time = now.time();
    if (time.second() >= 60 - kArmingSeconds)
        WaveSub(static_cast<int16_t>(time.hour()), static_cast<int16_t>(time.minute()),
                static_cast<int16_t>(time.second()));
    return missed;
}

void AlarmSchedule::WaveSub(int16_t h, int16_t m, int16_t s) {
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

bool AlarmSchedule::WaveSubMissed(const QDateTime& previous, const QDateTime& now) {
    // Nothing is owed at start-up.
    if (!previous.isValid()) return false;
    // A tick in the arming seconds or later, this minute's or after the clock was set back,
    // missed nothing.
    if (previous.toSecsSinceEpoch() >= minuteStartOf(now) - kArmingSeconds) return false;

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

void AlarmSchedule::timMciPlay_Timer() {
    ++m_timMciPlayDepth;

    if (AlarmWait > 0) {
        --AlarmWait;
        if (AlarmWait == 0 && m_readyToPlay() && m_mciPlay.MciPlay(m_setting.AlarmName1) == 1)
            AlarmWait = 1;
    }

    if (JihoWait > 0) {
        --JihoWait;
        if (JihoWait == 0 && m_readyToPlay()) {
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

void AlarmSchedule::silence() {
    AlarmWait = 0;
    JihoWait = 0;
    JihoLeft = 0;
    m_mciPlay.MciStop();
}

void AlarmSchedule::prepareDueSounds() {
    // At every tick of a countdown, so that a name the settings changed meanwhile is ready too;
    // a name that is ready already costs little.
    if (AlarmWait > 0) m_mciPlay.MciPrepare(m_setting.AlarmName1);
    if (JihoWait > 0) m_mciPlay.MciPrepare(m_setting.AlarmName2);
}

void AlarmSchedule::setTimMciPlayInterval(int ms) {
    if (ms == 0) {
        timMciPlay.stop();
        timMciPlay.setInterval(0);
    } else if (!timMciPlay.isActive() || timMciPlay.interval() != ms) {
        timMciPlay.start(ms);
    }
}

QDateTime AlarmSchedule::nextAlarmDue(const QDateTime& now) const {
    if ((m_setting.AlarmMode & kAlarmOn) == 0) return {};
    // The minute WaveSub arms the alarm in: the one before AlarmTime, 23:59 for 0.
    const int time = m_setting.AlarmTime;
    if (time < 0 || time > kMinutesPerDay) return {};
    const int arming = (time + kMinutesPerDay - 1) % kMinutesPerDay;
    return nextDue(now, arming, QTimeZone::systemTimeZone());
}

QDateTime AlarmSchedule::nextDue(const QDateTime& now, int armingMinute, const QTimeZone& zone) {
    const QTime wall(armingMinute / 60, armingMinute % 60);
    const QDate today = now.toTimeZone(zone).date();
    // Each day's moments whose local time reads the arming minute: the wall time taken at the
    // offsets in force a day before and a day after, kept where the zone reads it back.
    std::set<qint64> dues;
    for (int day = -1; day <= 2; ++day) {
        const QDate date = today.addDays(day);
        const qint64 asUtc = QDateTime(date, wall, QTimeZone::utc()).toSecsSinceEpoch();
        for (const qint64 around : {asUtc - kSecondsPerDay, asUtc + kSecondsPerDay}) {
            const qint64 at = asUtc - zone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(around));
            const QDateTime local = QDateTime::fromSecsSinceEpoch(at, zone);
            if (local.date() == date && local.time() == wall) dues.insert(at + 60);
        }
    }
    const auto next = dues.upper_bound(now.toSecsSinceEpoch());
    if (next == dues.end()) return {};
    return QDateTime::fromSecsSinceEpoch(*next, zone);
}

void AlarmSchedule::armWake(const QDateTime& now) {
    const QDateTime due = m_setting.AlarmWake == 1 ? nextAlarmDue(now) : QDateTime();
    if (!due.isValid()) {
        dropWake();
        return;
    }
    const qint64 at = due.toSecsSinceEpoch() - kWakeLeadSeconds;
    if (m_wakeAt == at) return;
    // Refused where waking is not allowed; the next arming tries again.
    m_wakeAt = m_platform.wake.arm(at) ? std::optional(at) : std::nullopt;
}

void AlarmSchedule::dropWake() {
    m_platform.wake.drop();
    m_wakeAt.reset();
}
