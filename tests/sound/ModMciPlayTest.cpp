#include <gtest/gtest.h>

#include <QTimer>

#include "platform/fake/Fakes.h"
#include "sound/modMCIPlay.h"

namespace {

constexpr uint32_t kNewName = WaveSound::SND_ASYNC | WaveSound::SND_NODEFAULT;  // 3
constexpr uint32_t kSameName = kNewName | WaveSound::SND_NOSTOP;                // 19

class ModMciPlayTest : public ::testing::Test {
protected:
    ModMciPlayTest() {
        fakes.wave.playable = {QStringLiteral(".Default"), QStringLiteral("/s/a.wav"),
                               QStringLiteral("/s/B.WAV")};
        fakes.media.files = {{QStringLiteral("/s/tune.mid"), 1000},
                             {QStringLiteral("/s/other.mid"), 300},
                             {QStringLiteral("/s/empty.mid"), 0}};
    }

    QStringList mediaCommands(const QString& name, int polls) const {
        QStringList expected = {QStringLiteral("open \"%1\" alias x1").arg(name),
                                QStringLiteral("set x1 time format milliseconds"),
                                QStringLiteral("status x1 length"), QStringLiteral("play x1")};
        for (int i = 0; i < polls; ++i) expected << QStringLiteral("status x1 position");
        expected << QStringLiteral("close x1");
        return expected;
    }

    FakePlatform fakes;
    modMCIPlay player{fakes.wave, fakes.media, fakes.ticks, fakes.programs};
};

TEST_F(ModMciPlayTest, EachKindOfNameTakesItsOwnWay) {
    EXPECT_EQ(player.MciPlay(QStringLiteral("!  /bin/prog \"a b\"  ")), 0);
    EXPECT_EQ(fakes.programs.started, QStringList{QStringLiteral("/bin/prog \"a b\"")});

    EXPECT_EQ(player.MciPlay(QString()), 0);
    EXPECT_EQ(player.MciPlay(QStringLiteral("/s/B.WAV")), 0);
    ASSERT_EQ(fakes.wave.calls.size(), 2u);
    EXPECT_EQ(fakes.wave.calls[0].name, ".Default");
    EXPECT_EQ(fakes.wave.calls[1].name, "/s/B.WAV");

    // Only the last four characters decide; anything else is a media file.
    for (const char* media : {"/s/a.wav ", "/s/a.wave", " !/bin/prog", "/s/tune"})
        EXPECT_EQ(player.MciPlay(QString::fromLatin1(media)), -1) << media;
    EXPECT_EQ(fakes.media.commands,
              QStringList({"open \"/s/a.wav \" alias x1", "open \"/s/a.wave\" alias x1",
                           "open \" !/bin/prog\" alias x1", "open \"/s/tune\" alias x1"}));
    EXPECT_EQ(fakes.wave.calls.size(), 2u);
    EXPECT_EQ(fakes.programs.started.size(), 1);
    EXPECT_EQ(player.PlayBusy, 0);
}

TEST_F(ModMciPlayTest, ProgramStartsIgnoreTheGuardAndReportFailure) {
    player.PlayBusy = 1;
    player.PlayStop = 1;
    player.LastWaveName = QStringLiteral("/s/a.wav");
    EXPECT_EQ(player.MciPlay(QStringLiteral("!/bin/true")), 0);
    EXPECT_EQ(player.PlayBusy, 1);
    EXPECT_EQ(player.PlayStop, 1);
    EXPECT_EQ(player.LastWaveName, "/s/a.wav");

    // Nothing after the "!" is nothing to start.
    EXPECT_EQ(player.MciPlay(QStringLiteral("!")), -1);
    EXPECT_EQ(player.MciPlay(QStringLiteral("!   ")), -1);
    EXPECT_EQ(fakes.programs.started.size(), 1);
    fakes.programs.startable = false;
    EXPECT_EQ(player.MciPlay(QStringLiteral("!/no/such/program")), -1);
}

TEST_F(ModMciPlayTest, SameWaveWaitsForItselfAndAnotherCutsItOff) {
    const QString a = QStringLiteral("/s/a.wav");
    EXPECT_EQ(player.MciPlay(a), 0);
    EXPECT_EQ(player.LastWaveName, a);
    EXPECT_EQ(player.MciPlay(a), 1);  // still sounding
    fakes.wave.sounding.clear();
    EXPECT_EQ(player.MciPlay(a), 0);
    EXPECT_EQ(player.MciPlay(QStringLiteral("/s/B.WAV")), 0);
    EXPECT_EQ(fakes.wave.sounding, "/s/B.WAV");

    std::vector<uint32_t> flags;
    for (const auto& call : fakes.wave.calls) flags.push_back(call.flags);
    EXPECT_EQ(flags, std::vector<uint32_t>({kNewName, kSameName, kSameName, kNewName}));
}

TEST_F(ModMciPlayTest, FailuresEmptyTheLastNameUnlessItStillSounds) {
    const QString missing = QStringLiteral("/s/missing.wav");
    player.LastWaveName = QStringLiteral("/s/a.wav");
    EXPECT_EQ(player.MciPlay(missing), -1);
    EXPECT_EQ(player.LastWaveName, QString());
    // Still a new name on the next try, so still -1 rather than busy.
    EXPECT_EQ(player.MciPlay(missing), -1);
    EXPECT_EQ(fakes.wave.calls.back().flags, kNewName);

    // A sound that played once and has gone is busy while it sounds, then cannot play.
    const QString gone = QStringLiteral("/s/a.wav");
    EXPECT_EQ(player.MciPlay(gone), 0);
    fakes.wave.playable.remove(gone);
    EXPECT_EQ(player.MciPlay(gone), 1);
    EXPECT_EQ(player.LastWaveName, gone);
    fakes.wave.sounding.clear();
    EXPECT_EQ(player.MciPlay(gone), -1);
    EXPECT_EQ(player.LastWaveName, QString());

    fakes.wave.playable.remove(QStringLiteral(".Default"));
    EXPECT_EQ(player.MciPlay(QString()), -1);
    EXPECT_EQ(player.PlayBusy, 0);
}

TEST_F(ModMciPlayTest, MediaPlaysToItsEndThenCloses) {
    fakes.ticks.step = 50;
    const uint32_t before = fakes.ticks.now;
    EXPECT_EQ(player.MciPlay(QStringLiteral("/s/tune.mid")), 0);
    EXPECT_GE(fakes.ticks.now - before, 1000u);
    EXPECT_EQ(fakes.media.commands.first(), "open \"/s/tune.mid\" alias x1");
    EXPECT_EQ(fakes.media.commands.last(), "close x1");
    EXPECT_GE(fakes.media.commands.count(QStringLiteral("status x1 position")), 5);
    EXPECT_TRUE(fakes.media.openFile.isEmpty());
    EXPECT_EQ(player.PlayBusy, 0);
}

TEST_F(ModMciPlayTest, MediaThatStopsMovingIsClosedFiveSecondsAfterItsLength) {
    fakes.media.stallsAt = 400;
    fakes.ticks.step = 100;
    int polls = 0;
    fakes.media.onCommand = [&](const QString& command) {
        if (command != QStringLiteral("status x1 position") || ++polls != 1000) return;
        ADD_FAILURE() << "still playing after 1000 looks at its position";
        player.MciStop();
    };
    const uint32_t before = fakes.ticks.now;
    EXPECT_EQ(player.MciPlay(QStringLiteral("/s/tune.mid")), 0);
    EXPECT_GE(fakes.ticks.now - before, 6000u);
    EXPECT_LT(fakes.ticks.now - before, 6500u);
    EXPECT_EQ(fakes.media.commands.last(), "close x1");
    EXPECT_EQ(player.MciPlay(QStringLiteral("/s/other.mid")), 0);
}

TEST_F(ModMciPlayTest, MediaOfLengthZeroClosesAfterTheMargin) {
    fakes.ticks.step = 1;
    const uint32_t before = fakes.ticks.now;
    EXPECT_EQ(player.MciPlay(QStringLiteral("/s/empty.mid")), 0);
    EXPECT_EQ(fakes.media.commands, mediaCommands(QStringLiteral("/s/empty.mid"), 1));
    // The final wait is 0 - 0 + 10 ms.
    EXPECT_GE(fakes.ticks.now - before, 10u);
    EXPECT_LE(fakes.ticks.now - before, 13u);
}

TEST_F(ModMciPlayTest, EveryFailureAfterOpeningCloses) {
    const QString name = QStringLiteral("/s/tune.mid");
    const struct {
        const char* failing;
        int16_t result;
        int polls;
    } cases[] = {{"set x1 time format milliseconds", -1, -1},
                 {"status x1 length", -1, -1},
                 {"play x1", -1, -1},
                 {"status x1 position", 0, 1}};  // a lost device ends the play
    for (const auto& c : cases) {
        fakes.media.commands.clear();
        fakes.media.failing = {QString::fromLatin1(c.failing)};
        EXPECT_EQ(player.MciPlay(name), c.result) << c.failing;
        EXPECT_EQ(fakes.media.commands.last(), "close x1") << c.failing;
        EXPECT_TRUE(fakes.media.openFile.isEmpty()) << c.failing;
    }
    fakes.media.commands.clear();
    fakes.media.failing.clear();
    EXPECT_EQ(player.MciPlay(QStringLiteral("/s/nothing.mid")), -1);
    EXPECT_EQ(fakes.media.commands, QStringList{"open \"/s/nothing.mid\" alias x1"});
}

TEST_F(ModMciPlayTest, StopDuringAMediaPlayEndsItAtTheNextPoll) {
    fakes.ticks.step = 10;
    const uint32_t before = fakes.ticks.now;
    player.LastWaveName = QStringLiteral("/s/a.wav");
    QTimer::singleShot(0, [&] { player.MciStop(); });
    EXPECT_EQ(player.MciPlay(QStringLiteral("/s/tune.mid")), 0);
    EXPECT_LT(fakes.ticks.now - before, 300u);
    EXPECT_EQ(fakes.media.commands, mediaCommands(QStringLiteral("/s/tune.mid"), 1));
    EXPECT_EQ(player.PlayStop, 1);
    EXPECT_EQ(player.PlayBusy, 0);
    EXPECT_EQ(player.LastWaveName, "/s/a.wav");
    ASSERT_FALSE(fakes.wave.calls.empty());
    EXPECT_EQ(fakes.wave.calls.back().name, QString());
    EXPECT_EQ(fakes.wave.calls.back().flags, 0u);

    // The next play starts afresh rather than seeing the old stop.
    EXPECT_EQ(player.MciPlay(QStringLiteral("/s/other.mid")), 0);
    EXPECT_EQ(player.PlayStop, 0);
}

TEST_F(ModMciPlayTest, PlayDuringAMediaPlayIsBusyAndPlaysOnceItHasClosed) {
    fakes.ticks.step = 20;
    int16_t nested = 99;
    QStringList openAtNestedPlay;
    QTimer::singleShot(0, [&] {
        nested = player.MciPlay(QStringLiteral("/s/a.wav"));
        openAtNestedPlay << fakes.media.openFile;
    });
    EXPECT_EQ(player.MciPlay(QStringLiteral("/s/other.mid")), 0);
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(openAtNestedPlay, QStringList{"/s/other.mid"});
    EXPECT_TRUE(fakes.wave.calls.empty());
    EXPECT_EQ(player.MciPlay(QStringLiteral("/s/a.wav")), 0);
}

TEST_F(ModMciPlayTest, WaitTimeSurvivesTheCounterWrap) {
    fakes.ticks.now = 0xffffff00u;
    fakes.ticks.step = 64;
    const uint32_t start = fakes.ticks.now;
    player.WaitTime(500);
    // Reads come every 64 ms; the wait ends at the first reading 500 ms or more after the start.
    const uint32_t waited = fakes.ticks.now - start - fakes.ticks.step;
    EXPECT_GE(waited, 500u);
    EXPECT_LT(waited, 564u);
}

TEST_F(ModMciPlayTest, WaitTimeProcessesEventsEvenForNoTime) {
    // The counter stands still, so only a wait for no time can end by itself; a wait that goes
    // on is ended from outside after a while, and fails.
    fakes.ticks.step = 0;
    bool stuck = false;
    QTimer rescue;
    rescue.setSingleShot(true);
    QObject::connect(&rescue, &QTimer::timeout, [&] {
        stuck = true;
        fakes.ticks.step = 0x7fffffff;
    });
    for (const int32_t ms : {0, -5}) {
        bool ran = false;
        QTimer::singleShot(0, [&] { ran = true; });
        rescue.start(5000);
        player.WaitTime(ms);
        rescue.stop();
        EXPECT_TRUE(ran) << ms;
        EXPECT_FALSE(stuck) << ms;
    }
}

}  // namespace
