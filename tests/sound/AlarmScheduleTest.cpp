#include <QTimeZone>

#include "../ClockFixture.h"
#include "sound/AlarmSchedule.h"

namespace {

const QTimeZone kBerlin(QByteArrayLiteral("Europe/Berlin"));

QDateTime berlin(int month, int day, int hour, int minute, int second = 0) {
    return QDateTime(QDate(2026, month, day), QTime(hour, minute, second), kBerlin);
}

// Seconds from the moment to the next alarm whose arming minute is armingMinute.
qint64 secondsToDue(const QDateTime& now, int armingMinute) {
    return now.secsTo(AlarmSchedule::nextDue(now, armingMinute, kBerlin));
}

constexpr int kArming0659 = 6 * 60 + 59;
constexpr int kArming0229 = 2 * 60 + 29;

TEST(AlarmDue, TheMinuteAfterItsArmingMinuteStrictlyAfterNowAcrossMidnight) {
    // Midnight's alarm arms at 23:59 of the day before.
    EXPECT_EQ(AlarmSchedule::nextDue(berlin(12, 9, 23, 59, 30), 23 * 60 + 59, kBerlin),
              berlin(12, 10, 0, 0));
    // Its own moment is past: the next is a day on.
    EXPECT_EQ(AlarmSchedule::nextDue(berlin(12, 10, 0, 0), 23 * 60 + 59, kBerlin),
              berlin(12, 11, 0, 0));
    EXPECT_EQ(AlarmSchedule::nextDue(berlin(12, 9, 7, 0, 1), kArming0659, kBerlin),
              berlin(12, 10, 7, 0));
}

TEST(AlarmDue, FollowsTheWallClockAcrossBothChangesOfSummerTime) {
    // 29 March: 2:00 becomes 3:00, so 7:00 comes an hour sooner.
    EXPECT_EQ(secondsToDue(berlin(3, 28, 8, 0), kArming0659), 22 * 3600);
    // 2:29 does not exist that night: no tick arms 2:30, the next is on the 30th.
    EXPECT_EQ(AlarmSchedule::nextDue(berlin(3, 28, 12, 0), kArming0229, kBerlin),
              berlin(3, 30, 2, 30));
    // 25 October: 3:00 becomes 2:00, so 2:29 is armed twice, an hour apart.
    const QDateTime first = AlarmSchedule::nextDue(berlin(10, 25, 0, 0), kArming0229, kBerlin);
    EXPECT_EQ(first.toSecsSinceEpoch(),
              berlin(10, 25, 0, 0).toSecsSinceEpoch() + 2 * 3600 + 30 * 60);
    EXPECT_EQ(AlarmSchedule::nextDue(first, kArming0229, kBerlin).toSecsSinceEpoch(),
              first.toSecsSinceEpoch() + 3600);
    EXPECT_EQ(secondsToDue(berlin(10, 24, 8, 0), kArming0659), 24 * 3600);
    EXPECT_EQ(secondsToDue(berlin(10, 25, 8, 0), kArming0659), 23 * 3600);
}

class AlarmWakeTest : public ClockFixture {
protected:
    fomBarClock& startWith(const QString& alarmMode, const QString& alarmWake) {
        storeSettings({{"AlarmMode", alarmMode},
                       {"AlarmTime", QStringLiteral("420")},
                       {"AlarmName1", QStringLiteral("/s/alarm.wav")},
                       {"AlarmWake", alarmWake}});
        fakes.wave.playable = {QStringLiteral("/s/alarm.wav")};
        return start();
    }

    // Ten seconds before that time of the fake clock's day, or a day later.
    qint64 wakeAt(int hour, int minute, int dayOn = 0) const {
        return QDateTime(fakes.clock.now().date().addDays(dayOn), QTime(hour, minute))
                   .toSecsSinceEpoch() -
               10;
    }
};

TEST_F(AlarmWakeTest, HeldTenSecondsBeforeTheAlarmFollowingItsSettingsAndDroppedWhenOff) {
    startWith(QStringLiteral("1"), QStringLiteral("1"));
    tick(5, 0, 0);
    EXPECT_EQ(fakes.wake.armedAt, wakeAt(7, 0));

    window->setting().AlarmTime = 8 * 60 + 15;
    window->SettingSave();
    EXPECT_EQ(fakes.wake.armedAt, wakeAt(8, 15));

    // The kernel cancelled it for a change of the clock: worked out again from the new time.
    fakes.clock.set(fakes.clock.now().addDays(1));
    fakes.wake.onClockSet();
    EXPECT_EQ(fakes.wake.armedAt, wakeAt(8, 15));

    window->setting().AlarmWake = 0;
    window->SettingSave();
    EXPECT_FALSE(fakes.wake.armedAt);
    window->setting().AlarmWake = 1;
    window->setting().AlarmMode = 2;
    window->SettingSave();
    EXPECT_FALSE(fakes.wake.armedAt);
}

TEST_F(AlarmWakeTest, MovesOnAfterTheAlarmAndAfterAMissedMinuteAndGoesAtTheEnd) {
    startWith(QStringLiteral("1"), QStringLiteral("1"));
    tick(6, 58, 10);
    EXPECT_EQ(fakes.wake.armedAt, wakeAt(7, 0));
    // Asleep through the arming seconds; woken by the timer in the alarm minute itself.
    tick(7, 0, 20);
    ASSERT_EQ(fakes.wave.calls.size(), 1U);
    EXPECT_EQ(fakes.wake.armedAt, wakeAt(7, 0, 1));

    window->Form_Unload();
    EXPECT_FALSE(fakes.wake.armedAt);
}

TEST_F(AlarmWakeTest, ARefusedTimerIsTriedAgainAtTheNextMinuteNotEverySecond) {
    fakes.wake.canWake = false;
    startWith(QStringLiteral("1"), QStringLiteral("1"));
    tick(5, 0, 0);
    tick(5, 0, 1);
    EXPECT_EQ(fakes.wake.arms, 1);
    fakes.wake.canWake = true;
    tick(5, 1, 0);
    EXPECT_EQ(fakes.wake.arms, 2);
    EXPECT_EQ(fakes.wake.armedAt, wakeAt(7, 0));
    tick(5, 2, 0);
    EXPECT_EQ(fakes.wake.arms, 2);
}

TEST_F(AlarmWakeTest, NothingIsHeldWithTheKeyOff) {
    startWith(QStringLiteral("1"), QStringLiteral("0"));
    tick(6, 58, 0);
    tick(6, 59, 59);
    EXPECT_EQ(fakes.wake.arms, 0);
}

}  // namespace
