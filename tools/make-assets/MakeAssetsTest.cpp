#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>
#include <QtEndian>

#include "Assets.h"
#include "BitmapWriter.h"
#include "Drawings.h"
#include "IconWriter.h"
#include "Sounds.h"
#include "WaveWriter.h"

namespace {

QImage read(const QByteArray& bytes, const char* format) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    return reader.read().convertToFormat(QImage::Format_ARGB32);
}

uint32_t u32At(const QByteArray& bytes, int offset) {
    return qFromLittleEndian<uint32_t>(bytes.constData() + offset);
}

uint16_t u16At(const QByteArray& bytes, int offset) {
    return qFromLittleEndian<uint16_t>(bytes.constData() + offset);
}

}  // namespace

TEST(BitmapWriter, OddWidthRoundTripsPixelForPixel) {
    // 13 pixels make 6.5 bytes a row: both the half byte and the row padding are exercised.
    PixelGrid grid(13, 5);
    for (int y = 0; y < grid.height(); ++y)
        for (int x = 0; x < grid.width(); ++x) grid.set(x, y, (x * 3 + y * 5) % 16);

    const QByteArray bytes = encodeBmp4(grid);
    EXPECT_EQ(u32At(bytes, 2), uint32_t(bytes.size()));
    EXPECT_EQ(u16At(bytes, 28), 4);  // bits per pixel
    EXPECT_EQ(bytes.size(), 14 + 40 + 64 + 8 * 5);

    const QImage image = read(bytes, "bmp");
    ASSERT_EQ(image.size(), QSize(13, 5));
    for (int y = 0; y < grid.height(); ++y)
        for (int x = 0; x < grid.width(); ++x)
            ASSERT_EQ(image.pixel(x, y), kPalette[grid.at(x, y)]) << x << "," << y;
}

TEST(IconWriter, MaskedPixelsAndOnlyThoseAreTransparent) {
    for (const int size : {16, 32}) {
        PixelGrid grid(size, size);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                if ((x * 7 + y * 3) % 5 != 0) grid.set(x, y, (x + y) % 16);

        const QImage image = read(encodeIco4(grid), "ico");
        ASSERT_EQ(image.size(), QSize(size, size));
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                if (grid.at(x, y) == kClear)
                    ASSERT_EQ(qAlpha(image.pixel(x, y)), 0) << size << ": " << x << "," << y;
                else
                    ASSERT_EQ(image.pixel(x, y), kPalette[grid.at(x, y)])
                        << size << ": " << x << "," << y;
            }
    }
}

TEST(WaveWriter, HeaderDescribesSixteenBitMono) {
    const QByteArray bytes = encodeWav16({0, -2, 0x1234}, 22050);
    ASSERT_EQ(bytes.size(), 44 + 6);
    EXPECT_EQ(bytes.left(4), "RIFF");
    EXPECT_EQ(u32At(bytes, 4), 36u + 6);
    EXPECT_EQ(bytes.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(u32At(bytes, 16), 16u);
    EXPECT_EQ(u16At(bytes, 20), 1);  // PCM
    EXPECT_EQ(u16At(bytes, 22), 1);  // mono
    EXPECT_EQ(u32At(bytes, 24), 22050u);
    EXPECT_EQ(u32At(bytes, 28), 44100u);  // bytes a second
    EXPECT_EQ(u16At(bytes, 32), 2);
    EXPECT_EQ(u16At(bytes, 34), 16);
    EXPECT_EQ(bytes.mid(36, 4), "data");
    EXPECT_EQ(u32At(bytes, 40), 6u);
    EXPECT_EQ(int16_t(u16At(bytes, 46)), -2);
    EXPECT_EQ(u16At(bytes, 48), 0x1234);
}

TEST(Drawings, LoadWithTheSizesTheClockDrawsWith) {
    EXPECT_EQ(read(encodeBmp4(drawAlps()), "bmp").size(), QSize(1440, 40));
    for (const CowPose pose : {CowPose::HeadUp, CowPose::HeadDown, CowPose::EyesClosed})
        for (const bool pointer : {true, false}) {
            const QImage cow = read(encodeIco4(drawCow(pose, pointer)), "ico");
            EXPECT_EQ(cow.size(), QSize(32, 32));
            EXPECT_EQ(qAlpha(cow.pixel(0, 0)), 0);  // the bar must show through
        }
    EXPECT_EQ(read(encodeIco4(drawTrayClock()), "ico").size(), QSize(16, 16));
    EXPECT_EQ(read(encodeIco4(drawNote()), "ico").size(), QSize(16, 16));
}

// The day strip: one column a minute, read by the bar at any offset.
class Alps : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_alps = new PixelGrid(drawAlps()); }
    static void TearDownTestSuite() { delete s_alps; }

    static uint8_t at(int x, int y) { return s_alps->at((x % 1440 + 1440) % 1440, y); }
    static bool onSign(int x, int y) {
        const uint8_t c = at(x, y);
        return c == Yellow || c == Wood || c == Black;
    }
    // Rows of the board on the post at `column`: climb the post from the meadow to the board.
    static std::vector<int> boardRows(int column) {
        int y = 35;
        while (y > 0 && !onSign(column, y)) --y;
        std::vector<int> rows;
        for (; y >= 0 && onSign(column, y); --y)
            if (onSign(column - 2, y) && onSign(column + 2, y)) rows.insert(rows.begin(), y);
        return rows;
    }

    static PixelGrid* s_alps;
};
PixelGrid* Alps::s_alps = nullptr;

TEST_F(Alps, EveryHourHasASignCentredOnItsColumn) {
    for (int hour = 0; hour < 24; ++hour) {
        const int column = hour * 60;
        const std::vector<int> rows = boardRows(column);
        ASSERT_GE(rows.size(), 5u) << hour;
        const int middle = rows[rows.size() / 2];
        int left = 0, right = 0;
        while (onSign(column - left - 1, middle)) ++left;
        while (onSign(column + right + 1, middle)) ++right;
        EXPECT_EQ(left, right) << "hour " << hour;  // also across the strip's ends for 0:00
        EXPECT_GE(left, 3) << "hour " << hour;
    }
}

TEST_F(Alps, SignsCountTwelveHoursTwice) {
    const auto label = [](int hour) {
        std::vector<bool> ink;
        for (const int y : boardRows(hour * 60))
            for (int dx = -5; dx <= 5; ++dx) ink.push_back(at(hour * 60 + dx, y) == Black);
        return ink;
    };
    for (int hour = 0; hour < 12; ++hour) {
        EXPECT_EQ(label(hour), label(hour + 12)) << hour;
        EXPECT_NE(label(hour), label(hour + 1)) << hour;
    }
}

TEST_F(Alps, TicksMarkTenMinutesAndHoursStandTaller) {
    for (int x = 0; x < 1440; ++x) {
        ASSERT_EQ(at(x, 39) == Black, x % 10 == 0) << x;
        ASSERT_EQ(at(x, 36) == Black, x % 60 == 0) << x;
    }
}

TEST_F(Alps, SkyIsNightAtBothEndsAndDayAroundNoon) {
    const auto night = [](uint8_t c) { return c == Night || c == White || c == LightRock; };
    for (const int minute : {0, 120, 1439}) EXPECT_TRUE(night(at(minute, 0))) << minute;
    for (const int minute : {600, 900}) EXPECT_EQ(at(minute, 0), Sky) << minute;
}

TEST(Drawings, CowFramesDifferOnlyAroundTheHeadAndPointAtTheCentre) {
    const PixelGrid up = drawCow(CowPose::HeadUp, true);
    const PixelGrid down = drawCow(CowPose::HeadDown, true);
    // Head, neck and bell sit in front of the body and above the stand, clear of the legs.
    const auto nearHead = [](int x, int y) { return x < 16 && y < 23 && !(x >= 11 && y >= 19); };
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (!nearHead(x, y)) {
                ASSERT_EQ(up.at(x, y), down.at(x, y)) << x << "," << y;
            }
    // The bar centres the picture on the present minute, so the tip must be the middle two.
    for (int x = 0; x < 32; ++x) EXPECT_EQ(up.at(x, 31) != kClear, x == 15 || x == 16) << x;
}

TEST(Assets, WritesEveryFileTheProgramLoads) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_EQ(writeAssets(folder.path()), QString());
    for (const char* name :
         {"alps.bmp", "cow0.ico", "cow1.ico", "pose0.ico", "pose1.ico", "pose2.ico", "tray.ico",
          "note.ico", "Tolla.wav", "Gongo.wav", "Default.wav"}) {
        const QFileInfo file(QDir(folder.path()).filePath(name));
        EXPECT_TRUE(file.exists()) << name;
        EXPECT_GT(file.size(), 44) << name;
    }
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const QImage icon(
            QDir(folder.path()).filePath(QStringLiteral("icons/quillon-%1.png").arg(size)));
        EXPECT_EQ(icon.size(), QSize(size, size));
        // Drawn on a clear ground: the menus' own background shows around the cow.
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << size;
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255) << size;
    }
    EXPECT_NE(writeAssets(folder.filePath("missing")), QString());
}

TEST(Sounds, FitTheirSlotsWithoutClipping) {
    const auto seconds = [](const std::vector<int16_t>& s) {
        return s.size() / double(kSampleRate);
    };
    const auto peak = [](const std::vector<int16_t>& s) {
        int loudest = 0;
        for (const int16_t v : s) loudest = std::max(loudest, std::abs(int(v)));
        return loudest / 32768.0;
    };
    const std::vector<int16_t> alarm = synthAlarm();
    const std::vector<int16_t> chime = synthChime();
    EXPECT_GE(seconds(alarm), 2.0);
    EXPECT_LE(seconds(alarm), 4.0);
    EXPECT_LE(seconds(chime), 2.0);
    EXPECT_LT(peak(alarm), 0.95);
    EXPECT_LT(peak(chime), 0.95);
    // Silent at both ends, so a strike repeated back to back does not click.
    EXPECT_LT(std::abs(int(chime.front())), 50);
    EXPECT_LT(std::abs(int(chime.back())), 50);
    const std::vector<int16_t> ding = synthDefault();
    EXPECT_LE(seconds(ding), 0.5);
    EXPECT_LT(peak(ding), 0.95);
    EXPECT_LT(std::abs(int(ding.back())), 50);
}
