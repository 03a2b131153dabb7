#include "../ClockFixture.h"

namespace {

class PictureReadTest : public ClockFixture {
protected:
    void SetUp() override {
        fakes.pictures.files[QStringLiteral("/bg.bmp")] = filled(2880, 60, Qt::darkGreen);
        fakes.pictures.files[QStringLiteral("/1.ico")] = filled(32, 32, Qt::red);
        fakes.pictures.files[QStringLiteral("/2.ico")] = filled(48, 40, Qt::blue);
    }
    const SettingRecord& setting() const { return window->setting(); }
    bool showsBuiltInCharacter() const {
        return probe().picCursor[0] == probe().picOCursor[0] &&
               probe().picCursor[1] == probe().picOCursor[1];
    }
};

TEST_F(PictureReadTest, FirstStartUsesTheBuiltInPicturesQuietly) {
    start();
    EXPECT_EQ(probe().picBack, probe().picOBack);
    EXPECT_TRUE(showsBuiltInCharacter());
    EXPECT_TRUE(fakes.messages.shown.isEmpty());
}

TEST_F(PictureReadTest, ReadableBackgroundSetsTheBarHeight) {
    storeSettings({{"BackType", "1"}, {"BackName", "/bg.bmp"}});
    start();
    EXPECT_EQ(probe().picBack.size(), QSize(2880, 60));
    EXPECT_EQ(probe().picBar->height(), 60);
    EXPECT_EQ(setting().BackType, 1);
}

TEST_F(PictureReadTest, BackgroundFallsBack) {
    storeSettings({{"BackType", "1"}, {"BackName", "/gone.bmp"}});
    start();
    EXPECT_EQ(probe().picBack, probe().picOBack);
    EXPECT_EQ(setting().BackType, 0);
    EXPECT_EQ(setting().BackName, "/gone.bmp");
    EXPECT_EQ(fakes.messages.shown,
              QStringList{"背景ﾌｧｲﾙの[/gone.bmp]が読めないので[アルプス高原]を使用します"});

    // An empty name is no failure.
    fakes.messages.shown.clear();
    window->setting().BackType = 1;
    window->setting().BackName.clear();
    window->PicLoad();
    EXPECT_EQ(setting().BackType, 0);
    EXPECT_TRUE(fakes.messages.shown.isEmpty());
}

TEST_F(PictureReadTest, PicturesTooLargeOrUnconvertibleFallBackWithTheMessage) {
    const QImage unconvertible;  // what a conversion gives when memory runs out
    for (const QImage& picture :
         {unconvertible, filled(32768, 1, Qt::red), filled(1, 32768, Qt::red)}) {
        fakes.pictures.files[QStringLiteral("/bad")] = picture;
        fakes.messages.shown.clear();
        storeSettings({{"BackType", "1"},
                       {"BackName", "/bad"},
                       {"CharType", "1"},
                       {"CharName1", "/1.ico"},
                       {"CharName2", "/bad"}});
        start();
        ASSERT_EQ(probe().picBack, probe().picOBack)
            << picture.width() << " x " << picture.height();
        tick(23, 59, 0);  // would wrap the strip for ever on a picture 0 wide
        EXPECT_EQ(probe().picCursor[1], probe().picCursor[0]);
        EXPECT_EQ(fakes.messages.shown,
                  QStringList({"背景ﾌｧｲﾙの[/bad]が読めないので[アルプス高原]を使用します",
                               "ｷｬﾗｸﾀﾌｧｲﾙの[/bad]が読めません"}));

        storeSettings({{"CharName1", "/bad"}});
        start();
        EXPECT_TRUE(showsBuiltInCharacter());
        EXPECT_EQ(fakes.messages.shown.last(),
                  "ｷｬﾗｸﾀﾌｧｲﾙの[/bad]が読めないので[牛（ルッコラ）]を使用します");
    }
    // The largest picture the bar can count is read.
    storeSettings({{"BackType", "1"}, {"BackName", "/widest"}});
    fakes.pictures.files[QStringLiteral("/widest")] = filled(32767, 1, Qt::red);
    start();
    EXPECT_EQ(probe().picBack.width(), 32767);
}

struct CharacterCase {
    const char* name;
    const char* type;
    const char* name1;
    const char* name2;
    bool builtIn;
    bool secondFrameOwn;
    int typeAfter;
    const char* name2After;
    const char* message;
};

void PrintTo(const CharacterCase& row, std::ostream* out) { *out << row.name; }

class CharacterRows : public PictureReadTest,
                      public ::testing::WithParamInterface<CharacterCase> {};

TEST_P(CharacterRows, FramesSettingsAndMessage) {
    const CharacterCase& row = GetParam();
    storeSettings({{"CharType", row.type}, {"CharName1", row.name1}, {"CharName2", row.name2}});
    start();
    EXPECT_EQ(showsBuiltInCharacter(), row.builtIn);
    if (!row.builtIn) {
        EXPECT_EQ(probe().picCursor[0].pixel(0, 0), QColor(Qt::red).rgba());
        EXPECT_EQ(probe().picCursor[1].pixel(0, 0),
                  QColor(row.secondFrameOwn ? Qt::blue : Qt::red).rgba());
    }
    EXPECT_EQ(setting().CharType, row.typeAfter);
    EXPECT_EQ(setting().CharName2, QString::fromUtf8(row.name2After));
    EXPECT_EQ(fakes.messages.shown.join(u'|'), QString::fromUtf8(row.message));
}

INSTANTIATE_TEST_SUITE_P(
    AllRows, CharacterRows,
    ::testing::Values(
        CharacterCase{"TypeZero", "0", "/1.ico", "/2.ico", true, false, 0, "/2.ico", ""},
        CharacterCase{"EmptyName", "1", "", "/2.ico", true, false, 0, "/2.ico", ""},
        CharacterCase{"FirstUnreadable", "1", "/none.ico", "/2.ico", true, false, 0, "/2.ico",
                      "ｷｬﾗｸﾀﾌｧｲﾙの[/none.ico]が読めないので[牛（ルッコラ）]を使用します"},
        CharacterCase{"OneFrame", "1", "/1.ico", "", false, false, 1, "", ""},
        CharacterCase{"TwoFrames", "1", "/1.ico", "/2.ico", false, true, 1, "/2.ico", ""},
        CharacterCase{"SecondUnreadable", "1", "/1.ico", "/notes.txt", false, false, 1, "",
                      "ｷｬﾗｸﾀﾌｧｲﾙの[/notes.txt]が読めません"}),
    [](const ::testing::TestParamInfo<CharacterCase>& info) { return info.param.name; });

TEST_F(PictureReadTest, BackgroundMessageComesBeforeTheCharacterMessage) {
    storeSettings(
        {{"BackType", "1"}, {"BackName", "/x.bmp"}, {"CharType", "1"}, {"CharName1", "/y.ico"}});
    start();
    ASSERT_EQ(fakes.messages.shown.size(), 2);
    EXPECT_TRUE(fakes.messages.shown[0].startsWith(QStringLiteral("背景")));
    EXPECT_TRUE(fakes.messages.shown[1].startsWith(QStringLiteral("ｷｬﾗｸﾀ")));
}

TEST_F(PictureReadTest, FramesOfDifferentSizesPlaceByTheLarger) {
    storeSettings({{"CharType", "1"}, {"CharName1", "/1.ico"}, {"CharName2", "/2.ico"}});
    start();
    EXPECT_EQ(probe().CursorWidth, 48);
    EXPECT_EQ(probe().CursorHeight, 40);
}

TEST_F(PictureReadTest, PicLoadAlwaysAsksForAFullRedraw) {
    start();
    tick(10, 0, 0);
    ASSERT_EQ(probe().LastDrawnMinute, 600);
    window->PicLoad();
    EXPECT_EQ(probe().LastDrawnMinute, -1);
}

}  // namespace
