#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include "WaveBytes.h"
#include "platform/MultimediaBackend.h"
#include "platform/MultimediaModule.h"
#include "platform/ProgramStarter.h"
#include "platform/QtMediaControl.h"
#include "platform/QtWaveSound.h"
#include "platform/fake/Fakes.h"

// For comparing and showing the media control's answers; found through MediaControl.
static bool operator==(const MediaControl::Millis& a, const MediaControl::Millis& b) {
    return a.ms == b.ms && a.error == b.error;
}
static void PrintTo(const MediaControl::Millis& millis, std::ostream* out) {
    if (millis.error)
        *out << "error " << static_cast<int>(*millis.error);
    else
        *out << millis.ms << " ms";
}

namespace {

// Records what the wrappers ask of the module.
class FakeBackend final : public MultimediaBackend {
public:
    void prepare(const QString& path) override { prepared << path; }
    int64_t playWave(const QString& path) override {
        played << path;
        return wavePlays ? waveLengths.value(path, 0) : -1;
    }
    void stopWave() override { ++waveStops; }
    bool openMedia(const QString& path) override {
        opened << path;
        return mediaOpens;
    }
    int64_t mediaLength() override { return length; }
    bool playMedia() override { return ++mediaPlays, mediaStarts; }
    int64_t mediaPosition() override { return position; }
    void closeMedia() override { ++mediaCloses; }
    void release() override {}

    QStringList prepared;
    QStringList played;
    QStringList opened;
    QMap<QString, int64_t> waveLengths;
    bool wavePlays = true;
    bool mediaOpens = true;
    bool mediaStarts = true;
    int waveStops = 0;
    int mediaPlays = 0;
    int mediaCloses = 0;
    int64_t length = 2500;
    int64_t position = 0;
};

class FakeSource final : public MultimediaSource {
public:
    MultimediaBackend* backend() override {
        ++loads;
        loaded = available;
        return available ? &fake : nullptr;
    }
    MultimediaBackend* loadedBackend() const override { return loaded ? &fake : nullptr; }

    mutable FakeBackend fake;
    bool available = true;
    bool loaded = false;
    int loads = 0;
};

using Overlap = WaveSound::Overlap;
using WaveError = WaveSound::Error;
using MediaError = MediaControl::Error;

class QtWaveSoundTest : public ::testing::Test {
protected:
    QtWaveSoundTest() {
        ticks.step = 0;
        half = writeFile(folder, QStringLiteral("half.wav"), waveBytes({}));  // 500 ms
        ding = writeFile(folder, QStringLiteral("ding.wav"), waveBytes({.frames = 800}));
        source.fake.waveLengths = {{half, 500}, {ding, 100}};
    }

    QTemporaryDir folder;
    QString half, ding;
    FakeTickCounter ticks;
    FakeSource source;
    QtWaveSound wave{source, ticks, folder.filePath(QStringLiteral("ding.wav"))};
};

TEST_F(QtWaveSoundTest, StoppingBeforeAnySoundLeavesTheModuleUnloaded) {
    wave.stop();
    EXPECT_EQ(source.loads, 0);
    EXPECT_EQ(wave.play(half, Overlap::CutOff), std::nullopt);
    EXPECT_EQ(source.loads, 1);
    wave.stop();
    EXPECT_EQ(source.fake.waveStops, 1);
}

TEST_F(QtWaveSoundTest, StillSoundingFollowsTheFileLengthAcrossTheWrap) {
    ticks.now = 0xffffff00u;
    EXPECT_EQ(wave.play(half, Overlap::CutOff), std::nullopt);
    ticks.now += 499;
    EXPECT_EQ(wave.play(half, Overlap::AfterItsEnd), WaveError::StillSounding);
    ticks.now += 1;
    EXPECT_EQ(wave.play(half, Overlap::AfterItsEnd), std::nullopt);
    // Cutting off, a sounding wave is cut off.
    ticks.now += 10;
    EXPECT_EQ(wave.play(ding, Overlap::CutOff), std::nullopt);
    EXPECT_EQ(source.fake.played, QStringList({half, half, ding}));

    // A stop ends the sound at once.
    wave.stop();
    EXPECT_EQ(wave.play(ding, Overlap::AfterItsEnd), std::nullopt);
}

TEST_F(QtWaveSoundTest, DefaultSoundIsTheGivenFile) {
    EXPECT_EQ(wave.defaultSound(), ding);
    EXPECT_EQ(wave.play(wave.defaultSound(), Overlap::CutOff), std::nullopt);
    const QString missing = folder.filePath(QStringLiteral("missing.wav"));
    EXPECT_EQ(wave.play(missing, Overlap::CutOff), WaveError::CannotPlay);
    EXPECT_EQ(source.fake.played, QStringList{ding});

    QtWaveSound noDefault(source, ticks, missing);
    EXPECT_EQ(noDefault.play(noDefault.defaultSound(), Overlap::CutOff), WaveError::CannotPlay);
}

TEST_F(QtWaveSoundTest, WhatIsNotAFileFailsWithoutLoadingTheModule) {
    const QString missing = folder.filePath(QStringLiteral("missing.wav"));
    for (const QString& path : {missing, folder.path(), QString()}) {
        EXPECT_EQ(wave.play(path, Overlap::CutOff), WaveError::CannotPlay) << path.toStdString();
        EXPECT_EQ(wave.play(path, Overlap::AfterItsEnd), WaveError::CannotPlay)
            << path.toStdString();
        wave.prepare(path);
    }
    EXPECT_EQ(source.loads, 0);

    wave.prepare(half);
    EXPECT_EQ(source.fake.prepared, QStringList{half});
    EXPECT_TRUE(source.fake.played.isEmpty());
}

TEST_F(QtWaveSoundTest, RefusesWhatItCannotDo) {
    source.fake.wavePlays = false;
    EXPECT_EQ(wave.play(half, Overlap::CutOff), WaveError::CannotPlay);
    // A failed start leaves nothing sounding.
    source.fake.wavePlays = true;
    EXPECT_EQ(wave.play(ding, Overlap::AfterItsEnd), std::nullopt);

    FakeSource none;
    none.available = false;
    QtWaveSound withoutModule(none, ticks, ding);
    EXPECT_EQ(withoutModule.play(half, Overlap::CutOff), WaveError::CannotPlay);
}

TEST(QtMediaControlTest, AnswersTheTypedCalls) {
    FakeSource source;
    QtMediaControl media(source);
    QTemporaryDir folder;
    const QString tune = writeFile(folder, QStringLiteral("a tune.ogg"), "x");
    const auto ms = [](int64_t value) { return MediaControl::Millis{value, std::nullopt}; };
    const auto failed = [](MediaError error) { return MediaControl::Millis{0, error}; };

    // Nothing open: the module is not loaded for it.
    EXPECT_EQ(media.length(), failed(MediaError::NotOpen));
    media.close();
    EXPECT_EQ(media.open(folder.filePath("none.ogg")), MediaError::FileNotFound);
    EXPECT_EQ(media.open(folder.path()), MediaError::FileNotFound);
    media.prepare(folder.filePath("none.ogg"));
    EXPECT_EQ(source.loads, 0);
    EXPECT_EQ(source.fake.mediaCloses, 0);

    media.prepare(tune);
    EXPECT_EQ(source.fake.prepared, QStringList{tune});
    EXPECT_EQ(media.open(tune), std::nullopt);
    EXPECT_EQ(source.fake.opened, QStringList{tune});
    EXPECT_EQ(media.open(tune), MediaError::AlreadyOpen);
    EXPECT_EQ(media.length(), ms(2500));
    EXPECT_EQ(media.play(), std::nullopt);
    source.fake.position = 1234;
    EXPECT_EQ(media.position(), ms(1234));
    source.fake.position = -1;  // the player has failed
    EXPECT_EQ(media.position(), failed(MediaError::Device));
    source.fake.length = -1;
    EXPECT_EQ(media.length(), failed(MediaError::Device));
    source.fake.mediaStarts = false;
    EXPECT_EQ(media.play(), MediaError::Device);
    media.close();
    EXPECT_EQ(source.fake.mediaCloses, 1);
    EXPECT_EQ(media.play(), MediaError::NotOpen);
    EXPECT_EQ(media.position(), failed(MediaError::NotOpen));
    media.close();
    EXPECT_EQ(source.fake.mediaCloses, 1);

    source.fake.mediaOpens = false;
    EXPECT_EQ(media.open(tune), MediaError::CannotOpen);
    EXPECT_EQ(media.length(), failed(MediaError::NotOpen));
    media.close();
    EXPECT_EQ(source.fake.mediaCloses, 1);
}

TEST(QtProgramStarterTest, SplitsLikeAShellButRunsNone) {
    QTemporaryDir folder;
    const QString out = folder.filePath(QStringLiteral("out"));
    QtProgramStarter starter;
    // Through a shell "$#" would be spent on the outer line; here sh sees two arguments,
    // the quoted words being one.
    ASSERT_TRUE(
        starter.start(QStringLiteral("/bin/sh -c \"echo $# $1 > %1\" sh \"a  b\" c").arg(out)));
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(out) && waited.elapsed() < 5000) QThread::msleep(10);
    QThread::msleep(50);
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "2 a b\n");

    EXPECT_FALSE(starter.start(folder.filePath(QStringLiteral("no-such-program"))));
    EXPECT_FALSE(starter.start(QString()));
    EXPECT_FALSE(starter.start(QStringLiteral("   ")));
}

}  // namespace
