#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QUrl>
#include <algorithm>

#include "../ClockFixture.h"
#include "windows/fomAlarm.h"

namespace {

class fomAlarmTest : public ClockFixture {
protected:
    fomAlarm& open(int16_t mode, int16_t time) {
        storeSettings({{"AlarmMode", QString::number(mode)},
                       {"AlarmTime", QString::number(time)},
                       {"AlarmName1", "/snd/alarm.wav"},
                       {"AlarmName2", "!chime"}});
        form.reset();  // before the clock window it belongs to
        start();
        form = std::make_unique<fomAlarm>(fakes.platform(), *window);
        return *form;
    }
    std::unique_ptr<fomAlarm> form;
};

TEST_F(fomAlarmTest, ControlsInPlaceCaptionsFitTabsInOrder) {
    fomAlarm& f = open(0, 720);
    EXPECT_EQ(f.windowTitle(), "クイロン ｱﾗｰﾑ設定");
    EXPECT_EQ(f.size(), QSize(321, 310));
    EXPECT_EQ(f.frmAlarmTime->geometry(), QRect(144, 14, 145, 59));
    EXPECT_EQ(f.txtJihoName->geometry(), QRect(16, 64, 225, 18));
    EXPECT_EQ(f.cmdExit->geometry(), QRect(240, 232, 73, 25));
    EXPECT_EQ(f.Frame2->geometry(), QRect(8, 128, 305, 97));
    for (const QAbstractButton* b : {static_cast<QAbstractButton*>(f.optAlarm[1]),
                                     static_cast<QAbstractButton*>(f.chkJihoNight),
                                     static_cast<QAbstractButton*>(f.chkFocusChg),
                                     static_cast<QAbstractButton*>(f.optAMPM[1])})
        EXPECT_LE(b->sizeHint().width(), b->width()) << b->text().toStdString();
    // The wake row lies below everything else, its line below the box and whole in the window.
    const QRect line = f.lblAlarmWake->geometry();
    EXPECT_GT(f.chkAlarmWake->y(), f.cmdExit->geometry().bottom());
    EXPECT_GT(line.y(), f.chkAlarmWake->geometry().bottom());
    EXPECT_TRUE(f.rect().contains(line) && f.lblAlarmWake->sizeHint().width() <= line.width());
    const QList<QWidget*> tabs = {f.optAlarm[0],  f.optAlarm[1], f.optAMPM[0],   f.optAMPM[1],
                                  f.cboHour,      f.cboMinite,   f.txtAlarmName, f.cmdAlarmName,
                                  f.cmdWaveTest1, f.optJiho[0],  f.optJiho[1],   f.chkJihoOnes,
                                  f.chkJihoNight, f.txtJihoName, f.cmdJihoName,  f.cmdWaveTest2,
                                  f.chkFocusChg,  f.cmdCancel,   f.cmdExit,      f.chkAlarmWake};
    QList<QWidget*> chain;
    QWidget* w = f.optAlarm[0];
    for (int step = 0; step < 200 && chain.size() < tabs.size(); ++step, w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) != 0) chain << w;
    EXPECT_EQ(chain, tabs);
}

TEST_F(fomAlarmTest, LoadShowsTheRecordAndSetWritesWhatIsShown) {
    struct Case {
        int16_t mode, time;
        bool pm;
        int hour, minute;
    };
    for (const Case c :
         {Case{0, 720, true, 0, 0}, Case{0, 0, false, 0, 0}, Case{29, 30, false, 0, 30},
          Case{31, 750, true, 0, 30}, Case{2, 1439, true, 11, 59}}) {
        SCOPED_TRACE(c.time);
        fomAlarm& f = open(c.mode, c.time);
        const bool alarm = c.mode & 1, chime = c.mode & 2;
        EXPECT_EQ(f.optAlarm[0]->isChecked(), alarm);
        EXPECT_EQ(f.optAlarm[1]->isChecked(), !alarm);
        EXPECT_EQ(f.optAMPM[1]->isChecked(), c.pm);
        EXPECT_EQ(f.cboHour->itemText(0), c.pm ? "12" : "0");
        EXPECT_EQ(f.cboHour->currentIndex(), c.hour);
        EXPECT_EQ(f.cboMinite->currentIndex(), c.minute);
        EXPECT_EQ(f.optJiho[0]->isChecked(), chime);
        EXPECT_EQ(f.chkJihoOnes->isChecked(), (c.mode & 4) != 0);
        EXPECT_EQ(f.chkJihoNight->isChecked(), (c.mode & 8) != 0);
        EXPECT_EQ(f.chkFocusChg->isChecked(), (c.mode & 16) != 0);
        EXPECT_EQ(f.txtAlarmName->text(), "/snd/alarm.wav");
        EXPECT_EQ(f.txtAlarmName->cursorPosition(), 14);
        for (const QWidget* w :
             {static_cast<QWidget*>(f.optAMPM[0]), static_cast<QWidget*>(f.cboMinite),
              static_cast<QWidget*>(f.txtAlarmName), static_cast<QWidget*>(f.cmdWaveTest1)})
            EXPECT_EQ(w->isEnabled(), alarm);
        for (const QWidget* w :
             {static_cast<QWidget*>(f.chkJihoNight), static_cast<QWidget*>(f.txtJihoName),
              static_cast<QWidget*>(f.cmdJihoName)})
            EXPECT_EQ(w->isEnabled(), chime);
        const int saves = fakes.store.saves;
        f.show();
        QTest::keyClick(&f, Qt::Key_Return);
        EXPECT_FALSE(f.isVisible());
        EXPECT_EQ(fakes.store.saves, saves + 1);
        EXPECT_EQ(window->setting().AlarmMode, c.mode);
        EXPECT_EQ(window->setting().AlarmTime, c.time);
        EXPECT_EQ(window->setting().AlarmName2, "!chime");
    }
    // 0:30 turned to PM is 12:30 at noon; the first hour reads "12" and back without moving.
    fomAlarm& f = open(1, 30);
    f.optAMPM[1]->click();
    EXPECT_EQ(f.cboHour->itemText(0), "12");
    f.cmdExit->click();
    EXPECT_EQ(window->setting().AlarmTime, 750);
    f.optAMPM[0]->click();
    EXPECT_EQ(f.cboHour->itemText(0), "0");
    EXPECT_EQ(f.cboHour->currentIndex(), 0);
}

TEST_F(fomAlarmTest, CancelKeepsTheRecordChooserAndDropsTakeOneFile) {
    fomAlarm& f = open(3, 420);
    fakes.fileDialog.answer = FileDialogAnswer{{"/snd/new.wav"}, 0, "/snd"};
    f.cmdAlarmName->click();
    const FileDialogRequest& asked = fakes.fileDialog.requests.back();
    EXPECT_EQ(asked.title, "ｱﾗｰﾑｻｳﾝﾄﾞの選択");
    EXPECT_EQ(asked.owner, &f);
    EXPECT_EQ(asked.folder, "/snd");
    EXPECT_EQ(asked.fileName, "alarm.wav");
    EXPECT_EQ(f.txtAlarmName->text(), "/snd/new.wav");
    fakes.fileDialog.answer.reset();
    f.cmdJihoName->click();
    EXPECT_EQ(fakes.fileDialog.requests.back().title, "時報ｻｳﾝﾄﾞの選択");
    EXPECT_EQ(f.txtJihoName->text(), "!chime");

    QMimeData files;
    files.setUrls({QUrl("https://example.org/a.wav"), QUrl::fromLocalFile("/snd/b.wav"),
                   QUrl::fromLocalFile("/snd/c.wav")});
    EXPECT_TRUE(f.txtJihoName_OLEDragDrop(files));
    EXPECT_EQ(f.txtJihoName->text(), "/snd/b.wav");
    QMimeData text;
    text.setText("typed");
    // Qt hands a drop only to the box that accepted the drag's entry.
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.txtJihoName, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.txtJihoName, &drop);
    EXPECT_EQ(f.txtJihoName->text(), "/snd/b.wav");

    const SettingRecord before = window->setting();
    f.cmdCancel->click();
    EXPECT_EQ(window->setting(), before);
}

TEST_F(fomAlarmTest, WakeBoxLoadsSavesFollowsTheAlarmAndCancelKeeps) {
    fomAlarm& f = open(1, 420);
    EXPECT_FALSE(f.chkAlarmWake->isChecked());
    EXPECT_TRUE(f.chkAlarmWake->isEnabled());
    f.chkAlarmWake->click();
    f.cmdExit->click();
    EXPECT_EQ(fakes.store.value(QStringLiteral("AlarmWake")), "1");

    // Only 1 wakes the computer; anything else shows and saves as off.
    fakes.store.set(QStringLiteral("AlarmWake"), QStringLiteral("5"));
    fomAlarm& odd = open(1, 420);
    EXPECT_FALSE(odd.chkAlarmWake->isChecked());
    odd.cmdExit->click();
    EXPECT_EQ(fakes.store.value(QStringLiteral("AlarmWake")), "0");

    // With the alarm off the box is greyed like the alarm's other controls, and kept.
    fakes.store.set(QStringLiteral("AlarmWake"), QStringLiteral("1"));
    fomAlarm& off = open(0, 420);
    EXPECT_TRUE(off.chkAlarmWake->isChecked());
    EXPECT_FALSE(off.chkAlarmWake->isEnabled());
    off.chkAlarmWake->setChecked(false);
    off.cmdCancel->click();
    EXPECT_EQ(window->setting().AlarmWake, 1);
}

TEST_F(fomAlarmTest, LineSaysWhenThisComputerCannotWakeInTheSameWindowSize) {
    for (const bool canWake : {true, false}) {
        SCOPED_TRACE(canWake);
        fakes.wake.canWake = canWake;
        fomAlarm& f = open(1, 420);
        f.show();
        EXPECT_EQ(f.lblAlarmWake->isVisible(), !canWake);
        EXPECT_EQ(f.chkAlarmWake->accessibleDescription().isEmpty(), canWake);
        EXPECT_TRUE(f.chkAlarmWake->isEnabled());
        EXPECT_EQ(f.size(), QSize(321, 310));
    }
}

TEST_F(fomAlarmTest, TestButtonsPlayReportAndRetryWhileBusy) {
    fomAlarm& f = open(3, 420);
    modMCIPlay& player = window->mciPlay();
    fakes.wave.playable << fakes.wave.defaultPath;
    f.txtAlarmName->clear();
    f.cmdWaveTest1->click();
    EXPECT_EQ(f.TestName, "");
    EXPECT_EQ(player.PlayStop, 1);
    EXPECT_TRUE(f.timMciPlay.isActive());
    EXPECT_EQ(f.timMciPlay.interval(), 1);
    f.timMciPlay_Timer();
    EXPECT_EQ(fakes.wave.sounding, fakes.wave.defaultPath);
    EXPECT_FALSE(f.timMciPlay.isActive());

    f.txtJihoName->setText("/snd/missing.mp3");
    f.cmdWaveTest2->click();
    f.timMciPlay_Timer();
    EXPECT_EQ(fakes.messages.shownPlain, QStringList{"指定されたﾌｧｲﾙは再生できません。"});
    EXPECT_FALSE(f.timMciPlay.isActive());

    fakes.media.files["/snd/tune.mid"] = 2000;
    f.txtJihoName->setText("/snd/tune.mid");
    f.cmdWaveTest2->click();
    player.PlayBusy = 1;  // another play under way
    player.PlayStop = 0;
    f.timMciPlay_Timer();
    EXPECT_EQ(player.PlayStop, 1);
    EXPECT_EQ(f.timMciPlay.interval(), 100);
    player.PlayBusy = 0;
    f.timMciPlay_Timer();
    EXPECT_GE(std::ranges::count(fakes.media.ops, FakeMediaControl::Op::Play), 1);
    EXPECT_FALSE(f.timMciPlay.isActive());

    fakes.wave.sounding = "/snd/alarm.wav";
    f.show();
    f.close();
    EXPECT_EQ(fakes.wave.sounding, "");
}

}  // namespace
