// The multimedia module as the program loads it, on files made here.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include "WaveBytes.h"
#include "platform/MultimediaModule.h"
#include "platform/QtMediaControl.h"
#include "platform/QtWaveSound.h"
#include "platform/fake/Fakes.h"
#include "platform/multimedia/DecodedMedia.h"
#include "platform/multimedia/PcmQueue.h"
#include "sound/modMCIPlay.h"

namespace {

class MultimediaModuleTest : public ::testing::Test {
protected:
    int send(const QString& command) { return media.mciSendString(command, reply); }
    QString openCommand(const QString& path) const {
        return QStringLiteral("open \"%1\" alias x1").arg(path);
    }

    QTemporaryDir folder;
    // 0.8 s of a quiet tone.
    const QString tone = writeFile(folder, QStringLiteral("tone.wav"), waveBytes({.frames = 6400}));
    MultimediaModule module{QStringLiteral(QUILLON_MULTIMEDIA_MODULE_PATH)};
    QtTickCounter ticks;
    QtWaveSound wave{module, ticks, tone};
    QtMediaControl media{module};
    QString reply;
};

TEST_F(MultimediaModuleTest, MediaReportsItsLengthAndPlaysToItsEnd) {
    ASSERT_EQ(send(openCommand(tone)), 0);
    ASSERT_NE(module.loadedBackend(), nullptr);
    ASSERT_EQ(send(QStringLiteral("set x1 time format milliseconds")), 0);
    ASSERT_EQ(send(QStringLiteral("status x1 length")), 0);
    const int length = reply.toInt();
    EXPECT_NEAR(length, 800, 30) << qPrintable(reply);

    ASSERT_EQ(send(QStringLiteral("play x1")), 0);
    QElapsedTimer playing;
    playing.start();
    int position = 0;
    while (position + 1 < length && playing.elapsed() < 10000) {
        QTimer::singleShot(20, [] {});
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        ASSERT_EQ(send(QStringLiteral("status x1 position")), 0);
        position = reply.toInt();
    }
    // The end reaches the length told, though a decoder may hand over a little less than that:
    // the player waits for the length, not for what was decoded.
    EXPECT_GE(position, length);
    // Not cut short: the end came after most of the tone's own time.
    EXPECT_GE(playing.elapsed(), 600);
    EXPECT_EQ(send(QStringLiteral("close x1")), 0);
    EXPECT_EQ(send(QStringLiteral("status x1 position")), MediaControl::kInvalidDeviceName);
}

TEST_F(MultimediaModuleTest, SoundModulePlaysMediaToItsEnd) {
    // The same tone under a name that is not a wave sound's, so it takes the media way.
    const QString media =
        writeFile(folder, QStringLiteral("tone.media"), waveBytes({.frames = 4000}));
    FakeProgramStarter programs;
    modMCIPlay player(wave, this->media, ticks, programs);
    QElapsedTimer playing;
    playing.start();
    EXPECT_EQ(player.MciPlay(media), 0);
    EXPECT_GE(playing.elapsed(), 450);
    EXPECT_EQ(player.PlayBusy, 0);
}

TEST_F(MultimediaModuleTest, OpeningAnotherFileThanThePreparedOneOpensThatFile) {
    const QString shorter =
        writeFile(folder, QStringLiteral("short.media"), waveBytes({.frames = 4000}));
    media.prepare(tone);
    for (const auto& [path, length] : {std::pair{shorter, 500}, std::pair{tone, 800}}) {
        ASSERT_EQ(send(openCommand(path)), 0);
        ASSERT_EQ(send(QStringLiteral("status x1 length")), 0);
        EXPECT_NEAR(reply.toInt(), length, 30) << qPrintable(path);
        EXPECT_EQ(send(QStringLiteral("close x1")), 0);
    }
}

TEST_F(MultimediaModuleTest, UndecodableOrMissingFilesFailToOpen) {
    const QString junk = writeFile(folder, QStringLiteral("junk.mp3"), QByteArray(4000, 'x'));
    EXPECT_NE(send(openCommand(junk)), 0);
    EXPECT_NE(send(openCommand(folder.filePath(QStringLiteral("missing.ogg")))), 0);
    // Nothing stays open after a failed open.
    EXPECT_EQ(send(QStringLiteral("status x1 length")), MediaControl::kInvalidDeviceName);
    EXPECT_EQ(send(openCommand(tone)), 0);
    EXPECT_EQ(send(QStringLiteral("close x1")), 0);
}

TEST_F(MultimediaModuleTest, WaveSoundsStartAndStop) {
    constexpr uint32_t kNew = WaveSound::SND_ASYNC | WaveSound::SND_NODEFAULT;
    EXPECT_TRUE(wave.sndPlaySound(tone, kNew));
    EXPECT_FALSE(wave.sndPlaySound(tone, kNew | WaveSound::SND_NOSTOP));
    EXPECT_TRUE(wave.sndPlaySound(QString(), 0));
    EXPECT_TRUE(wave.sndPlaySound(QStringLiteral(".Default"), kNew | WaveSound::SND_NOSTOP));
    EXPECT_FALSE(wave.sndPlaySound(folder.filePath(QStringLiteral("junk.wav")), kNew));
}

TEST(DecodedMediaTest, DecodesOnlyAFewSecondsAheadAndTheWholeFileAsItIsTaken) {
    QTemporaryDir folder;
    // A minute of a tone, under a name that is not a wave sound's.
    const QString minute = writeFile(folder, QStringLiteral("minute.media"),
                                     waveBytes({.sampleRate = 8000, .frames = 8000 * 60}));
    DecodedMedia media(minute);
    const std::shared_ptr<PcmQueue> samples = media.samples();
    const SampleLayout layout = DecodedMedia::sampleLayout();
    const qint64 second = qint64{layout.rate} * layout.channels * 2;  // 16-bit samples
    const auto runEvents = [](int ms) {
        QElapsedTimer running;
        running.start();
        while (!running.hasExpired(ms)) {
            QTimer::singleShot(10, [] {});
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    };

    // Left alone for long enough to decode it all, it holds a few seconds.
    runEvents(2000);
    EXPECT_GT(samples->appendedBytes(), 0);
    EXPECT_LT(samples->appendedBytes(), 5 * second);
    EXPECT_FALSE(media.failed());

    // Taken as a player takes it, the whole minute comes, and then its end.
    qint64 taken = 0;
    QElapsedTimer taking;
    taking.start();
    bool ended = false;
    while (!ended && !taking.hasExpired(20000)) {
        runEvents(10);
        while (std::optional<QByteArray> bytes =
                   samples->take(second, std::chrono::milliseconds(0))) {
            ended = bytes->isEmpty();
            if (ended) break;
            taken += bytes->size();
        }
    }
    EXPECT_TRUE(ended);
    EXPECT_NEAR(static_cast<double>(taken) / static_cast<double>(second), 60.0, 0.05);
    EXPECT_NEAR(media.lengthMs(), 60000, 50);
}

TEST_F(MultimediaModuleTest, WithoutTheModuleEveryPlayFails) {
    MultimediaModule missing(folder.filePath(QStringLiteral("libnothing.so")));
    QtWaveSound wave(missing, ticks, tone);
    QtMediaControl media(missing);
    FakeProgramStarter programs;
    modMCIPlay player(wave, media, ticks, programs);
    EXPECT_EQ(player.MciPlay(tone), -1);
    EXPECT_EQ(player.MciPlay(QString()), -1);
    const QString toneMedia = writeFile(folder, QStringLiteral("tone.media"), waveBytes({}));
    EXPECT_EQ(player.MciPlay(toneMedia), -1);
    EXPECT_EQ(missing.backend(), nullptr);
    EXPECT_EQ(player.PlayBusy, 0);

    // The module that has come meanwhile is loaded at the next play.
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUILLON_MULTIMEDIA_MODULE_PATH),
                            folder.filePath(QStringLiteral("libnothing.so"))));
    EXPECT_EQ(player.MciPlay(toneMedia), 0);
}

}  // namespace
