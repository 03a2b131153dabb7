#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <future>

#include "WaveBytes.h"
#include "platform/MultimediaBackend.h"
#include "platform/MultimediaModule.h"
#include "platform/ProgramStarter.h"
#include "platform/QtMediaControl.h"
#include "platform/QtWaveSound.h"
#include "platform/WaveFile.h"
#include "platform/fake/Fakes.h"

namespace {

TEST(WaveFileTest, LengthComesFromTheHeader) {
    QTemporaryDir folder;
    const auto length = [&](const WaveShape& shape) {
        return waveLengthMs(writeFile(folder, QStringLiteral("t.wav"), waveBytes(shape)));
    };
    EXPECT_EQ(length({}), 500u);
    EXPECT_EQ(length({.channels = 2, .sampleRate = 44100, .frames = 44100}), 1000u);
    EXPECT_EQ(length({.sampleRate = 22050, .bits = 8, .frames = 2205}), 100u);
    EXPECT_EQ(length({.frames = 1}), 1u);  // rounded up, never early
    EXPECT_EQ(length({.format = 3, .bits = 32, .frames = 8000}), 1000u);
    EXPECT_EQ(length({.bits = 24, .frames = 8000, .extensibleOf = 1}), 1000u);
    EXPECT_EQ(length({.frames = 0}), 0u);

    // Other chunks before the samples, padded to an even size.
    QByteArray list("LIST");
    putU32(list, 5);
    list.append("INFOx", 5).append('\0');
    EXPECT_EQ(length({.chunkBeforeData = list}), 500u);
    // A size left unknown counts the samples that are there.
    EXPECT_EQ(length({.unknownDataSize = true}), 500u);
}

TEST(WaveFileTest, ForeignOrBrokenFilesHaveNoLength) {
    QTemporaryDir folder;
    const QByteArray good = waveBytes({});
    const auto length = [&](const QByteArray& bytes) {
        return waveLengthMs(writeFile(folder, QStringLiteral("t.wav"), bytes));
    };
    EXPECT_FALSE(length(QByteArray("not a sound at all, just some text")));
    EXPECT_FALSE(length(good.left(30)));                            // cut inside the format
    EXPECT_FALSE(length(good.left(40)));                            // no samples chunk
    EXPECT_FALSE(length(waveBytes({.format = 0x55})));              // compressed
    EXPECT_FALSE(length(waveBytes({.extensibleOf = 0x55})));        // compressed, extensible
    EXPECT_FALSE(length(waveBytes({.sampleRate = 0})));             // nonsense format
    EXPECT_FALSE(length(QByteArray(good).replace(12, 4, "junk")));  // samples without format
    EXPECT_FALSE(waveLengthMs(folder.filePath(QStringLiteral("missing.wav"))));
    EXPECT_FALSE(waveLengthMs(folder.path()));
    EXPECT_FALSE(waveLengthMs(QString()));
}

TEST(WaveFileTest, FifoAnswersAtOnce) {
    QTemporaryDir folder;
    const QString fifo = folder.filePath(QStringLiteral("pipe.wav"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    auto length = std::async(std::launch::async, [&] { return waveLengthMs(fifo); });
    if (length.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
        ADD_FAILURE() << "reading the FIFO's length waits for a writer";
        QFile writer(fifo);  // lets the waiting open go on
        writer.open(QIODevice::WriteOnly);
    }
    EXPECT_FALSE(length.get());
}

// Records what the wrappers ask of the module.
class FakeBackend final : public MultimediaBackend {
public:
    void prepareWave(const QString& path) override { prepared << path; }
    bool playWave(const QString& path) override {
        played << path;
        return wavePlays;
    }
    void stopWave() override { ++waveStops; }
    void prepareMedia(const QString& path) override { prepared << path; }
    bool openMedia(const QString& path) override {
        opened << path;
        return mediaOpens;
    }
    int64_t mediaLength() override { return length; }
    bool playMedia() override { return ++mediaPlays, true; }
    int64_t mediaPosition() override { return position; }
    void closeMedia() override { ++mediaCloses; }
    void release() override {}

    QStringList prepared;
    QStringList played;
    QStringList opened;
    bool wavePlays = true;
    bool mediaOpens = true;
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

class QtWaveSoundTest : public ::testing::Test {
protected:
    QtWaveSoundTest() {
        ticks.step = 0;
        half = writeFile(folder, QStringLiteral("half.wav"), waveBytes({}));  // 500 ms
        ding = writeFile(folder, QStringLiteral("ding.wav"), waveBytes({.frames = 800}));
    }

    static constexpr uint32_t kAsync = WaveSound::SND_ASYNC;
    static constexpr uint32_t kNew = WaveSound::SND_ASYNC | WaveSound::SND_NODEFAULT;
    static constexpr uint32_t kSame = kNew | WaveSound::SND_NOSTOP;

    QTemporaryDir folder;
    QString half, ding;
    FakeTickCounter ticks;
    FakeSource source;
    QtWaveSound wave{source, ticks, folder.filePath(QStringLiteral("ding.wav"))};
};

TEST_F(QtWaveSoundTest, StoppingBeforeAnySoundLeavesTheModuleUnloaded) {
    EXPECT_TRUE(wave.sndPlaySound(QString(), 0));
    EXPECT_EQ(source.loads, 0);
    EXPECT_TRUE(wave.sndPlaySound(half, kNew));
    EXPECT_EQ(source.loads, 1);
    EXPECT_TRUE(wave.sndPlaySound(QString(), 0));
    EXPECT_EQ(source.fake.waveStops, 1);
}

TEST_F(QtWaveSoundTest, StillSoundingFollowsTheFileLengthAcrossTheWrap) {
    ticks.now = 0xffffff00u;
    EXPECT_TRUE(wave.sndPlaySound(half, kNew));
    ticks.now += 499;
    EXPECT_FALSE(wave.sndPlaySound(half, kSame));
    ticks.now += 1;
    EXPECT_TRUE(wave.sndPlaySound(half, kSame));
    // Without the no-stop flag a sounding wave is cut off.
    ticks.now += 10;
    EXPECT_TRUE(wave.sndPlaySound(ding, kNew));
    EXPECT_EQ(source.fake.played, QStringList({half, half, ding}));

    // A stop ends the sound at once.
    EXPECT_TRUE(wave.sndPlaySound(QString(), 0));
    EXPECT_TRUE(wave.sndPlaySound(ding, kSame));
}

TEST_F(QtWaveSoundTest, DefaultAliasAndFallBack) {
    EXPECT_TRUE(wave.sndPlaySound(QStringLiteral(".Default"), kNew));
    const QString missing = folder.filePath(QStringLiteral("missing.wav"));
    EXPECT_FALSE(wave.sndPlaySound(missing, kNew));
    // Without SND_NODEFAULT a missing sound plays the default one instead.
    EXPECT_TRUE(wave.sndPlaySound(missing, kAsync));
    EXPECT_EQ(source.fake.played, QStringList({ding, ding}));

    QtWaveSound noDefault(source, ticks, missing);
    EXPECT_FALSE(noDefault.sndPlaySound(QStringLiteral(".Default"), kNew));
}

TEST_F(QtWaveSoundTest, RefusesWhatItCannotDo) {
    EXPECT_FALSE(wave.sndPlaySound(half, WaveSound::SND_NODEFAULT));  // a play that would block
    source.fake.wavePlays = false;
    EXPECT_FALSE(wave.sndPlaySound(half, kNew));
    // A failed start leaves nothing sounding.
    source.fake.wavePlays = true;
    EXPECT_TRUE(wave.sndPlaySound(ding, kSame));

    FakeSource none;
    none.available = false;
    QtWaveSound withoutModule(none, ticks, ding);
    EXPECT_FALSE(withoutModule.sndPlaySound(half, kNew));
}

TEST(QtMediaControlTest, AnswersTheCommandStrings) {
    FakeSource source;
    QtMediaControl media(source);
    QTemporaryDir folder;
    const QString tune = writeFile(folder, QStringLiteral("a tune.ogg"), "x");
    QString reply = QStringLiteral("stale");

    // Nothing open: the module is not loaded for it.
    EXPECT_EQ(media.mciSendString(QStringLiteral("status x1 length"), reply),
              MediaControl::kInvalidDeviceName);
    EXPECT_EQ(reply, QString());
    EXPECT_EQ(media.mciSendString(QStringLiteral("close x1"), reply),
              MediaControl::kInvalidDeviceName);
    EXPECT_EQ(media.mciSendString("open \"" + folder.filePath("none.ogg") + "\" alias x1", reply),
              MediaControl::kFileNotFound);
    EXPECT_EQ(source.loads, 0);

    EXPECT_EQ(media.mciSendString("open \"" + tune + "\" alias x1", reply), 0);
    EXPECT_EQ(source.fake.opened, QStringList{tune});
    EXPECT_EQ(media.mciSendString("open \"" + tune + "\" alias x1", reply),
              MediaControl::kDuplicateAlias);
    EXPECT_EQ(media.mciSendString(QStringLiteral("set x1 time format milliseconds"), reply), 0);
    EXPECT_EQ(media.mciSendString(QStringLiteral("status x1 length"), reply), 0);
    EXPECT_EQ(reply, "2500");
    EXPECT_EQ(media.mciSendString(QStringLiteral("play x1"), reply), 0);
    source.fake.position = 1234;
    EXPECT_EQ(media.mciSendString(QStringLiteral("status x1 position"), reply), 0);
    EXPECT_EQ(reply, "1234");
    EXPECT_EQ(media.mciSendString(QStringLiteral("status x2 position"), reply),
              MediaControl::kInvalidDeviceName);
    EXPECT_EQ(media.mciSendString(QStringLiteral("status x1 volume"), reply),
              MediaControl::kUnrecognizedCommand);
    EXPECT_EQ(media.mciSendString(QStringLiteral("seek x1 to start"), reply),
              MediaControl::kUnrecognizedCommand);
    source.fake.position = -1;  // the player has failed
    EXPECT_EQ(media.mciSendString(QStringLiteral("status x1 position"), reply),
              MediaControl::kDeviceError);
    EXPECT_EQ(media.mciSendString(QStringLiteral("close x1"), reply), 0);
    EXPECT_EQ(source.fake.mediaCloses, 1);
    EXPECT_EQ(media.mciSendString(QStringLiteral("play x1"), reply),
              MediaControl::kInvalidDeviceName);

    source.fake.mediaOpens = false;
    EXPECT_EQ(media.mciSendString("open \"" + tune + "\" alias x1", reply),
              MediaControl::kCannotOpen);
    EXPECT_EQ(media.mciSendString(QStringLiteral("close x1"), reply),
              MediaControl::kInvalidDeviceName);
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
