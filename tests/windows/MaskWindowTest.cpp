#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "../ClockFixture.h"
#include "windows/fomMask.h"

namespace {

class fomMaskTest : public ClockFixture {
protected:
    // settings: "Key=Value" pairs apart by spaces.
    fomMask& open(const QString& settings) {
        storeSettings({});
        for (const QString& pair : settings.split(' ', Qt::SkipEmptyParts))
            fakes.store.set(pair.section('=', 0, 0), pair.section('=', 1));
        form.reset();  // before the clock window it belongs to
        start();
        fakes.tray.commands.clear();
        fakes.windowOrder.calls.clear();
        form = std::make_unique<fomMask>(fakes.platform(), *window);
        return *form;
    }
    static bool grey(const QLineEdit& box) {
        return !box.isEnabled() &&
               box.palette().color(QPalette::Base) == box.palette().color(QPalette::Button);
    }
    std::unique_ptr<fomMask> form;
};

TEST_F(fomMaskTest, ControlsInPlaceCaptionsFitTabsInOrder) {
    fomMask& f = open("");
    EXPECT_EQ(f.windowTitle(), "クイロン その他設定");
    EXPECT_EQ(f.size(), QSize(297, 281));
    EXPECT_EQ(f.txtTimeChkLen->geometry().topLeft(), QPoint(128, 38));
    EXPECT_EQ(f.cmdExit->geometry(), QRect(216, 248, 73, 25));
    for (const QWidget* w : f.findChildren<QWidget*>()) {
        EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry()));
        if (!qobject_cast<const QPushButton*>(w) && !qobject_cast<const QLineEdit*>(w)) {
            EXPECT_LE(w->sizeHint().width(), w->width()) << w->metaObject()->className();
        }
    }
    const QList<QWidget*> tabs = {f.chkTaskTray,     f.chkTopMost,      f.chkTmpMode,
                                  f.txtTmpEnvName,   f.txtTmpFileName,  f.optTimeCheck[0],
                                  f.optTimeCheck[1], f.optTimeCheck[2], f.optTimeCheck[3],
                                  f.txtTimeChkLen,   f.cmdCancel,       f.cmdExit};
    QList<QWidget*> chain;
    QWidget* w = f.chkTaskTray;
    for (int step = 0; step < 200 && chain.size() < tabs.size(); ++step, w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) != 0) chain << w;
    EXPECT_EQ(chain, tabs);
}

// Each case: TaskTray, TopMost, TmpMode, TimeCheckMode; then "設定" with nothing changed.
TEST_F(fomMaskTest, LoadShowsTheRecordChoicesEnableTheirBoxesUnchangedSetCallsNothing) {
    for (const char* values : {"0 0 0 0", "1 1 1 2", "1 0 -1 3", "0 1 1 5"}) {
        const QStringList c = QString(values).split(' ');
        SCOPED_TRACE(values);
        fomMask& f =
            open(QString("TaskTray=%1 TopMost=%2 TmpMode=%3 TimeCheckMode=%4 TimeCheckLength=-4")
                     .arg(c[0], c[1], c[2], c[3]));
        EXPECT_EQ(f.chkTaskTray->isChecked(), c[0] == "1");
        EXPECT_EQ(f.chkTopMost->isChecked(), c[1] == "1");
        EXPECT_EQ(grey(*f.txtTmpEnvName), c[2] != "1");
        EXPECT_EQ(grey(*f.txtTmpFileName), c[2] != "1");
        EXPECT_EQ(f.txtTmpFileName->text(), "~df*.tmp");
        for (int i = 0; i < 4; ++i) EXPECT_EQ(f.optTimeCheck[i]->isChecked(), c[3].toInt() == i);
        EXPECT_EQ(grey(*f.txtTimeChkLen), c[3] == "0");
        EXPECT_EQ(f.txtTimeChkLen->text(), "-4");
        f.txtTimeChkLen->setText("-5");  // taken from a disabled box too
        f.cmdExit->click();
        EXPECT_TRUE(fakes.tray.commands.empty());
        EXPECT_TRUE(fakes.windowOrder.calls.isEmpty());
        EXPECT_EQ(window->setting().TimeCheckMode, c[3].toInt());
        EXPECT_EQ(window->setting().TimeCheckLength, -5);
    }
    fomMask& f = open("TmpMode=0 TimeCheckMode=0");
    f.optTimeCheck[2]->click();
    f.chkTmpMode->click();
    EXPECT_TRUE(f.txtTimeChkLen->isEnabled() && f.txtTmpFileName->isEnabled());
    f.optTimeCheck[0]->click();
    f.chkTmpMode->click();
    EXPECT_TRUE(grey(*f.txtTimeChkLen) && grey(*f.txtTmpFileName));
    EXPECT_EQ(f.txtTimeChkLen->text(), "-5");
}

TEST_F(fomMaskTest, SetAppliesChangesAtOnceDaysBoxTakesOnly16BitNumbersCancelKeepsAll) {
    open("TaskTray=1 TopMost=0 TimeCheckMode=1");
    // Typed, shown, stored (7 is kept). The first and the last switch the icon and topmost.
    for (const char* values :
         {"12.5 12.5 12", "327689 3276 3276", "-32768.5 -32768.5 -32768", "32767.5 32767. 32767",
          "13.5 13.5 14", "1e3x 13 13", "- - 7", "10 10 10"}) {
        const QStringList c = QString(values).split(' ');
        fomMask f(fakes.platform(), *window);
        window->setting().TimeCheckLength = 7;
        f.txtTimeChkLen->clear();
        QTest::keyClicks(f.txtTimeChkLen, c[0]);
        EXPECT_EQ(f.txtTimeChkLen->text(), c[1]);
        if (c[0] == "12.5" || c[0] == "10") {
            f.chkTaskTray->click();
            f.chkTopMost->click();
        }
        const int saves = fakes.store.saves;
        f.show();
        QTest::keyClick(&f, Qt::Key_Return);
        EXPECT_TRUE(f.isHidden() && fakes.store.saves == saves + 1);
        EXPECT_EQ(window->setting().TimeCheckLength, c[2].toInt()) << values;
    }
    EXPECT_EQ(fakes.tray.commands, (std::vector{TrayCommand::Delete, TrayCommand::Add}));
    EXPECT_EQ(fakes.windowOrder.calls, QStringList({"SetTopMost", "SetNotTopMost"}));

    for (const bool set : {false, true}) {
        const SettingRecord before = window->setting();
        fomMask f(fakes.platform(), *window);
        f.chkTmpMode->click();
        f.txtTmpEnvName->clear();
        f.optTimeCheck[3]->click();
        (set ? f.cmdExit : f.cmdCancel)->click();
        const SettingRecord& s = window->setting();
        EXPECT_EQ(s == before, !set);
        EXPECT_TRUE(!set || (s.TmpMode == 1 && s.TmpEnvName.isEmpty() && s.TimeCheckMode == 3));
    }
}

}  // namespace
