#include <QAction>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include "../ClockFixture.h"
#include "interaction/DragRule.h"
#include "sound/modMCIPlay.h"
#include "windows/fomVersion.h"

namespace {

QStringList captions(const QMenu* menu) {
    QStringList texts;
    for (const QAction* item : menu->actions()) {
        texts << (item->isSeparator() ? QStringLiteral("-") : item->text());
        EXPECT_TRUE(item->shortcut().isEmpty()) << item->text().toStdString();
    }
    return texts;
}

using MenuTest = ClockFixture;

TEST_F(MenuTest, PopupHasItsCaptionsInOrder) {
    start();
    const QMenu* root = probe().mnuFile();
    EXPECT_EQ(root->title(), "ﾌｧｲﾙ(&F)");
    EXPECT_EQ(captions(root), QStringList({"表示幅", "設定", "ﾊﾞｰｼﾞｮﾝ情報 ...", "-", "終了"}));
    EXPECT_EQ(captions(root->actions()[0]->menu()), QStringList({"短い", "普通", "長い"}));
    EXPECT_EQ(captions(root->actions()[1]->menu()),
              QStringList({"画像設定 ...", "ｱﾗｰﾑ設定 ...", "その他 ..."}));
    for (const char* name : {"mnuTimeWidth(2)", "mnuTimeWidth(4)", "mnuTimeWidth(6)", "mnuPicture",
                             "mnuAlarm", "mnuMask", "mnuVersion", "mnuSp1", "mnuFileEnd"})
        EXPECT_TRUE(root->findChild<QAction*>(QString::fromLatin1(name))) << name;
}

TEST_F(MenuTest, SpanItemsMoveTheCheckMark) {
    start();
    QMenu* root = probe().mnuFile();
    const auto item = [&](int index) {
        return root->findChild<QAction*>(QStringLiteral("mnuTimeWidth(%1)").arg(index));
    };
    EXPECT_TRUE(item(4)->isChecked());
    for (int index : {2, 6, 4}) {
        item(index)->trigger();
        EXPECT_EQ(window->setting().TimeWidth, index * 60);
        for (int other : {2, 4, 6}) EXPECT_EQ(item(other)->isChecked(), other == index);
        EXPECT_EQ(window->width(), index * 60);
    }
    EXPECT_EQ(fakes.store.value(QStringLiteral("TimeWidth")), "240");
}

// The tray opens the menu it was given on a right press on the icon.
TEST_F(MenuTest, RightClickOnTheBarOpensTheMenuTheIconOffers) {
    start().show();
    QTest::mouseClick(probe().picBar, Qt::RightButton, {}, QPoint(20, 10));
    EXPECT_TRUE(probe().mnuFile()->isVisible());
    probe().mnuFile()->close();
    EXPECT_EQ(fakes.tray.menu, probe().mnuFile());
}

TEST_F(MenuTest, EndItemClosesAndSaves) {
    start().show();
    probe().mnuFile()->findChild<QAction*>(QStringLiteral("mnuFileEnd"))->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(fakes.store.saves, 1);
}

TEST_F(MenuTest, VersionItemOpensItsWindowModallyAndTheBarTicksBehindIt) {
    start();
    const uint8_t frame = probe().CursorFrame;
    bool modalAndTicking = false;
    QTimer::singleShot(1500, [&] {  // the bar's first tick comes after about a second
        if (auto* form = window->findChild<fomVersion*>()) {
            modalAndTicking = form->isModal() && form->isVisible() && probe().CursorFrame != frame;
            form->close();
        }
    });
    probe().mnuFile()->findChild<QAction*>(QStringLiteral("mnuVersion"))->trigger();
    EXPECT_TRUE(modalAndTicking);
}

TEST(DragRuleTest, LowEdgeFirstThenHighEdge) {
    EXPECT_EQ(keepInside(1000, 3600, -500, 0, 15360), -500);
    EXPECT_EQ(keepInside(1000, 3600, -1500, 0, 15360), -1000);
    EXPECT_EQ(keepInside(1000, 3600, 20000, 0, 15360), 15360 - 4600);
    // Wider than the area: the high edge wins when the low one holds, and the other way round.
    EXPECT_EQ(keepInside(0, 3600, 100, 0, 3000), 3000 - 3600);
    EXPECT_EQ(keepInside(-600, 3600, 0, 0, 3000), 600);
    // Beyond 16 bits of twips, still whole.
    EXPECT_EQ(keepInside(0, 3600, 40000, 0, 100000), 40000);
}

class DragTest : public ClockFixture {
protected:
    void SetUp() override {
        start();
        window->move(400, 300);
    }
    // A press at (10, 10) on the bar, a move by (dx, dy) and the release there.
    void drag(float dx, float dy, int16_t shift = 0) {
        probe().picBar_MouseDown(fomBarClockProbe::kLeftButton, shift, 10, 10);
        probe().picBar_MouseMove(fomBarClockProbe::kLeftButton, shift, 10 + dx, 10 + dy);
        probe().picBar_MouseUp(fomBarClockProbe::kLeftButton, shift, 10, 10);
    }
};

TEST_F(DragTest, WindowFollowsThePointerInsideTheWorkArea) {
    drag(-30.4f, 12.6f);
    EXPECT_EQ(window->pos(), QPoint(370, 313));
}

TEST_F(DragTest, EdgesStopTheWindowUnlessAModifierIsHeld) {
    drag(-1000, 0);
    EXPECT_EQ(window->x(), 0);
    drag(0, -1000);
    EXPECT_EQ(window->y(), 0);
    drag(2000, 2000);
    EXPECT_EQ(window->pos(), QPoint(1024 - 240, 740 - 40));

    for (int16_t modifier : {1, 2, 4}) {
        window->move(400, 300);
        drag(-1000, 1000, modifier);
        EXPECT_EQ(window->pos(), QPoint(-600, 1300)) << modifier;
    }
}

TEST_F(DragTest, WindowWiderThanTheWorkAreaTakesTwoSteps) {
    fakes.display.screens = {{QRect(0, 0, 200, 768), QRect(0, 0, 200, 740)}};
    window->move(10, 300);
    probe().picBar_MouseDown(fomBarClockProbe::kLeftButton, 0, 10, 10);
    probe().picBar_MouseMove(fomBarClockProbe::kLeftButton, 0, 11, 10);
    EXPECT_EQ(window->x(), 200 - 240);
    probe().picBar_MouseMove(fomBarClockProbe::kLeftButton, 0, 11, 10);
    EXPECT_EQ(window->x(), 0);
}

TEST_F(DragTest, ShowsTheMoveCursorWhileDragging) {
    probe().picBar_MouseDown(fomBarClockProbe::kLeftButton, 0, 10, 10);
    EXPECT_EQ(window->cursor().shape(), Qt::SizeAllCursor);
    probe().picBar_MouseUp(fomBarClockProbe::kLeftButton, 0, 10, 10);
    EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(DragTest, RealPointerEventsMoveTheWindow) {
    window->show();
    QTest::mousePress(probe().picBar, Qt::LeftButton, {}, QPoint(10, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(25, 5), probe().picBar->mapToGlobal(QPointF(25, 5)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(probe().picBar, &move);
    EXPECT_EQ(window->pos(), QPoint(415, 295));
}

// Under a reparenting window manager Qt may hold (0, 0) while the bar stands elsewhere; the
// pointer's events tell where it is. The second press of a double-click comes as a double-click.
TEST_F(DragTest, FollowsThePointerFromWhereThePressSawTheBar) {
    window->show();
    for (QEvent::Type press : {QEvent::MouseButtonPress, QEvent::MouseButtonDblClick}) {
        window->move(0, 0);
        QPoint barAt(200, 200);
        const auto send = [&](QEvent::Type type, QPoint global, Qt::MouseButton button) {
            QMouseEvent event(type, QPointF(global - barAt), QPointF(global), button,
                              Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(probe().picBar, &event);
        };
        send(press, QPoint(220, 210), Qt::LeftButton);
        // A resize must not send the bar to where Qt thought it was.
        probe().mnuTimeWidth_Click(6);
        EXPECT_EQ(window->geometry(), QRect(200, 200, 360, 40)) << press;
        for (int step = 1; step <= 3; ++step) {
            // The display has not carried out the previous move yet: no shaking.
            send(QEvent::MouseMove, QPoint(220 + 7 * step, 210 + 3 * step), Qt::NoButton);
            EXPECT_EQ(window->pos(), QPoint(200 + 7 * step, 200 + 3 * step)) << press;
        }
        barAt = window->pos();
        send(QEvent::MouseButtonRelease, QPoint(241, 219), Qt::LeftButton);
        EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
    }
}

// Two screens side by side, the right one smaller: below it lies a gap no screen shows.
TEST_F(DragTest, KeepsTheBarOnTheScreenItIsDraggedOnto) {
    fakes.display.screens = {{QRect(0, 0, 1024, 768), QRect(0, 0, 1024, 740)},
                             {QRect(1024, 0, 640, 480), QRect(1024, 0, 640, 480)}};
    drag(1200, 0);
    EXPECT_EQ(window->pos(), QPoint(1664 - 240, 300));
    window->move(1500, 700);
    window->ResizeAll();
    EXPECT_EQ(window->pos(), QPoint(1500, 480 - 8));
}

TEST_F(DragTest, LeftReleaseSilencesWhatIsRingingOrDue) {
    probe().AlarmWait = 3;
    probe().JihoWait = 1;
    probe().JihoLeft = 7;
    window->mciPlay().PlayStop = 0;
    drag(0, 0);
    EXPECT_EQ(probe().AlarmWait, 0);
    EXPECT_EQ(probe().JihoWait, 0);
    EXPECT_EQ(probe().JihoLeft, 0);
    EXPECT_EQ(window->mciPlay().PlayStop, 1);
    EXPECT_EQ(window->pos(), QPoint(400, 300));
}

TEST_F(DragTest, RightButtonDoesNotDrag) {
    probe().picBar_MouseDown(fomBarClockProbe::kRightButton, 0, 10, 10);
    probe().picBar_MouseMove(fomBarClockProbe::kRightButton, 0, 300, 10);
    EXPECT_EQ(window->pos(), QPoint(400, 300));
}

class CopyTest : public ClockFixture {
protected:
    void press(Qt::KeyboardModifiers modifiers) {
        window->show();
        QTest::keyClick(probe().picBar, Qt::Key_C, modifiers);
    }
};

TEST_F(CopyTest, BuiltInBackgroundOnlyExplains) {
    start();
    press(Qt::ControlModifier);
    EXPECT_EQ(fakes.messages.shown, QStringList{"背景コピーはカスタム選択時に有効です"});
    EXPECT_TRUE(fakes.clipboard.image.isNull());
    EXPECT_EQ(fakes.clipboard.beeps, 0);
}

TEST_F(CopyTest, CustomBackgroundGoesToTheClipboardWithItsMarks) {
    fakes.pictures.files[QStringLiteral("/day.bmp")] = filled(1440, 40, Qt::darkGreen);
    storeSettings({{"BackType", "1"}, {"BackName", "/day.bmp"}, {"Style", "3"}});
    start();
    press(Qt::ControlModifier);
    EXPECT_EQ(fakes.clipboard.image, probe().picBack);
    EXPECT_NE(fakes.clipboard.image.pixel(60, 39), QColor(Qt::darkGreen).rgb());
    EXPECT_EQ(fakes.clipboard.beeps, 1);
    EXPECT_TRUE(fakes.messages.shown.isEmpty());
}

TEST_F(CopyTest, OtherModifiersDoNothing) {
    fakes.pictures.files[QStringLiteral("/day.bmp")] = filled(1440, 40, Qt::darkGreen);
    storeSettings({{"BackType", "1"}, {"BackName", "/day.bmp"}});
    start();
    press(Qt::ControlModifier | Qt::ShiftModifier);
    press(Qt::AltModifier);
    press(Qt::NoModifier);
    EXPECT_TRUE(fakes.clipboard.image.isNull());
    EXPECT_EQ(fakes.clipboard.beeps, 0);
}

using TrayTest = ClockFixture;

TEST_F(TrayTest, DoubleClickBringsTheClockForwardUnlessItIsTopMost) {
    start();
    fakes.tray.mouse(kTrayLeftDoubleClick);
    EXPECT_EQ(fakes.windowOrder.calls, QStringList{"BringToFront"});

    window->setting().TopMost = 1;
    fakes.tray.mouse(kTrayLeftDoubleClick);
    fakes.tray.mouse(513);  // a single press: ignored
    EXPECT_EQ(fakes.windowOrder.calls, QStringList{"BringToFront"});
}

}  // namespace
