#include <malloc.h>

#include <QTimer>

#include "../ClockFixture.h"

namespace {

const QString kAlarm = QStringLiteral("/s/alarm.wav");
const QString kGong = QStringLiteral("/s/gong.wav");

class AlarmTest : public ClockFixture {
protected:
    fomBarClock& startWith(int alarmMode, int alarmTime = 420) {
        storeSettings({{"AlarmMode", QString::number(alarmMode)},
                       {"AlarmTime", QString::number(alarmTime)},
                       {"AlarmName1", kAlarm},
                       {"AlarmName2", kGong}});
        fakes.wave.playable = {kAlarm, kGong};
        return start();
    }

    fomBarClock& restartWith(int alarmMode, int alarmTime = 420) {
        window.reset();
        fakes.wave.calls.clear();
        fakes.wave.sounding.clear();
        return startWith(alarmMode, alarmTime);
    }

    // The clock's ticks in the last seconds of a minute, with the playback timer's ticks between
    // them as both timers fire. A countdown armed here ends at the next playback tick.
    void lastSecondsOf(int hour, int minute, int fromSecond = 56) {
        for (int second = fromSecond; second < 60; ++second) {
            if (second > fromSecond && probe().timMciPlay.isActive()) probe().timMciPlay_Timer();
            tick(hour, minute, second);
        }
        // Where the clock stands when the sound is due, should its own timer fire meanwhile.
        fakes.clock.setTime(QTime(hour, minute, 59).addSecs(1));
    }

    // Playback ticks until the timer stops; each sound ends before the next tick.
    int playOut(int limit = 30) {
        int ticks = 0;
        while (probe().timMciPlay.isActive() && ticks < limit) {
            fakes.wave.sounding.clear();
            probe().timMciPlay_Timer();
            ++ticks;
        }
        return ticks;
    }

    int played(const QString& name) const {
        int count = 0;
        for (const auto& call : fakes.wave.calls) count += call.path == name;
        return count;
    }

    void leftClick() { probe().picBar_MouseUp(fomBarClockProbe::kLeftButton, 0, 0, 0); }

    bool timerRuns() const {
        return probe().timMciPlay.isActive() && probe().timMciPlay.interval() == 1000;
    }
};

TEST_F(AlarmTest, AlarmArmsInTheLastSecondsAndSoundsOnceOnTheMinute) {
    startWith(1);
    tick(6, 59, 55);
    EXPECT_EQ(probe().AlarmWait, 0);
    EXPECT_FALSE(probe().timMciPlay.isActive());

    tick(6, 59, 56);
    EXPECT_EQ(probe().AlarmWait, 4);
    EXPECT_TRUE(timerRuns());
    for (int second = 57; second < 60; ++second) {
        probe().timMciPlay_Timer();
        tick(6, 59, second);  // armed once only
    }
    EXPECT_EQ(probe().AlarmWait, 1);
    EXPECT_EQ(played(kAlarm), 0);

    probe().timMciPlay_Timer();  // about 7:00:00
    EXPECT_EQ(played(kAlarm), 1);
    EXPECT_EQ(probe().AlarmWait, 0);
    EXPECT_FALSE(probe().timMciPlay.isActive());
    EXPECT_EQ(probe().timMciPlay.interval(), 0);

    lastSecondsOf(7, 0);
    lastSecondsOf(6, 58);
    EXPECT_EQ(played(kAlarm), 1);
}

TEST_F(AlarmTest, SoundsAreReadiedWhenArmedAndAgainWhenTheSettingsReplaceThem) {
    startWith(1 | 2);
    const QString tune = QStringLiteral("/s/tune.mid");
    fakes.media.files = {{tune, 300}};
    window->setting().AlarmName2 = tune;
    tick(6, 59, 55);
    EXPECT_TRUE(fakes.wave.prepared.isEmpty());
    tick(6, 59, 56);
    EXPECT_EQ(fakes.wave.prepared.last(), kAlarm);
    EXPECT_EQ(fakes.media.prepared.last(), tune);
    EXPECT_TRUE(fakes.wave.calls.empty());
    EXPECT_TRUE(fakes.media.ops.empty());

    const QString other = QStringLiteral("/s/other.wav");
    fakes.wave.playable << other;
    window->setting().AlarmName1 = other;
    probe().timMciPlay_Timer();
    EXPECT_EQ(fakes.wave.prepared.last(), other);
    playOut();
    EXPECT_EQ(played(other), 1);
    EXPECT_EQ(played(kAlarm), 0);
}

TEST_F(AlarmTest, MidnightAlarmArmsAtElevenFiftyNine) {
    startWith(1, 0);
    tick(23, 59, 58);  // a held-up tick arms later, with a shorter countdown
    EXPECT_EQ(probe().AlarmWait, 2);
    EXPECT_EQ(playOut(), 2);
    EXPECT_EQ(played(kAlarm), 1);
    lastSecondsOf(0, 0);
    EXPECT_EQ(played(kAlarm), 1);
}

TEST_F(AlarmTest, ChimeStrikesTheHourOnTheTwelveHourClock) {
    const struct {
        int mode, hour, minute, strikes;
    } cases[] = {{2, 23, 59, 12}, {2, 11, 59, 12}, {2, 0, 59, 1},  {2, 12, 59, 1}, {2, 20, 59, 9},
                 {2, 9, 29, 1},   {2, 23, 29, 1},  {6, 20, 59, 1}, {6, 11, 59, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "mode " << c.mode << " at " << c.hour << ":" << c.minute);
        restartWith(c.mode);
        lastSecondsOf(c.hour, c.minute);
        EXPECT_EQ(probe().JihoLeft, c.strikes);
        playOut();
        EXPECT_EQ(played(kGong), c.strikes);
        EXPECT_EQ(probe().JihoLeft, 0);
        EXPECT_FALSE(probe().timMciPlay.isActive());
    }
}

TEST_F(AlarmTest, QuietNightsKeepFromHalfPastNineToSix) {
    const struct {
        int hour, minute;
        int strikes;  // of the chime that follows
    } cases[] = {{20, 59, 9}, {21, 29, 0}, {21, 59, 0}, {5, 29, 0}, {5, 59, 0}, {6, 29, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "arming at " << c.hour << ":" << c.minute);
        restartWith(2 | 8);
        lastSecondsOf(c.hour, c.minute);
        playOut();
        EXPECT_EQ(played(kGong), c.strikes);
    }
    // Without the night rule half past nine chimes.
    restartWith(2);
    lastSecondsOf(21, 29);
    playOut();
    EXPECT_EQ(played(kGong), 1);
}

TEST_F(AlarmTest, AlarmAndChimeInOneTickPlayAlarmFirst) {
    startWith(1 | 2, 720);
    tick(11, 59, 57);
    EXPECT_EQ(probe().AlarmWait, 3);
    EXPECT_EQ(probe().JihoWait, 3);
    for (int i = 0; i < 3; ++i) probe().timMciPlay_Timer();
    ASSERT_EQ(fakes.wave.calls.size(), 2u);
    EXPECT_EQ(fakes.wave.calls[0].path, kAlarm);
    // A different wave name: the chime cuts the alarm off rather than waiting for it.
    EXPECT_EQ(fakes.wave.calls[1].path, kGong);
    EXPECT_EQ(fakes.wave.calls[1].overlap, WaveSound::Overlap::CutOff);
    EXPECT_EQ(probe().JihoLeft, 11);
    EXPECT_EQ(probe().JihoWait, 1);
    EXPECT_TRUE(timerRuns());
}

TEST_F(AlarmTest, BusySoundIsTriedAgainEachTick) {
    startWith(1 | 2, 720);
    lastSecondsOf(11, 59);
    probe().timMciPlay_Timer();  // the alarm, then the first strike
    ASSERT_EQ(played(kAlarm), 1);
    ASSERT_EQ(played(kGong), 1);
    EXPECT_EQ(probe().JihoLeft, 11);

    // The same strike still sounds: the tick answers busy and keeps the strike owed.
    probe().timMciPlay_Timer();
    probe().timMciPlay_Timer();
    EXPECT_EQ(played(kGong), 3);
    EXPECT_EQ(fakes.wave.calls.back().overlap, WaveSound::Overlap::AfterItsEnd);
    EXPECT_EQ(probe().JihoLeft, 11);
    EXPECT_EQ(probe().JihoWait, 1);
    EXPECT_TRUE(timerRuns());

    // A play in progress elsewhere makes the alarm wait as well.
    restartWith(1, 420);
    lastSecondsOf(6, 59, 59);
    window->mciPlay().PlayBusy = 1;
    probe().timMciPlay_Timer();
    EXPECT_EQ(probe().AlarmWait, 1);
    EXPECT_TRUE(timerRuns());
    window->mciPlay().PlayBusy = 0;
    probe().timMciPlay_Timer();
    EXPECT_EQ(played(kAlarm), 1);
    EXPECT_FALSE(probe().timMciPlay.isActive());
}

TEST_F(AlarmTest, UnplayableSoundEndsTheAlarmAndDropsTheChime) {
    startWith(1 | 2, 720);
    fakes.wave.playable.clear();
    lastSecondsOf(11, 59);
    probe().timMciPlay_Timer();
    EXPECT_EQ(probe().AlarmWait, 0);
    EXPECT_EQ(probe().JihoLeft, 0);
    EXPECT_FALSE(probe().timMciPlay.isActive());
    EXPECT_EQ(fakes.wave.calls.size(), 2u);
}

TEST_F(AlarmTest, LeftClickCancelsPendingAndRemainingSounds) {
    startWith(1 | 2, 720);
    lastSecondsOf(11, 59);
    playOut(3);
    EXPECT_EQ(played(kGong), 3);

    leftClick();
    EXPECT_TRUE(fakes.wave.sounding.isEmpty());
    probe().timMciPlay_Timer();  // the timer stops at its next tick
    EXPECT_FALSE(probe().timMciPlay.isActive());
    EXPECT_EQ(played(kGong), 3);

    // Cancelled while still counting down: nothing sounds.
    tick(12, 29, 56);
    EXPECT_TRUE(timerRuns());
    leftClick();
    playOut();
    EXPECT_EQ(played(kGong), 3);
}

TEST_F(AlarmTest, LeftClickDuringAMediaStrikeEndsTheChime) {
    startWith(2);
    window->setting().AlarmName2 = QStringLiteral("/s/gong.mid");
    fakes.media.files[QStringLiteral("/s/gong.mid")] = 5000;
    lastSecondsOf(2, 59, 57);
    ASSERT_EQ(probe().JihoWait, 1);

    const uint32_t before = fakes.ticks.now;
    QTimer::singleShot(0, window.get(), [this] { leftClick(); });
    probe().timMciPlay_Timer();
    EXPECT_LT(fakes.ticks.now - before, 1000u);
    EXPECT_EQ(probe().JihoWait, 0);
    EXPECT_LE(probe().JihoLeft, 0);
    EXPECT_FALSE(probe().timMciPlay.isActive());
    EXPECT_TRUE(fakes.media.openFile.isEmpty());
}

TEST_F(AlarmTest, TimerRunsAfterTheOutermostTickWhenANestedOneStoppedIt) {
    startWith(2);
    window->setting().AlarmName2 = QStringLiteral("/s/gong.mid");
    fakes.media.files[QStringLiteral("/s/gong.mid")] = 300;
    lastSecondsOf(2, 59, 57);  // three strikes owed, the first one due
    ASSERT_EQ(probe().JihoWait, 1);

    // A tick that runs inside the strike's play finds nothing to count down and stops the timer.
    bool nestedRan = false;
    fakes.media.onOp = [&](FakeMediaControl::Op op) {
        if (op != FakeMediaControl::Op::Play || nestedRan) return;
        nestedRan = true;
        probe().timMciPlay_Timer();
        EXPECT_FALSE(probe().timMciPlay.isActive());
    };
    probe().timMciPlay_Timer();
    ASSERT_TRUE(nestedRan);
    EXPECT_EQ(probe().JihoLeft, 2);
    EXPECT_EQ(probe().JihoWait, 1);
    EXPECT_TRUE(timerRuns());
}

TEST_F(AlarmTest, FocusIsTakenBeforeEachPlayWhenAsked) {
    startWith(1 | 16);
    lastSecondsOf(6, 59, 58);
    const uint32_t before = fakes.ticks.now;
    probe().timMciPlay_Timer();
    EXPECT_EQ(played(kAlarm), 1);
    EXPECT_GE(fakes.ticks.now - before, 400u);

    // A click during the sequence wins over the play that follows it.
    restartWith(1 | 2 | 16, 720);
    lastSecondsOf(11, 59, 58);
    QTimer::singleShot(0, window.get(), [this] { leftClick(); });
    probe().timMciPlay_Timer();
    EXPECT_EQ(played(kAlarm) + played(kGong), 0);
    EXPECT_FALSE(probe().timMciPlay.isActive());

    // Without the bit no time is spent before playing.
    restartWith(1);
    lastSecondsOf(6, 59, 58);
    const uint32_t plain = fakes.ticks.now;
    probe().timMciPlay_Timer();
    EXPECT_EQ(played(kAlarm), 1);
    EXPECT_EQ(fakes.ticks.now, plain);
}

TEST_F(AlarmTest, NothingArmsOutsideTheMinuteBeforeOrWithBothOff) {
    startWith(4 | 8 | 16, 420);
    lastSecondsOf(6, 59);
    lastSecondsOf(11, 59);
    EXPECT_EQ(probe().AlarmWait, 0);
    EXPECT_EQ(probe().JihoWait, 0);

    window->setting().AlarmMode = 1 | 2;
    // Each step goes back in time, so no arming counts as missed.
    lastSecondsOf(11, 30);
    lastSecondsOf(7, 0);
    lastSecondsOf(6, 58);
    EXPECT_EQ(probe().AlarmWait, 0);
    EXPECT_EQ(probe().JihoWait, 0);
    EXPECT_FALSE(probe().timMciPlay.isActive());
}

// The computer slept, or its clock was set forward, over the seconds that arm a minute's sound.
TEST_F(AlarmTest, MissedArmingSoundsOnceOnTheFirstTickOfTheDueMinute) {
    const struct {
        int mode;
        QTime from, to;  // the last tick before the gap (none: the start), the first after it
        int alarms, strikes;
    } cases[] = {
        {1, QTime(6, 59, 50), QTime(7, 0, 0, 400), 1, 0},
        {1, QTime(), QTime(7, 0, 0, 400), 0, 0},
        {1, QTime(7, 5, 0), QTime(7, 0, 10), 0, 0},  // the clock was set back
        {1, QTime(6, 59, 55), QTime(7, 0, 58), 1, 0},
        {1, QTime(6, 0, 0), QTime(7, 0, 30), 1, 0},
        {1, QTime(6, 59, 50), QTime(7, 1, 0), 0, 0},  // the minute has passed
        {1, QTime(6, 59, 56), QTime(7, 0, 5), 1, 0},  // armed before a short gap
        {1, QTime(6, 59, 56), QTime(7, 1, 5), 0, 0},  // armed, but the minute has passed
        {2, QTime(11, 59, 56), QTime(12, 1, 5), 0, 0},
        {2, QTime(11, 58, 0), QTime(12, 0, 1), 0, 12},
        {2, QTime(20, 59, 0), QTime(21, 0, 2), 0, 9},
        {2 | 8, QTime(20, 59, 0), QTime(21, 0, 2), 0, 9},
        {2 | 8, QTime(21, 59, 0), QTime(22, 0, 2), 0, 0},
        {2 | 8, QTime(6, 29, 0), QTime(6, 30, 2), 0, 1},
        {1 | 2, QTime(6, 50, 0), QTime(7, 0, 0), 1, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "mode " << c.mode << " from " << qPrintable(c.from.toString()) << " to "
                     << qPrintable(c.to.toString()));
        restartWith(c.mode);
        if (c.from.isValid()) tick(c.from.hour(), c.from.minute(), c.from.second());
        fakes.clock.setTime(c.to);
        window->TimePrint(fakes.clock.now());
        // At once, unless a countdown armed before the gap still runs.
        EXPECT_EQ(played(kAlarm), probe().AlarmWait > 0 ? 0 : c.alarms);
        playOut();
        // The rest of the minute and the next ones add nothing.
        for (int i = 0; i < 120; ++i) {
            fakes.clock.advanceSeconds(1);
            if (probe().timMciPlay.isActive()) probe().timMciPlay_Timer();
            window->TimePrint(fakes.clock.now());
            fakes.wave.sounding.clear();
        }
        EXPECT_EQ(played(kAlarm), c.alarms);
        EXPECT_EQ(played(kGong), c.strikes);
        EXPECT_FALSE(probe().timMciPlay.isActive());
    }
}

// In-use heap bytes and live objects of the window.
std::pair<size_t, qsizetype> usage(const QObject& window) {
    const struct mallinfo2 heap = ::mallinfo2();
    return {heap.uordblks + heap.hblkhd, window.findChildren<QObject*>().size()};
}

TEST_F(AlarmTest, ADaySoundsTheAlarmOnceAndEveryStrikeAndKeepsItsSize) {
    for (const auto& [mode, strikes] : {std::pair{1 | 2, 180}, std::pair{1 | 2 | 8, 117}}) {
        SCOPED_TRACE(testing::Message() << "mode " << mode);
        restartWith(mode);
        fakes.wave.calls.reserve(16);
        fakes.clock.set(QDateTime(QDate(2026, 12, 7), QTime(23, 59, 50)));
        int alarms = 0;
        int gongs = 0;
        std::pair<size_t, qsizetype> afterAnHour;
        for (int second = 1; second <= 86400; ++second) {
            fakes.clock.advanceSeconds(1);
            if (probe().timMciPlay.isActive()) probe().timMciPlay_Timer();
            window->TimePrint(fakes.clock.now());
            alarms += played(kAlarm);
            gongs += played(kGong);
            fakes.wave.calls.clear();
            fakes.wave.prepared.clear();
            fakes.wave.sounding.clear();
            if (second == 3600) afterAnHour = usage(*window);
        }
        EXPECT_EQ(alarms, 1);
        EXPECT_EQ(gongs, strikes);
        const auto [heap, objects] = usage(*window);
        // Room for things first met later in the day, as a longer text; far less than a leak
        // of the smallest block each minute or each strike.
        EXPECT_LE(heap, afterAnHour.first + 2048);
        EXPECT_EQ(objects, afterAnHour.second);
    }
}

}  // namespace
