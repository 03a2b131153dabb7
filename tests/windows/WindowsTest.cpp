#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>

#include "platform/fake/Fakes.h"
#include "windows/fomMessage.h"
#include "windows/fomVersion.h"

namespace {

const QString kText = QStringLiteral("念のためですが、前回より時計が戻ってます。");

TEST(fomMessageTest, ControlsInPlaceTextFitsOnlyEnterCloses) {
    FakePlatform fakes;
    fomMessage form(fakes.platform());
    EXPECT_EQ(form.windowTitle(), "クイロン");
    EXPECT_EQ(form.size(), QSize(257, 97));
    EXPECT_EQ(form.lblMessage->geometry(), QRect(8, 16, 241, 49));
    EXPECT_EQ(form.cmdExit->geometry(), QRect(96, 64, 65, 25));
    form.lblMessage->setText(kText);
    EXPECT_LE(form.lblMessage->heightForWidth(241), 49);
    form.show();
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_TRUE(form.isVisible());
    QTest::keyClick(&form, Qt::Key_Return);
    EXPECT_FALSE(form.isVisible());
}

TEST(fomMessageTest, EveryActivationShowsTheTextBeepsAndComesToTheFront) {
    FakePlatform fakes;
    fomMessage form(fakes.platform());
    form.setMessage(kText);
    for (int activation = 1; activation <= 2; ++activation) {
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&form, &activate);
        EXPECT_EQ(fakes.clipboard.beeps, activation);
    }
    EXPECT_EQ(form.lblMessage->text(), kText);
    EXPECT_EQ(fakes.windowOrder.calls, QStringList({"BringToFront", "BringToFront"}));
}

TEST(fomVersionTest, ControlsInPlaceTextsFitEnterAndEscClose) {
    FakePlatform fakes;
    QRandomGenerator random(1);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        fomVersion form(fakes.platform(), random);
        EXPECT_EQ(form.windowTitle(), "クイロン ﾊﾞｰｼﾞｮﾝ情報");
        EXPECT_EQ(form.size(), QSize(305, 106));
        EXPECT_EQ(form.Label1->text(),
                  QStringLiteral("クイロン for %1bit-Linux Version 1.5").arg(QT_POINTER_SIZE * 8));
        EXPECT_EQ(form.Image1->geometry(), QRect(16, 16, 34, 34));
        EXPECT_EQ(form.cmdExit->geometry(), QRect(224, 72, 73, 25));
        for (const QLabel* label : {form.Label1, form.Label2, form.Label3})
            EXPECT_LE(label->sizeHint().width(), label->width());
        form.show();
        QTest::keyClick(&form, key);
        EXPECT_FALSE(form.isVisible()) << key;
    }
}

TEST(fomVersionTest, PictureRestsMovesAndRestsAgainWithinItsWaits) {
    FakePlatform fakes;
    QRandomGenerator random(2026);
    fomVersion form(fakes.platform(), random);
    const auto shows = [&](const QPixmap& picture, int flag, int shortest, int longest) {
        const int wait = form.Timer1.interval();
        return form.Image1->pixmap().cacheKey() == picture.cacheKey() && form.ImageFlag == flag &&
               form.Timer1.isActive() && wait >= shortest && wait <= longest;
    };
    EXPECT_TRUE(shows(form.Image2, 0, 5000, 9999));
    int blinks = 0;
    for (int move = 0; move < 20; ++move) {
        form.Timer1_Timer();
        blinks += shows(form.Image4, 1, 400, 400);
        EXPECT_TRUE(shows(form.Image3, 1, 500, 1499) || shows(form.Image4, 1, 400, 400));
        form.Timer1_Timer();
        EXPECT_TRUE(shows(form.Image2, 0, 2000, 4999));
    }
    EXPECT_TRUE(blinks > 0 && blinks < 10) << blinks;
}

}  // namespace
