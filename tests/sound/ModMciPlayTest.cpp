#include <gtest/gtest.h>

#include <QTimer>
#include <algorithm>

#include "platform/fake/Fakes.h"
#include "sound/modMCIPlay.h"

namespace {

using Op = FakeMediaControl::Op;
using Overlap = WaveSound::Overlap;
constexpr Overlap kNewName = Overlap::CutOff;
constexpr Overlap kSameName = Overlap::AfterItsEnd;

class ModMciPlayTest : public ::testing::Test {
protected:
    ModMciPlayTest() {
        fakes.wave.playable = {fakes.wave.defaultPath, QStringLiteral("/s/a.wav"),
                               QStringLiteral("/s/B.WAV")};
        fakes.media.files = {{QStringLiteral("/s/tune.mid"), 1000},
                             {QStringLiteral("/s/other.mid"), 300},
                             {QStringLiteral("/s/empty.mid"), 0}};
    }

    static std::vector<Op> mediaOps(int polls) {
        std::vector<Op> expected = {Op::Open, Op::Length, Op::Play};
        for (int i = 0; i < polls; ++i) expected.push_back(Op::Position);
        expected.push_back(Op::Close);
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
    EXPECT_EQ(fakes.wave.calls[0].path, fakes.wave.defaultPath);
    EXPECT_EQ(fakes.wave.calls[1].path, "/s/B.WAV");

    // Only the last four characters decide; anything else is a media file.
    for (const char* media : {"/s/a.wav ", "/s/a.wave", " !/bin/prog", "/s/tune"})
        EXPECT_EQ(player.MciPlay(QString::fromLatin1(media)), -1) << media;
    EXPECT_EQ(fakes.media.opened,
              QStringList({"/s/a.wav ", "/s/a.wave", " !/bin/prog", "/s/tune"}));
    EXPECT_EQ(fakes.media.ops, std::vector<Op>(4, Op::Open));
    EXPECT_EQ(fakes.wave.calls.size(), 2u);
    EXPECT_EQ(fakes.programs.started.size(), 1);
    EXPECT_EQ(player.PlayBusy, 0);
}

TEST_F(ModMciPlayTest, EmptyNameIsTheDefaultSoundsFile) {
    EXPECT_EQ(player.MciPlay(QString()), 0);
    EXPECT_EQ(player.LastWaveName, fakes.wave.defaultPath);
    // Named by its file, the default sound is the same sound and waits for itself.
    EXPECT_EQ(player.MciPlay(fakes.wave.defaultPath), 1);
    EXPECT_EQ(fakes.wave.calls,
              std::vector({FakeWaveSound::playCall(fakes.wave.defaultPath, kNewName),
                           FakeWaveSound::playCall(fakes.wave.defaultPath, kSameName)}));
}

TEST_F(ModMciPlayTest, PrepareReadiesEachKindOfNameWhereItWillPlay) {
    for (const char* name : {"", "/s/B.WAV", "/s/tune.mid", "/s/a.wave", "!/bin/prog", "!"})
        player.MciPrepare(QString::fromLatin1(name));
    EXPECT_EQ(fakes.wave.prepared, QStringList({fakes.wave.defaultPath, "/s/B.WAV"}));
    EXPECT_EQ(fakes.media.prepared, QStringList({"/s/tune.mid", "/s/a.wave"}));
    EXPECT_TRUE(fakes.wave.calls.empty());
    EXPECT_TRUE(fakes.media.ops.empty());
    EXPECT_TRUE(fakes.programs.started.isEmpty());
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

    std::vector<Overlap> overlaps;
    for (const auto& call : fakes.wave.calls) overlaps.push_back(call.overlap);
    EXPECT_EQ(overlaps, std::vector<Overlap>({kNewName, kSameName, kSameName, kNewName}));
}

TEST_F(ModMciPlayTest, FailuresEmptyTheLastNameUnlessItStillSounds) {
    const QString missing = QStringLiteral("/s/missing.wav");
    player.LastWaveName = QStringLiteral("/s/a.wav");
    EXPECT_EQ(player.MciPlay(missing), -1);
    EXPECT_EQ(player.LastWaveName, QString());
    // Still a new name on the next try, so still -1 rather than busy.
    EXPECT_EQ(player.MciPlay(missing), -1);
    EXPECT_EQ(fakes.wave.calls.back().overlap, kNewName);

    // A sound that played once and has gone is busy while it sounds, then cannot play.
    const QString gone = QStringLiteral("/s/a.wav");
    EXPECT_EQ(player.MciPlay(gone), 0);
    fakes.wave.playable.remove(gone);
    EXPECT_EQ(player.MciPlay(gone), 1);
    EXPECT_EQ(player.LastWaveName, gone);
    fakes.wave.sounding.clear();
    EXPECT_EQ(player.MciPlay(gone), -1);
    EXPECT_EQ(player.LastWaveName, QString());

    fakes.wave.playable.remove(fakes.wave.defaultPath);
    EXPECT_EQ(player.MciPlay(QString()), -1);
    EXPECT_EQ(player.PlayBusy, 0);
}

TEST_F(ModMciPlayTest, MediaPlaysToItsEndThenCloses) {
    fakes.ticks.step = 50;
    const uint32_t before = fakes.ticks.now;
    EXPECT_EQ(player.MciPlay(QStringLiteral("/s/tune.mid")), 0);
    EXPECT_GE(fakes.ticks.now - before, 1000u);
    EXPECT_EQ(fakes.media.opened, QStringList{"/s/tune.mid"});
    EXPECT_EQ(fakes.media.ops.front(), Op::Open);
    EXPECT_EQ(fakes.media.ops.back(), Op::Close);
    EXPECT_GE(std::ranges::count(fakes.media.ops, Op::Position), 5);
    EXPECT_TRUE(fakes.media.openFile.isEmpty());
    EXPECT_EQ(player.PlayBusy, 0);
}

TEST_F(ModMciPlayTest, MediaThatStopsMovingIsClosedFiveSecondsAfterItsLength) {
    fakes.media.stallsAt = 400;
    fakes.ticks.step = 100;
    int polls = 0;
    fakes.media.onOp = [&](Op op) {
        if (op != Op::Position || ++polls != 1000) return;
        ADD_FAILURE() << "still playing after 1000 looks at its position";
        player.MciStop();
    };
    const uint32_t before = fakes.ticks.now;
    EXPECT_EQ(player.MciPlay(QStringLiteral("/s/tune.mid")), 0);
    EXPECT_GE(fakes.ticks.now - before, 6000u);
    EXPECT_LT(fakes.ticks.now - before, 6500u);
    EXPECT_EQ(fakes.media.ops.back(), Op::Close);
    EXPECT_EQ(player.MciPlay(QStringLiteral("/s/other.mid")), 0);
}

TEST_F(ModMciPlayTest, MediaOfLengthZeroClosesAfterTheMargin) {
    fakes.ticks.step = 1;
    const uint32_t before = fakes.ticks.now;
    EXPECT_EQ(player.MciPlay(QStringLiteral("/s/empty.mid")), 0);
    EXPECT_EQ(fakes.media.opened, QStringList{"/s/empty.mid"});
    EXPECT_EQ(fakes.media.ops, mediaOps(1));
    // The final wait is 0 - 0 + 10 ms.
    EXPECT_GE(fakes.ticks.now - before, 10u);
    EXPECT_LE(fakes.ticks.now - before, 13u);
}

TEST_F(ModMciPlayTest, EveryFailureAfterOpeningCloses) {
    const QString name = QStringLiteral("/s/tune.mid");
    const struct {
        Op failing;
        int16_t result;
        int polls;
    } cases[] = {{Op::Length, -1, -1},
                 {Op::Play, -1, -1},
                 {Op::Position, 0, 1}};  // a lost device ends the play
    for (const auto& c : cases) {
        fakes.media.ops.clear();
        fakes.media.failing = {c.failing};
        EXPECT_EQ(player.MciPlay(name), c.result) << c.failing;
        EXPECT_EQ(fakes.media.ops.back(), Op::Close) << c.failing;
        EXPECT_TRUE(fakes.media.openFile.isEmpty()) << c.failing;
    }
    fakes.media.ops.clear();
    fakes.media.opened.clear();
    fakes.media.failing.clear();
    EXPECT_EQ(player.MciPlay(QStringLiteral("/s/nothing.mid")), -1);
    EXPECT_EQ(fakes.media.opened, QStringList{"/s/nothing.mid"});
    EXPECT_EQ(fakes.media.ops, std::vector<Op>{Op::Open});
}

TEST_F(ModMciPlayTest, StopDuringAMediaPlayEndsItAtTheNextPoll) {
    fakes.ticks.step = 10;
    const uint32_t before = fakes.ticks.now;
    player.LastWaveName = QStringLiteral("/s/a.wav");
    QTimer::singleShot(0, [&] { player.MciStop(); });
    EXPECT_EQ(player.MciPlay(QStringLiteral("/s/tune.mid")), 0);
    EXPECT_LT(fakes.ticks.now - before, 300u);
    EXPECT_EQ(fakes.media.opened, QStringList{"/s/tune.mid"});
    EXPECT_EQ(fakes.media.ops, mediaOps(1));
    EXPECT_EQ(player.PlayStop, 1);
    EXPECT_EQ(player.PlayBusy, 0);
    EXPECT_EQ(player.LastWaveName, "/s/a.wav");
    ASSERT_FALSE(fakes.wave.calls.empty());
    EXPECT_EQ(fakes.wave.calls.back(), FakeWaveSound::stopCall());

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
