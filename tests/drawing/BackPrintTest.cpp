#include <QPalette>

#include "../ClockFixture.h"
#include "drawing/MemoriPlan.h"
#include "drawing/StripGeometry.h"

namespace {

// A picture whose every column has its own colour, so a bar pixel tells its source column.
QImage columnCoded(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y) image.setPixel(x, y, qRgb(x & 0xff, x >> 8, 7));
    return image;
}

int sourceColumn(QRgb pixel) { return qRed(pixel) | qGreen(pixel) << 8; }

class BackPrintTest : public ClockFixture {
protected:
    void startWithPicture(int width) {
        fakes.pictures.files[QStringLiteral("/day.bmp")] = columnCoded(width, 40);
        storeSettings({{"BackType", "1"}, {"BackName", "/day.bmp"}});
        start();
    }
    // Row 0 lies above the character, so it shows the picture alone.
    int shownColumn(int barColumn) const {
        return sourceColumn(window->barImage().pixel(barColumn, 0));
    }
};

TEST_F(BackPrintTest, NoonIsOneCopyCentredOnTheMinute) {
    startWithPicture(1440);
    tick(12, 0, 0);
    for (int c : {0, 120, 239}) EXPECT_EQ(shownColumn(c), 600 + c) << c;
    EXPECT_EQ(probe().CursorBackX, 720 - 16);
}

TEST_F(BackPrintTest, MidnightWrapsAroundThePictureEnd) {
    startWithPicture(1440);
    tick(0, 0, 0);
    EXPECT_EQ(shownColumn(0), 1320);
    EXPECT_EQ(shownColumn(119), 1439);
    EXPECT_EQ(shownColumn(120), 0);
    EXPECT_EQ(shownColumn(239), 119);
    EXPECT_EQ(probe().CursorBackX, 1440 - 16);
}

TEST_F(BackPrintTest, NarrowPictureRepeatsAcrossTheBar) {
    startWithPicture(100);
    tick(0, 30, 0);
    for (int c = 0; c < 240; c += 7) EXPECT_EQ(shownColumn(c), (82 + c) % 100) << c;
}

// Whatever the picture's width and the span: every bar column shows the picture column after
// its left neighbour's, wrapping at the picture's end, and the middle shows the present minute.
TEST(BackStrip, FillsTheBarWithTheDayCentredOnTheMinute) {
    for (const int W : {1, 21, 100, 239, 1440, 1441, 2880})
        for (const int timeWidth : {120, 241, 360})
            for (const int minute : {0, 1, 359, 720, 1439}) {
                const QImage picture = columnCoded(W, 1);
                QImage bar(timeWidth, 1, QImage::Format_RGB32);
                bar.fill(qRgb(255, 255, 0));  // no picture column
                for (const BlockCopy& copy : backStrip(minute, W, 1, timeWidth, 0).copies)
                    copyBlock(bar, picture, copy);
                const auto shown = [&](int c) { return sourceColumn(bar.pixel(c, 0)); };
                const int first = shown(0);
                for (int c = 1; c < timeWidth; ++c)
                    ASSERT_EQ(shown(c), (first + c) % W) << W << " " << timeWidth << " " << minute;
                const int now = static_cast<int>(std::lround(minute * W / 1440.0)) % W;
                const int off = std::abs(shown(timeWidth / 2) - now);
                EXPECT_LE(std::min(off, W - off), 1) << W << " " << timeWidth << " " << minute;
            }
}

int tickLengthAt(const MemoriPlan& plan, int x) {
    for (const MemoriTick& tick : plan.ticks)
        if (tick.x == x) return tick.length;
    return 0;
}

TEST(MemoriPlanTest, DensityFollowsPixelsPerHour) {
    // 12 points at 96 dpi: 16 pixels.
    const MemoriPlan full = memoriPlan(1440, 40, false, 16, 16);
    EXPECT_EQ(full.MarkDensity, 3);
    EXPECT_EQ(full.labels.size(), 25u);
    EXPECT_EQ(full.labels[1].text, "1");
    EXPECT_EQ(full.labels[1].x, 56);
    EXPECT_EQ(full.labels[10].x, 592);
    for (const MemoriLabel& label : full.labels) EXPECT_EQ(label.y, 40 - 36);
    EXPECT_EQ(tickLengthAt(full, 0), 8);
    EXPECT_EQ(tickLengthAt(full, 30), 8);  // half hour
    EXPECT_EQ(tickLengthAt(full, 10), 5);
    EXPECT_EQ(tickLengthAt(full, 5), 0);

    const MemoriPlan four = memoriPlan(480, 40, false, 16, 16);
    EXPECT_EQ(four.MarkDensity, 2);
    EXPECT_EQ(tickLengthAt(four, 20), 8);
    EXPECT_EQ(tickLengthAt(four, 10), 4);

    const MemoriPlan two = memoriPlan(240, 40, false, 16, 16);
    EXPECT_EQ(two.MarkDensity, 1);
    EXPECT_EQ(two.labels.size(), 9u);  // every third hour

    const MemoriPlan sparse = memoriPlan(96, 40, false, 16, 16);
    EXPECT_EQ(sparse.MarkDensity, 0);
    EXPECT_EQ(sparse.labels.size(), 3u);
    EXPECT_EQ(sparse.ticks.size(), 8u);  // every three hours

    EXPECT_EQ(memoriPlan(2880, 40, false, 16, 16).MarkDensity, 4);
}

TEST(MemoriPlanTest, BothEndsCarryTheSameLabel) {
    const MemoriPlan twelve = memoriPlan(1440, 40, false, 16, 16);
    EXPECT_EQ(twelve.labels.front().text, "12");
    EXPECT_EQ(twelve.labels.back().text, "12");
    EXPECT_EQ(twelve.labels[13].text, "1");
    const MemoriPlan day = memoriPlan(1440, 40, true, 16, 16);
    EXPECT_EQ(day.labels.front().text, "0");
    EXPECT_EQ(day.labels.back().text, "0");
    EXPECT_EQ(day.labels[13].text, "13");
}

class AddMemoriTest : public ClockFixture {};

TEST_F(AddMemoriTest, TicksAreDrawnIntoAUserPicture) {
    fakes.pictures.files[QStringLiteral("/plain.bmp")] = filled(1440, 40, Qt::darkGreen);
    storeSettings({{"BackType", "1"}, {"BackName", "/plain.bmp"}, {"Style", "3"}});
    start();
    const QImage& back = probe().picBack;
    const QRgb text = QPalette().color(QPalette::WindowText).rgb();
    const QRgb halo = QPalette().color(QPalette::Window).rgb();
    // The 1:00 tick at column 60: 8 pixels tall on the bottom edge, bordered.
    EXPECT_EQ(back.pixel(60, 39), text);
    EXPECT_EQ(back.pixel(60, 32), text);
    EXPECT_EQ(back.pixel(60, 31), halo);
    EXPECT_EQ(back.pixel(59, 35), halo);
    EXPECT_EQ(back.pixel(61, 35), halo);
    // Between ticks the picture is untouched.
    EXPECT_EQ(back.pixel(63, 39), QColor(Qt::darkGreen).rgb());
}

TEST_F(AddMemoriTest, NothingOnTheBuiltInPictureOrWithoutTheFlag) {
    storeSettings({{"Style", "3"}});
    start();
    EXPECT_EQ(probe().picBack, probe().picOBack);

    fakes.pictures.files[QStringLiteral("/plain.bmp")] = filled(1440, 40, Qt::darkGreen);
    window->setting().BackType = 1;
    window->setting().BackName = QStringLiteral("/plain.bmp");
    window->setting().Style = 5;
    window->PicLoad();
    EXPECT_EQ(probe().picBack,
              filled(1440, 40, Qt::darkGreen).convertToFormat(QImage::Format_RGB32));
}

}  // namespace
