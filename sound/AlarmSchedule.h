#pragma once

#include <QDateTime>
#include <QObject>
#include <QTimeZone>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <optional>

#include "core/SettingRecord.h"
#include "platform/Platform.h"
#include "sound/modMCIPlay.h"

// When the alarm and the hourly chime sound: the countdowns armed in the last seconds of the
// minute before, what a minute owes that no tick armed, and the wake timer that brings a
// sleeping computer up for the alarm.
class AlarmSchedule final : public QObject {
    Q_OBJECT
public:
    // Asked right before a sound plays; false when it must not play after all.
    using ReadyToPlay = std::function<bool()>;

    AlarmSchedule(const Platform& platform, const SettingRecord& setting, ReadyToPlay readyToPlay,
                  QObject* parent);
    ~AlarmSchedule() override;

    modMCIPlay& mciPlay() { return m_mciPlay; }

    // Every tick of the clock: arms what the next minute owes, or what the minute of now owes
    // when no tick came in the seconds that arm it; true when that is due at once. Each new
    // minute also sets the wake timer again, so that it follows the zone and the settings.
    bool tick(const QDateTime& previous, const QDateTime& now);
    // Every second while something is armed, and at once for what a missed minute owes.
    void timMciPlay_Timer();
    // Silences what sounds and cancels what is about to.
    void silence();

    // The moment the alarm next sounds after now, or none while it is off.
    QDateTime nextAlarmDue(const QDateTime& now) const;
    // The first moment after now that ends a minute whose local time reads armingMinute of the
    // day: a minute the change to summer time skips owes nothing, one that the change back
    // repeats owes twice, as the ticks see it.
    static QDateTime nextDue(const QDateTime& now, int armingMinute, const QTimeZone& zone);

    // Holds the wake timer for shortly before the next alarm while the alarm is on and waking
    // is chosen, and drops it otherwise.
    void armWake(const QDateTime& now);
    void dropWake();

private:
    friend class fomBarClockProbe;

    // The last seconds of a minute, 56 to 59, in which the next minute's sounds are armed.
    static constexpr int16_t kArmingSeconds = 4;
    // Early enough before the alarm minute for the ordinary arming to ready the sound.
    static constexpr int kWakeLeadSeconds = 10;

    void WaveSub(int16_t h, int16_t m, int16_t s);
    bool WaveSubMissed(const QDateTime& previous, const QDateTime& now);
    void prepareDueSounds();
    void setTimMciPlayInterval(int ms);

    const Platform m_platform;
    const SettingRecord& m_setting;
    ReadyToPlay m_readyToPlay;
    modMCIPlay m_mciPlay;
    int16_t AlarmWait = 0;
    int16_t JihoWait = 0;
    int16_t JihoLeft = 0;
    // Counts the alarm and chime down: stopped (interval 0) or every 1000 ms.
    QTimer timMciPlay;
    int m_timMciPlayDepth = 0;       // ticks of timMciPlay under way, nested ones included
    std::optional<qint64> m_wakeAt;  // what the wake timer holds, in seconds since the epoch
};
