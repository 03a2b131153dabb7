#include <QAction>

#include "../ClockFixture.h"
#include "core/BarView.h"

namespace {

using ClockWindowTest = ClockFixture;

TEST_F(ClockWindowTest, BuiltInPicturesGiveTheStandardBar) {
    fomBarClock& clock = start();
    EXPECT_EQ(probe().picBack.size(), QSize(1440, 40));
    EXPECT_EQ(probe().picBar->size(), QSize(240, 40));
    EXPECT_EQ(clock.size(), QSize(240, 40));
    EXPECT_EQ(probe().CursorWidth, 32);
    EXPECT_EQ(probe().CursorHeight, 32);
    EXPECT_EQ(probe().CursorX, 104);
    EXPECT_EQ(probe().CursorY, 8);
    EXPECT_EQ(probe().LastDrawnMinute, -1);
    EXPECT_TRUE(fakes.messages.shown.isEmpty());
    EXPECT_TRUE(probe().isTimer1Running());
}

TEST_F(ClockWindowTest, CharacterBoxTakesTheLargerFrameAndCentres) {
    fakes.pictures.files[QStringLiteral("/a.ico")] = filled(30, 20, Qt::red);
    fakes.pictures.files[QStringLiteral("/b.ico")] = filled(24, 36, Qt::blue);
    fakes.pictures.files[QStringLiteral("/wide.ico")] = filled(33, 10, Qt::blue);
    storeSettings({{"CharType", "1"}, {"CharName1", "/a.ico"}, {"CharName2", "/b.ico"}});
    fomBarClock& clock = start();
    EXPECT_EQ(probe().CursorWidth, 30);
    EXPECT_EQ(probe().CursorHeight, 36);
    EXPECT_EQ(probe().CursorY, 4);

    clock.setting().TimeWidth = 120;
    clock.setting().CharName1 = QStringLiteral("/wide.ico");
    clock.setting().CharName2.clear();
    clock.PicLoad();
    EXPECT_EQ(probe().CursorX, 44);  // nearest(60 - 16.5)
}

TEST_F(ClockWindowTest, SpanChoiceResizesChecksRedrawsAndSaves) {
    fakes.clock.setTime(QTime(10, 15, 30));
    fomBarClock& clock = start();
    probe().mnuTimeWidth_Click(6);
    EXPECT_EQ(clock.setting().TimeWidth, 360);
    EXPECT_FALSE(probe().mnuTimeWidth(2)->isChecked());
    EXPECT_FALSE(probe().mnuTimeWidth(4)->isChecked());
    EXPECT_TRUE(probe().mnuTimeWidth(6)->isChecked());
    EXPECT_EQ(clock.size(), QSize(360, 40));
    EXPECT_EQ(probe().CursorX, 164);
    EXPECT_EQ(probe().LastDrawnMinute, 615);
    EXPECT_EQ(fakes.store.saves, 1);
    EXPECT_EQ(fakes.store.value(QStringLiteral("TimeWidth")), "360");

    probe().mnuTimeWidth_Click(4);
    EXPECT_TRUE(probe().mnuTimeWidth(4)->isChecked());
    EXPECT_FALSE(probe().mnuTimeWidth(6)->isChecked());
}

TEST_F(ClockWindowTest, UnusualStoredSpanChecksNothing) {
    storeSettings({{"TimeWidth", "300"}});
    start();
    for (int index : {2, 4, 6}) EXPECT_FALSE(probe().mnuTimeWidth(index)->isChecked());
    EXPECT_EQ(probe().picBar->width(), 300);
}

TEST_F(ClockWindowTest, WorkAreaKeepsAStripOfTheWindowInside) {
    // Work area 0-1024 × 0-740 pixels: WR 15360, WB 11100, margin 120 twips.
    fomBarClock& clock = start();
    probe().twips.setTop(11500);
    clock.ResizeAll();
    EXPECT_EQ(probe().twips.Top(), 10980);

    probe().twips.setTop(3000);
    probe().twips.setLeft(-3500);  // 3600 twips wide: 100 twips would stay visible
    clock.ResizeAll();
    EXPECT_EQ(probe().twips.Left(), 120 - 3600);
    EXPECT_EQ(probe().twips.Top(), 3000);

    probe().twips.setLeft(6000);
    clock.ResizeAll();
    EXPECT_EQ(probe().twips.Left(), 6000);
    EXPECT_EQ(probe().twips.Top(), 3000);
}

TEST_F(ClockWindowTest, FirstActivationOnlyLaysOut) {
    start();
    probe().twips.setTop(20000);
    probe().Form_Activate();
    EXPECT_EQ(probe().twips.Top(), 10980);
    EXPECT_GE(probe().LastDrawnMinute, 0);

    probe().twips.setTop(20000);
    probe().Form_Activate();
    EXPECT_EQ(probe().twips.Top(), 19995);  // 1333 pixels, not pulled back again
}

TEST_F(ClockWindowTest, TrayIconLivesAsLongAsTheClock) {
    fomBarClock& clock = start();
    ASSERT_EQ(fakes.tray.commands, std::vector<TrayCommand>{TrayCommand::Add});
    EXPECT_EQ(fakes.tray.lastTip, "クイロン");
    clock.Form_Unload();
    EXPECT_EQ(fakes.tray.commands,
              (std::vector<TrayCommand>{TrayCommand::Add, TrayCommand::Delete}));
}

TEST_F(ClockWindowTest, NoTrayAndTopMostFromTheStore) {
    storeSettings({{"TaskTray", "0"}, {"TopMost", "1"}});
    fomBarClock& clock = start();
    EXPECT_EQ(fakes.windowOrder.calls, QStringList{"SetTopMost"});
    clock.Form_Unload();
    EXPECT_TRUE(fakes.tray.commands.empty());
    // The record is filled all the same, for turning the icon on later.
    EXPECT_EQ(clock.trayIconData().tipText(), "クイロン");
}

TEST_F(ClockWindowTest, UnloadStopsTheTickAndSavesThePositionOnce) {
    fomBarClock& clock = start();
    probe().twips.setLeft(4500);
    probe().twips.setTop(3000);
    clock.close();
    clock.Form_Unload();
    EXPECT_FALSE(probe().isTimer1Running());
    EXPECT_EQ(fakes.store.saves, 1);
    EXPECT_EQ(fakes.store.lastSaveOrder.size(), 23);
    EXPECT_EQ(fakes.store.value(QStringLiteral("Left")), "4500");
    EXPECT_EQ(fakes.store.value(QStringLiteral("Top")), "3000");
}

TEST_F(ClockWindowTest, RefusedSaveIsShownOnceAfterEachChangeAndPrintedAtTheEnd) {
    fomBarClock& clock = start();
    fakes.store.refusal = SaveFailure{QStringLiteral("/ro/Quillon.ini"), QStringLiteral("Gone")};
    probe().mnuTimeWidth_Click(6);
    tick(12, 0, 1);
    tick(12, 0, 2);
    EXPECT_EQ(clock.width(), 360);
    EXPECT_EQ(fakes.messages.shown,
              QStringList{"設定ﾌｧｲﾙの[/ro/Quillon.ini]に書き込めないので設定は保存されません"});
    probe().mnuTimeWidth_Click(2);
    EXPECT_EQ(fakes.messages.shown.size(), 2);

    testing::internal::CaptureStderr();
    clock.Form_Unload();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "quillon: the settings could not be saved to /ro/Quillon.ini: Gone\n");
    EXPECT_EQ(fakes.messages.shown.size(), 2);
    fakes.store.refusal.reset();
    clock.SettingSave();
    EXPECT_EQ(fakes.messages.shown.size(), 2);
}

TEST_F(ClockWindowTest, TallestBackgroundGivesTheTallestWindow) {
    fakes.pictures.files[QStringLiteral("/tall.bmp")] = filled(4, 32767, Qt::green);
    storeSettings({{"BackType", "1"}, {"BackName", "/tall.bmp"}});
    fomBarClock& clock = start();
    EXPECT_EQ(clock.height(), 32767);
    EXPECT_EQ(probe().picBack.height(), 32767);
    EXPECT_EQ(probe().picBar->height(), 32767);
}

TEST_F(ClockWindowTest, TicksComeJustAfterEachWholeSecond) {
    fakes.clock.setTime(QTime(10, 15, 0, 300));
    start();
    EXPECT_EQ(probe().timer1Interval(), 705);
    // A tick that came late waits less for the next, so the ticks do not drift.
    fakes.clock.setTime(QTime(10, 15, 1, 200));
    probe().Timer1_Timer();
    EXPECT_EQ(probe().timer1Interval(), 805);
}

}  // namespace
