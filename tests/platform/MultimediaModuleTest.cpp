// The sound module as the program loads it, on files made here, under a private sound server.
#include <gtest/gtest.h>
#include <signal.h>
#include <sndfile.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <cmath>
#include <vector>

#include "WaveBytes.h"
#include "platform/MultimediaBackend.h"
#include "platform/MultimediaModule.h"
#include "platform/multimedia/SoundFile.h"

namespace {

void runEvents(int ms) {
    QElapsedTimer running;
    running.start();
    while (!running.hasExpired(ms)) {
        QTimer::singleShot(10, [] {});
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

// A tone written through libsndfile in the given kind of file.
QString writeSound(const QTemporaryDir& folder, const QString& name, int format, int channels,
                   int rate, int frames) {
    const QString path = folder.filePath(name);
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (file == nullptr) return {};
    std::vector<float> samples(static_cast<size_t>(frames * channels));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = 0.3f * static_cast<float>(std::sin(static_cast<double>(i / channels) / 8));
    sf_writef_float(file, samples.data(), frames);
    sf_close(file);
    return path;
}

std::vector<pa_channel_position_t> positions(const SoundFile& file) {
    const pa_channel_map& map = file.channelMap();
    return {map.map, map.map + map.channels};
}

TEST(SoundFileTest, LengthIsWhatAFullReadGivesForEveryKind) {
    QTemporaryDir folder;
    const struct {
        const char* name;
        int format;
    } kinds[] = {{"a.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24},
                 {"a.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
                 {"a.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS},
                 {"a.opus", SF_FORMAT_OGG | SF_FORMAT_OPUS},
                 {"a.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III}};
    for (const auto& kind : kinds) {
        const QString path = writeSound(folder, QString::fromLatin1(kind.name), kind.format, 2,
                                        48000, 48000 * 3 / 2);
        ASSERT_FALSE(path.isEmpty()) << kind.name;
        const auto file = SoundFile::open(path);
        ASSERT_NE(file, nullptr) << kind.name;
        std::vector<float> piece(4096 * 2);
        int64_t frames = 0;
        while (const int64_t got = file->read(piece.data(), 4096)) frames += got;
        EXPECT_EQ(file->frames(), frames) << kind.name;
        // An MP3 also holds its encoder's lead-in; the others are the 1.5 s written.
        EXPECT_NEAR(file->lengthMs(), 1500, kind.format & SF_FORMAT_MPEG ? 100 : 0) << kind.name;
    }
}

TEST(SoundFileTest, ChannelsGoWhereTheFileSays) {
    QTemporaryDir folder;
    using P = pa_channel_position_t;
    constexpr P FL = PA_CHANNEL_POSITION_FRONT_LEFT, FR = PA_CHANNEL_POSITION_FRONT_RIGHT,
                FC = PA_CHANNEL_POSITION_FRONT_CENTER, LFE = PA_CHANNEL_POSITION_LFE,
                RL = PA_CHANNEL_POSITION_REAR_LEFT, RR = PA_CHANNEL_POSITION_REAR_RIGHT,
                SL = PA_CHANNEL_POSITION_SIDE_LEFT, SR = PA_CHANNEL_POSITION_SIDE_RIGHT;
    // 5.1 with its sides rather than its rear, by the wave's channel mask.
    const auto sides = SoundFile::open(
        writeFile(folder, QStringLiteral("sides.wav"),
                  waveBytes({.channels = 6, .extensibleOf = 1, .channelMask = 0x60f})));
    ASSERT_NE(sides, nullptr);
    EXPECT_EQ(positions(*sides), (std::vector<P>{FL, FR, FC, LFE, SL, SR}));
    // Without a mask, the usual wave order.
    const auto plain =
        SoundFile::open(writeFile(folder, QStringLiteral("plain.wav"), waveBytes({.channels = 8})));
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(positions(*plain),
              (std::vector<P>{FL, FR, FC, LFE, RL, RR, PA_CHANNEL_POSITION_FRONT_LEFT_OF_CENTER,
                              PA_CHANNEL_POSITION_FRONT_RIGHT_OF_CENTER}));
    // Ogg Vorbis keeps an order of its own.
    const auto vorbis = SoundFile::open(writeSound(
        folder, QStringLiteral("six.ogg"), SF_FORMAT_OGG | SF_FORMAT_VORBIS, 6, 48000, 4800));
    ASSERT_NE(vorbis, nullptr);
    EXPECT_EQ(positions(*vorbis), (std::vector<P>{FL, FC, FR, RL, RR, LFE}));
}

TEST(SoundFileTest, OnlyRegularSoundFilesOpen) {
    QTemporaryDir folder;
    const QString fifo = folder.filePath(QStringLiteral("fifo.wav"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // A pipe nobody writes to must not hold the reader.
    EXPECT_EQ(SoundFile::open(fifo), nullptr);
    EXPECT_EQ(SoundFile::open(folder.path()), nullptr);
    EXPECT_EQ(SoundFile::open(folder.filePath(QStringLiteral("missing.wav"))), nullptr);
    EXPECT_EQ(SoundFile::open(writeFile(folder, QStringLiteral("junk.mp3"), QByteArray(4000, 'x'))),
              nullptr);
    EXPECT_EQ(SoundFile::open(writeFile(folder, QStringLiteral("empty.mp3"), QByteArray())),
              nullptr);
}

class MultimediaModuleTest : public ::testing::Test {
protected:
    MultimediaBackend& backend() {
        MultimediaBackend* loaded = module.backend();
        if (loaded == nullptr) throw std::runtime_error("the module did not load");
        return *loaded;
    }

    QTemporaryDir folder;
    // 0.8 s of a quiet tone.
    const QString tone = writeFile(folder, QStringLiteral("tone.wav"), waveBytes({.frames = 6400}));
    MultimediaModule module{QStringLiteral(QUILLON_MULTIMEDIA_MODULE_PATH)};
};

TEST_F(MultimediaModuleTest, MediaReportsItsLengthAndPlaysToItsEnd) {
    const QString ogg = writeSound(folder, QStringLiteral("tone.ogg"),
                                   SF_FORMAT_OGG | SF_FORMAT_VORBIS, 1, 8000, 6400);
    backend().prepare(ogg);
    ASSERT_TRUE(backend().openMedia(ogg));
    const int64_t length = backend().mediaLength();
    EXPECT_EQ(length, 800);

    ASSERT_TRUE(backend().playMedia());
    QElapsedTimer playing;
    playing.start();
    int64_t position = 0;
    while (position + 1 < length && playing.elapsed() < 10000) {
        runEvents(20);
        position = backend().mediaPosition();
        ASSERT_GE(position, 0);
    }
    EXPECT_GE(position, length);
    // Not cut short: the end came after most of the tone's own time.
    EXPECT_GE(playing.elapsed(), 600);
    backend().closeMedia();
    EXPECT_EQ(backend().mediaPosition(), -1);
}

TEST_F(MultimediaModuleTest, UnreadableFilesFailAndReadableOnesStillPlay) {
    const QString junk = writeFile(folder, QStringLiteral("junk.wav"), QByteArray(4000, 'x'));
    EXPECT_FALSE(backend().openMedia(junk));
    EXPECT_EQ(backend().mediaLength(), -1);
    EXPECT_EQ(backend().playWave(junk), -1);
    EXPECT_EQ(backend().playWave(tone), 800);
    backend().stopWave();
    EXPECT_TRUE(backend().openMedia(tone));
}

TEST_F(MultimediaModuleTest, AStoppedServerHoldsNoCallAndNoEnd) {
    const pid_t server = qEnvironmentVariableIntValue("QUILLON_TEST_SOUND_SERVER_PID");
    if (server <= 0) GTEST_SKIP() << "no sound server to stop";
    const QString longer =
        writeFile(folder, QStringLiteral("long.wav"), waveBytes({.frames = 8000 * 20}));
    // Readied with the server there, started while it is stopped, and again mid-play.
    backend().prepare(tone);
    runEvents(300);
    ASSERT_EQ(kill(server, SIGSTOP), 0);
    QElapsedTimer call;
    call.start();
    EXPECT_EQ(backend().playWave(tone), 800);
    backend().prepare(longer);
    EXPECT_TRUE(backend().openMedia(longer));
    EXPECT_TRUE(backend().playMedia());
    EXPECT_GE(backend().mediaPosition(), 0);
    backend().closeMedia();
    backend().stopWave();
    backend().release();
    const qint64 took = call.elapsed();
    kill(server, SIGCONT);
    // Two starts of at most 0.3 s each, and the end's half second.
    EXPECT_LT(took, 1300);
}

}  // namespace
