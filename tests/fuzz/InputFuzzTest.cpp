// Random and mutated input from outside the program, a fixed number of cases from fixed seeds,
// so that a failure repeats: settings text, and picture files as the user may choose them.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageWriter>
#include <QTemporaryDir>
#include <algorithm>
#include <random>

#include "core/SettingKeys.h"
#include "core/fomBarClock.h"
#include "platform/fake/Fakes.h"
#include "tests/ClockProbe.h"

namespace {

using Random = std::mt19937;

int below(Random& random, int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); }

// Edits that decoders and parsers stumble on: random, flipped and extreme bytes, cuts, and
// 32-bit extremes where sizes and offsets live; mostly near the start, where the headers are.
QByteArray mutated(QByteArray bytes, Random& random) {
    for (int edits = 1 + below(random, 8); edits > 0 && !bytes.isEmpty(); --edits) {
        const int size = static_cast<int>(bytes.size());
        const int at = below(random, 4) ? below(random, std::min(size, 64)) : below(random, size);
        switch (below(random, 5)) {
            case 0:
                bytes[at] = static_cast<char>(random());
                break;
            case 1:
                bytes[at] = static_cast<char>(bytes[at] ^ (1 << below(random, 8)));
                break;
            case 2:
                bytes[at] = "\x00\x01\x7f\x80\xff"[below(random, 5)];
                break;
            case 3:
                bytes.truncate(at);
                break;
            case 4: {
                const quint32 extremes[] = {0x7fffffff, 0x80000000, 0xffffffff, 32768, 65535, 0};
                const quint32 value = extremes[below(random, 6)];
                for (int i = 0; i < 4 && at + i < size; ++i)
                    bytes[at + i] = static_cast<char>(value >> (8 * i));
            }
        }
    }
    return bytes;
}

QByteArray randomBytes(Random& random, int length) {
    QByteArray bytes(length, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random());
    return bytes;
}

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(image);
    return bytes;
}

QImage sample(int width, int height, QImage::Format format) {
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgba(x * 16, y * 16, 99, x * 8));
    return image.convertToFormat(format);
}

// The text of a setting: a sensible value, one edited, an extreme one, or noise.
QString settingText(Random& random, const QString& sensible) {
    static const QStringList extremes{
        "",         " ",    "-1",   "32767", "32768", "-32768", "-32769", "99999999999",
        "1e400",    "-0.5", "12.5", "nan",   "inf",   "0x10",   "１２",   "2026/02/30 25:61:61",
        "/day.bmp", "!"};
    switch (below(random, 4)) {
        case 0:
            return sensible;
        case 1:
            return QString::fromUtf8(mutated(sensible.toUtf8(), random));
        case 2:
            return extremes[below(random, static_cast<int>(extremes.size()))];
        default:
            return QString::fromUtf8(randomBytes(random, below(random, 12)));
    }
}

void expectUsablePictures(fomBarClock& window) {
    const fomBarClockProbe in(window);
    const int W = in.picBack.width(), H = in.picBack.height();
    ASSERT_TRUE(W >= 1 && W <= kLargestPictureSide && H >= 1 && H <= kLargestPictureSide)
        << W << " x " << H;
    for (const QImage& frame : in.picCursor) ASSERT_FALSE(frame.isNull());
}

// Minutes change and the day wraps: both redraws and in-minute restores run.
void tickOverMidnight(fomBarClock& window, FakeClock& clock) {
    for (const QTime& at : {QTime(23, 59, 58), QTime(23, 59, 59), QTime(0, 0), QTime(0, 0, 1)}) {
        clock.setTime(at);
        window.TimePrint(clock.now());
    }
    const fomBarClockProbe in(window);
    EXPECT_EQ(in.LastDrawnMinute, 0);
    EXPECT_TRUE(in.CursorBackX >= 0 && in.CursorBackX < in.picBack.width());
    EXPECT_TRUE(in.CursorFrame == 0 || in.CursorFrame == 1);
}

TEST(InputFuzz, SettingsTextLoadsIntoValuesTheClockRunsOn) {
    // Settings that reach every part of the clock: user pictures, marks, alarm, chime, checks.
    const QStringList sensible =
        QStringLiteral(
            "Style=3|TimeWidth=240|Left=1500|Top=1500|BackType=1|CharType=1|BackName=/day.bmp|"
            "CharName1=/1.ico|CharName2=/2.ico|WordSize=12|TmpMode=0|TmpEnvName=TMP|"
            "TmpFileName=~df*.tmp|LastTime=2026/12/01 7:00:00|TimeCheckLength=7|TimeCheckMode=3|"
            "AlarmMode=31|AlarmTime=0|AlarmName1=/a.wav|AlarmName2=!true|TaskTray=1|TopMost=1|"
            "AlarmWake=1")
            .split(u'|');
    Random random(20261207);
    for (int run = 0; run < 2000; ++run) {
        SCOPED_TRACE(run);
        FakePlatform fakes;
        fakes.pictures.files["/day.bmp"] = sample(720, 30, QImage::Format_RGB32);
        fakes.pictures.files["/1.ico"] = sample(16, 16, QImage::Format_ARGB32);
        fakes.pictures.files["/2.ico"] = sample(33, 20, QImage::Format_ARGB32);
        for (const SettingKey& setting : kSettingKeys) {
            const QString key = setting.name.toString();
            const auto line = std::ranges::find_if(
                sensible, [&](const QString& s) { return s.section(u'=', 0, 0) == key; });
            ASSERT_NE(line, sensible.end()) << qPrintable(key);
            if (below(random, 8)) fakes.store.set(key, settingText(random, line->section(u'=', 1)));
        }

        fomBarClock window(fakes.platform(), QStringLiteral("/opt/quillon/"));
        // A stored LastTime far off gives the clock's warning, which must not wait for a click.
        int warnings = 0;
        window.setMessageWindow([&](const QString&) { ++warnings; });
        window.Form_Load();
        fomBarClockProbe(window).Form_Activate();
        ASSERT_NO_FATAL_FAILURE(expectUsablePictures(window));
        tickOverMidnight(window, fakes.clock);
        EXPECT_TRUE(window.setting().LastTime.isValid());
        // One event gives one warning, however the monitoring is set.
        EXPECT_LE(warnings, 2);

        // What was loaded saves and loads back the same.
        window.SettingSave();
        fomBarClock again(fakes.platform(), QStringLiteral("/opt/quillon/"));
        again.Form_Load();
        SettingRecord reloaded = again.setting();
        reloaded.LastTime = window.setting().LastTime;
        EXPECT_TRUE(reloaded == window.setting());
        EXPECT_EQ(fomBarClockProbe(again).twips.Left(), fomBarClockProbe(window).twips.Left());
        EXPECT_EQ(fomBarClockProbe(again).twips.Top(), fomBarClockProbe(window).twips.Top());
    }
}

TEST(InputFuzz, PictureBytesGiveThatPictureOrTheFallBack) {
    const QList<QByteArray> bitmaps{encoded(sample(13, 7, QImage::Format_Mono), "bmp"),
                                    encoded(sample(16, 5, QImage::Format_Indexed8), "bmp"),
                                    encoded(sample(9, 4, QImage::Format_RGB32), "bmp"),
                                    encoded(sample(8, 8, QImage::Format_ARGB32), "bmp")};
    const QList<QByteArray> icons{encoded(sample(16, 16, QImage::Format_ARGB32), "ico"),
                                  encoded(sample(32, 32, QImage::Format_ARGB32), "ico")};
    for (const QByteArray& seed : bitmaps + icons) ASSERT_FALSE(seed.isEmpty());

    QTemporaryDir folder;
    const QString back = folder.filePath("back.bmp"), frame1 = folder.filePath("1.ico"),
                  frame2 = folder.filePath("2.ico");
    const auto write = [](const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    FakePlatform fakes;
    const QtPictureLoader pictures;
    const Platform platform{fakes.clock,      fakes.store,      fakes.display, fakes.windowOrder,
                            fakes.tray,       fakes.messages,   pictures,      fakes.clipboard,
                            fakes.wave,       fakes.media,      fakes.ticks,   fakes.programs,
                            fakes.fileDialog, fakes.tempFolder, fakes.wake};
    fomBarClock window(platform, QStringLiteral("/opt/quillon/"));
    window.Form_Load();

    Random random(7);
    const auto pick = [&](const QList<QByteArray>& seeds) {
        if (below(random, 10) == 0) return randomBytes(random, below(random, 200));
        return mutated(seeds[below(random, static_cast<int>(seeds.size()))], random);
    };
    for (int run = 0; run < 4000; ++run) {
        SCOPED_TRACE(run);
        write(back, pick(bitmaps));
        write(frame1, pick(icons + bitmaps));
        write(frame2, pick(icons));
        SettingRecord& s = window.setting();
        s.BackType = s.CharType = 1;
        s.BackName = back;
        s.CharName1 = frame1;
        s.CharName2 = frame2;
        fakes.messages.shown.clear();
        window.PicLoad();
        for (const QString& message : fakes.messages.shown)
            EXPECT_TRUE(message.startsWith("背景ﾌｧｲﾙの[") || message.startsWith("ｷｬﾗｸﾀﾌｧｲﾙの["));
        ASSERT_NO_FATAL_FAILURE(expectUsablePictures(window));
        tickOverMidnight(window, fakes.clock);
    }
}

}  // namespace
