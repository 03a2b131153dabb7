#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QUrl>

#include "../ClockFixture.h"
#include "windows/fomFileSelect.h"

namespace {

const QString kDay = QStringLiteral("/pics/day.bmp");
const QString kCow = QStringLiteral("/pics/a.ico");

class fomFileSelectTest : public ClockFixture {
protected:
    // A readable background of 2880 × 60 and a readable one-frame character.
    fomFileSelect& open(int16_t backType, int16_t style) {
        storeSettings({{"BackType", QString::number(backType)},
                       {"Style", QString::number(style)},
                       {"BackName", kDay},
                       {"CharType", "1"},
                       {"CharName1", kCow}});
        fakes.pictures.files[kDay] = filled(2880, 60, Qt::magenta);
        fakes.pictures.files[kCow] = filled(32, 32, Qt::blue);
        form.reset();  // before the clock window it belongs to
        start();
        form = std::make_unique<fomFileSelect>(fakes.platform(), *window);
        return *form;
    }
    std::unique_ptr<fomFileSelect> form;
};

TEST_F(fomFileSelectTest, ControlsInPlaceLoadedFromTheRecordAndCancelChangesNothing) {
    fomFileSelect& f = open(1, 7);
    EXPECT_EQ(f.windowTitle(), "クイロン 画像設定");
    EXPECT_EQ(f.size(), QSize(321, 241));
    EXPECT_EQ(f.Frame2->geometry(), QRect(8, 104, 305, 97));
    EXPECT_EQ(f.txtChar[1]->geometry(), QRect(56, 64, 209, 18));
    EXPECT_EQ(f.cmdExit->geometry(), QRect(240, 208, 73, 25));
    for (const QWidget* w : {static_cast<QWidget*>(f.optBack[0]), static_cast<QWidget*>(f.chkHour),
                             static_cast<QWidget*>(f.optChar[0]), static_cast<QWidget*>(f.Label2)})
        EXPECT_LE(w->sizeHint().width(), w->width());

    const QList<QWidget*> background = {f.txtBack, f.cmdBack, f.chkMemori, f.chkHour};
    EXPECT_TRUE(f.optBack[1]->isChecked() && f.chkMemori->isChecked() && f.chkHour->isChecked());
    for (const QWidget* control : background) EXPECT_TRUE(control->isEnabled());
    EXPECT_TRUE(f.optChar[1]->isChecked() && f.cmdChar[1]->isEnabled());
    EXPECT_EQ(f.txtBack->text(), kDay);
    EXPECT_EQ(f.txtBack->cursorPosition(), kDay.size());
    const SettingRecord record = window->setting();
    const QImage back = probe().picBack;
    const int saves = fakes.store.saves;
    f.optBack[0]->click();
    f.optChar[0]->click();
    f.txtChar[1]->setText("/pics/b.ico");
    f.cmdCancel->click();
    EXPECT_TRUE(window->setting() == record && probe().picBack == back);
    EXPECT_EQ(fakes.store.saves, saves);

    // Marks kept from a background that could not be read enable nothing under the built-in one.
    for (const int16_t style : {1, 7}) {
        fomFileSelect& g = open(0, style);
        EXPECT_TRUE(g.optBack[0]->isChecked());
        EXPECT_EQ(g.chkHour->isChecked(), style == 7);
        for (const QWidget* control : QList<QWidget*>{g.txtBack, g.cmdBack, g.chkMemori, g.chkHour})
            EXPECT_FALSE(control->isEnabled()) << style;
        EXPECT_EQ(g.txtBack->text(), kDay);
        EXPECT_EQ(g.txtBack->palette().color(QPalette::Base),
                  g.palette().color(QPalette::Active, QPalette::Button));
    }
}

TEST_F(fomFileSelectTest, EnterStoresTheChoiceReloadsAndSavesWhatTheReloadCorrected) {
    for (int bits = 0; bits < 8; ++bits) {
        const bool custom = bits & 1, marks = bits & 2, hours = bits & 4;
        SCOPED_TRACE(bits);
        fomFileSelect& f = open(1, 7);
        f.optBack[custom ? 1 : 0]->click();
        f.chkMemori->setChecked(marks);
        f.chkHour->setChecked(hours);
        f.optChar[0]->click();
        const int saves = fakes.store.saves;
        f.show();
        QTest::keyClick(&f, Qt::Key_Return);
        EXPECT_FALSE(f.isVisible());
        EXPECT_EQ(fakes.store.saves, saves + 1);
        EXPECT_EQ(fakes.store.value("Style"), !custom || !marks ? "1" : hours ? "7" : "3");
        EXPECT_EQ(fakes.store.value("BackType"), custom ? "1" : "0");
        EXPECT_EQ(fakes.store.value("CharType"), "0");
        EXPECT_EQ(fakes.store.value("CharName1"), kCow);
        EXPECT_EQ(window->height(), custom ? 60 : 40);
        EXPECT_EQ(probe().LastDrawnMinute, -1);
    }

    // An empty background path falls back quietly; an unreadable character says so at once.
    fomFileSelect& f = open(0, 1);
    f.optBack[1]->click();
    f.txtBack->clear();
    f.txtChar[0]->setText("/pics/gone.ico");
    bool openWhileShown = false;
    fakes.messages.whileShown = [&] { openWhileShown = f.isVisible(); };
    f.show();
    f.cmdExit->click();
    EXPECT_EQ(fakes.messages.shown,
              QStringList{"ｷｬﾗｸﾀﾌｧｲﾙの[/pics/gone.ico]が読めないので[牛（ルッコラ）]を使用します"});
    EXPECT_TRUE(openWhileShown);
    EXPECT_EQ(fakes.store.value("BackType"), "0");
    EXPECT_EQ(fakes.store.value("CharType"), "0");
    EXPECT_EQ(fakes.store.value("CharName1"), "/pics/gone.ico");
}

TEST_F(fomFileSelectTest, ChooserAndDropsFillOneFrameOrBoth) {
    fomFileSelect& f = open(1, 1);
    fakes.fileDialog.answer = FileDialogAnswer{{"/pics/new.bmp"}, 0, "/pics"};
    f.cmdBack->click();
    const FileDialogRequest back = fakes.fileDialog.requests.back();
    EXPECT_EQ(QStringList({back.title, back.folder, back.fileName, back.types[0].description,
                           back.types[1].description}),
              QStringList({"背景画像の選択", "/pics", "day.bmp", "ﾋﾞｯﾄﾏｯﾌﾟ画像(*.bmp)",
                           "全てのﾌｧｲﾙ(*.*)"}));
    EXPECT_TRUE(back.owner == &f && back.existingOnly && !back.multiple);
    EXPECT_EQ(f.txtBack->text(), "/pics/new.bmp");

    struct Case {
        bool drop;
        int16_t box;
        QStringList files;
        QString frame1, frame2;
    };
    const QStringList three = {"/pics/x.ico", "/pics/y.ico", "/pics/z.ico"};
    for (const Case& c :
         {Case{false, 1, three, "/pics/x.ico", "/pics/y.ico"},
          Case{false, 0, {"/x.ico", "/y.ico"}, "/x.ico", "/y.ico"},
          Case{false, 1, {"/pics/one.ico"}, kCow, "/pics/one.ico"}, Case{false, 1, {}, kCow, ""},
          Case{true, 1, {"/pics/one.ico"}, kCow, "/pics/one.ico"},
          Case{true, 0, {"/pics/one.ico"}, "/pics/one.ico", ""},
          Case{true, 1, three, "/pics/x.ico", "/pics/y.ico"}, Case{true, 0, {}, kCow, ""}}) {
        SCOPED_TRACE(c.files.join(' ').toStdString() + (c.drop ? " dropped" : " chosen"));
        f.txtChar[0]->setText(kCow);
        f.txtChar[1]->clear();
        QMimeData data;
        data.setText("typed");
        QList<QUrl> urls;
        for (const QString& file : c.files) urls << QUrl::fromLocalFile(file);
        if (!urls.isEmpty()) data.setUrls(urls);
        if (c.drop) {
            // Qt hands a drop to the box that accepted the drag's entry.
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(f.txtChar[c.box], &enter);
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(f.txtChar[c.box], &drop);
        } else {
            fakes.fileDialog.answer.reset();
            if (!c.files.isEmpty())
                fakes.fileDialog.answer =
                    FileDialogAnswer{c.files, 0, QFileInfo(c.files[0]).path()};
            f.cmdChar[c.box]->click();
        }
        EXPECT_EQ(f.txtChar[0]->text(), c.frame1);
        EXPECT_EQ(f.txtChar[1]->text(), c.frame2);
    }
    const FileDialogRequest character = fakes.fileDialog.requests.back();
    EXPECT_EQ(character.title + character.types[0].description, "キャラクタの選択ｱｲｺﾝﾌｧｲﾙ(*.ico)");
    EXPECT_TRUE(character.multiple);

    QMimeData two;
    two.setUrls({QUrl::fromLocalFile("/d/b.bmp"), QUrl::fromLocalFile("/d/c.bmp")});
    EXPECT_TRUE(f.txtBack_OLEDragDrop(two));
    EXPECT_EQ(f.txtBack->text(), "/d/b.bmp");
}

}  // namespace
