#include "../ClockFixture.h"
#include "core/BarView.h"
#include "core/TimeText.h"
#include "drawing/StripGeometry.h"

namespace {

TEST(ToolTipText, TwelveHourClockWithoutLeadingZeros) {
    EXPECT_EQ(toolTipText(QTime(0, 0, 0)), "12:0:0 AM");
    EXPECT_EQ(toolTipText(QTime(9, 5, 7)), "9:5:7 AM");
    EXPECT_EQ(toolTipText(QTime(0, 30, 5)), "12:30:5 AM");
    EXPECT_EQ(toolTipText(QTime(12, 0, 0)), "12:0:0 PM");
    EXPECT_EQ(toolTipText(QTime(13, 30, 0)), "1:30:0 PM");
    EXPECT_EQ(toolTipText(QTime(23, 59, 59)), "11:59:59 PM");
}

TEST(CursorRestore, WrapsPastThePictureEnd) {
    const CursorBox box{104, 8, 32, 32};
    EXPECT_EQ(cursorRestore(1440, 704, box), std::vector<BlockCopy>({{704, 8, 32, 32, 104, 8}}));
    // 10 columns left before the end: the other 22 come from the picture's start.
    EXPECT_EQ(cursorRestore(1440, 1430, box),
              std::vector<BlockCopy>({{1430, 8, 32, 32, 104, 8}, {0, 8, 22, 32, 114, 8}}));
    // A picture narrower than the box repeats.
    EXPECT_EQ(cursorRestore(10, 5, box).size(), 4u);
}

class TickTest : public ClockFixture {
protected:
    static constexpr QRgb kMarker = 0xff123456;

    QRgb bar(int x, int y) const { return window->barImage().pixel(x, y); }
    void mark(int x, int y) { probe().picBar->image().setPixel(x, y, kMarker); }
};

TEST_F(TickTest, WithinAMinuteOnlyTheCharacterBoxChanges) {
    start();
    tick(10, 15, 0);
    ASSERT_EQ(probe().LastDrawnMinute, 615);
    mark(0, 0);
    mark(probe().CursorX + 5, probe().CursorY);  // inside the box: restored
    const uint8_t frame = probe().CursorFrame;

    tick(10, 15, 30);
    EXPECT_EQ(probe().LastDrawnMinute, 615);
    EXPECT_EQ(bar(0, 0), kMarker);
    EXPECT_NE(bar(probe().CursorX + 5, probe().CursorY), kMarker);
    EXPECT_NE(probe().CursorFrame, frame);
    EXPECT_EQ(probe().picBar->toolTip(), "10:15:30 AM");
}

TEST_F(TickTest, NewMinuteAndMidnightRedrawTheWholeBar) {
    start();
    tick(10, 15, 59);
    mark(0, 0);
    tick(10, 16, 0);
    EXPECT_EQ(probe().LastDrawnMinute, 616);
    EXPECT_NE(bar(0, 0), kMarker);

    tick(23, 59, 59);
    mark(0, 0);
    tick(0, 0, 0);
    EXPECT_EQ(probe().LastDrawnMinute, 0);
    EXPECT_NE(bar(0, 0), kMarker);
}

TEST_F(TickTest, FramesAlternateEverySecond) {
    const QImage red = filled(32, 32, Qt::red);
    const QImage blue = filled(32, 32, Qt::blue);
    fakes.pictures.files[QStringLiteral("/1.ico")] = red;
    fakes.pictures.files[QStringLiteral("/2.ico")] = blue;
    storeSettings({{"CharType", "1"}, {"CharName1", "/1.ico"}, {"CharName2", "/2.ico"}});
    start();
    const int x = probe().CursorX + 16, y = probe().CursorY + 16;
    tick(8, 0, 0);
    EXPECT_EQ(bar(x, y), QColor(Qt::blue).rgb());  // frame 2 is drawn first
    tick(8, 0, 1);
    EXPECT_EQ(bar(x, y), QColor(Qt::red).rgb());
    tick(8, 0, 2);
    EXPECT_EQ(bar(x, y), QColor(Qt::blue).rgb());
}

TEST_F(TickTest, TransparentPartsOfTheFrameShowThePicture) {
    QImage frame = filled(32, 32, Qt::transparent);
    frame.setPixel(0, 0, QColor(Qt::red).rgba());
    fakes.pictures.files[QStringLiteral("/1.ico")] = frame;
    storeSettings({{"CharType", "1"}, {"CharName1", "/1.ico"}});
    start();
    tick(12, 0, 0);
    tick(12, 0, 1);
    const int x = probe().CursorX, y = probe().CursorY;
    EXPECT_EQ(bar(x, y), QColor(Qt::red).rgb());
    EXPECT_EQ(bar(x + 10, y + 10), probe().picBack.pixel(probe().CursorBackX + 10, y + 10));
}

struct RestoreCase {
    const char* name;
    int pictureWidth;
    QSize frame0, frame1;
    int timeWidth;
    QTime at;
};

void PrintTo(const RestoreCase& row, std::ostream* out) { *out << row.name; }

class RestoreUnderTheCharacter : public TickTest,
                                 public ::testing::WithParamInterface<RestoreCase> {
protected:
    // Every column its own colour, and every other column of a frame see-through, so a
    // column restored from the wrong place shows.
    static QImage columnCoded(int width, int height) {
        QImage image(width, height, QImage::Format_RGB32);
        for (int x = 0; x < width; ++x)
            for (int y = 0; y < height; ++y) image.setPixel(x, y, qRgb(x & 0xff, x >> 8, y));
        return image;
    }
    static QImage striped(QSize size, QColor colour) {
        QImage frame = filled(size.width(), size.height(), Qt::transparent);
        for (int x = 0; x < size.width(); x += 2)
            for (int y = 0; y < size.height(); ++y) frame.setPixelColor(x, y, colour);
        return frame;
    }
};

TEST_P(RestoreUnderTheCharacter, EachSecondEqualsAFullRedrawWithThatFrame) {
    const RestoreCase& row = GetParam();
    fakes.pictures.files[QStringLiteral("/day.bmp")] = columnCoded(row.pictureWidth, 48);
    fakes.pictures.files[QStringLiteral("/1.ico")] = striped(row.frame0, Qt::red);
    fakes.pictures.files[QStringLiteral("/2.ico")] = striped(row.frame1, Qt::blue);
    storeSettings({{"BackType", "1"},
                   {"BackName", "/day.bmp"},
                   {"CharType", "1"},
                   {"CharName1", "/1.ico"},
                   {"CharName2", "/2.ico"},
                   {"TimeWidth", QString::number(row.timeWidth)}});
    start();
    const QTime at = row.at;
    tick(at.hour(), at.minute(), 0);
    for (int second = 1; second <= 3; ++second) {
        tick(at.hour(), at.minute(), second);
        const QImage afterTick = window->barImage().copy();
        probe().LastDrawnMinute = -1;
        probe().CursorFrame ^= 1;  // the redraw draws the same frame again
        tick(at.hour(), at.minute(), second);
        EXPECT_EQ(afterTick, window->barImage()) << "second " << second;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Frames, RestoreUnderTheCharacter,
    ::testing::Values(
        RestoreCase{"EqualWidths", 1440, {32, 32}, {32, 32}, 240, QTime(12, 0)},
        RestoreCase{"WiderSecondFrame", 1440, {32, 32}, {48, 40}, 240, QTime(12, 0)},
        RestoreCase{"WiderFirstFrame", 1440, {48, 40}, {32, 32}, 240, QTime(12, 0)},
        RestoreCase{"OddWidths", 1440, {33, 31}, {47, 40}, 240, QTime(9, 17)},
        RestoreCase{"OddTimeWidth", 1440, {32, 32}, {47, 40}, 241, QTime(9, 17)},
        RestoreCase{"AtThePictureWrap", 1440, {32, 32}, {48, 40}, 240, QTime(0, 0)},
        RestoreCase{"PictureNarrowerThanTheBox", 21, {32, 32}, {47, 40}, 240, QTime(5, 0)},
        RestoreCase{"WidestPictureAtItsEnd", 32767, {32, 32}, {48, 40}, 240, QTime(23, 59)}),
    [](const ::testing::TestParamInfo<RestoreCase>& info) { return info.param.name; });

TEST_F(TickTest, IconRefreshOnlyOnFullRedrawsWithMinuteMonitoring) {
    storeSettings({{"TimeCheckMode", "2"}});
    start();
    fakes.tray.commands.clear();
    tick(9, 0, 58);
    tick(9, 0, 59);
    tick(9, 1, 0);
    EXPECT_EQ(fakes.tray.commands,
              (std::vector<TrayCommand>{TrayCommand::Modify, TrayCommand::Modify}));

    window->setting().TaskTray = 0;
    fakes.tray.commands.clear();
    tick(9, 2, 0);
    EXPECT_TRUE(fakes.tray.commands.empty());
}

}  // namespace
