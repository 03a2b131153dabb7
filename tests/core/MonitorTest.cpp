#include "../ClockFixture.h"
#include "core/DayCount.h"

namespace {

QDateTime at(int day, int hour, int minute) { return {QDate(2026, 12, day), QTime(hour, minute)}; }

TEST(DayCount, CountsMidnightsNotHours) {
    EXPECT_EQ(dayCount(at(6, 23, 59), at(7, 0, 1)), 1);
    EXPECT_EQ(dayCount(at(7, 0, 1), at(7, 23, 59)), 0);
}

class MonitorTest : public ClockFixture {
protected:
    // Started at `now`; the previous run saved at `last`.
    void startAt(const QDateTime& now, const QDateTime& last, int16_t mode) {
        fakes.clock.set(now);
        start();
        window->setting().LastTime = last;
        window->setting().TimeCheckMode = mode;
    }
};

TEST_F(MonitorTest, EightDaysAgainstSevenWarnsSevenDoesNot) {
    startAt(at(8, 12, 0), at(1, 23, 0), 1);
    probe().TimeCheck();
    EXPECT_TRUE(messages.isEmpty());
    fakes.clock.set(at(9, 0, 0));
    probe().TimeCheck();
    EXPECT_EQ(messages, QStringList{"念のためですが、前回より8日経過してます。"});
    EXPECT_EQ(window->setting().LastTime, at(9, 0, 0));
}

TEST_F(MonitorTest, ModeZeroNeverChecks) {
    startAt(at(5, 9, 0), at(20, 0, 0), 0);
    probe().Form_Activate();
    tick(9, 1, 0);
    window->Form_Unload();
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(MonitorTest, SetBackClockWarnsOnceAtStartThoughTheFirstRedrawAndTicksCheckToo) {
    startAt(at(5, 9, 0), at(5, 11, 0), 3);
    window->setMessageWindow([&](const QString& text) {
        messages << text;
        tick(9, 1, 0);  // the timer runs on while the message is open
    });
    probe().Form_Activate();
    window->Form_Unload();
    EXPECT_EQ(messages, QStringList{"念のためですが、前回より時計が戻ってます。"});
}

TEST_F(MonitorTest, NegativeLengthCountsAsNoDaysAndIsStoredAsTyped) {
    startAt(at(7, 12, 0), at(7, 8, 0), 3);
    window->setting().TimeCheckLength = -1;
    tick(12, 0, 1);
    fakes.clock.set(at(8, 0, 0));
    probe().TimeCheck();
    EXPECT_EQ(messages, QStringList{"念のためですが、前回より1日経過してます。"});
    window->SettingSave();
    EXPECT_EQ(fakes.store.value(QStringLiteral("TimeCheckLength")), "-1");
}

}  // namespace
