#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "core/ProgramFolder.h"
#include "core/SettingKeys.h"
#include "core/WindowTwips.h"
#include "core/modCou1.h"
#include "platform/QtSettingsStore.h"
#include "platform/fake/Fakes.h"

namespace {

// A window as the settings see it: a position and size in twips.
struct FakeWindow final : WindowTwips {
    int32_t Left() const override { return left; }
    int32_t Top() const override { return top; }
    int32_t Width() const override { return 3840; }
    int32_t Height() const override { return 1230; }
    void setLeft(int32_t twips) override { left = twips; }
    void setTop(int32_t twips) override { top = twips; }
    int32_t left = -1;
    int32_t top = -1;
};

class SettingsTest : public ::testing::Test {
protected:
    modCou1::SettingContext context(const QString& folder = QStringLiteral("/opt/quillon/")) {
        return {store, clock, QSize(15360, 11520), folder};
    }
    SettingRecord load(const QString& folder = QStringLiteral("/opt/quillon/")) {
        SettingRecord record;
        modCou1::SettingLoad(record, window, context(folder));
        return record;
    }
    void storeSaved(const SettingRecord& record) {
        modCou1::SettingSave(record, window, context());
    }

    FakeClock clock{QDateTime(QDate(2026, 12, 7), QTime(5, 30, 9))};
    MemoryStore store;
    FakeWindow window;
};

TEST_F(SettingsTest, EmptyStoreIsAFirstStartAndWritesNothing) {
    const SettingRecord record = load();
    EXPECT_EQ(record.Style, 1);
    EXPECT_EQ(record.TimeWidth, 240);
    EXPECT_EQ(record.WordSize, 12);
    EXPECT_EQ(record.TmpEnvName, "TMP");
    EXPECT_EQ(record.TmpFileName, "~df*.tmp");
    EXPECT_EQ(record.TimeCheckLength, 7);
    EXPECT_EQ(record.AlarmTime, 720);
    EXPECT_EQ(record.TaskTray, 1);
    EXPECT_EQ(record.TopMost, 0);
    EXPECT_EQ(record.AlarmWake, 0);
    EXPECT_EQ(record.LastTime, clock.now());
    EXPECT_EQ(record.AlarmName1, "/opt/quillon/Tolla.wav");
    EXPECT_EQ(record.AlarmName2, "/opt/quillon/Gongo.wav");
    // Centred by the window's initial size.
    EXPECT_EQ(window.left, 15360 / 2 - 3840 / 2);
    EXPECT_EQ(window.top, 11520 / 2 - 1230 / 2);
    EXPECT_EQ(store.saves, 0);
}

TEST_F(SettingsTest, MissingOrEmptyTopIgnoresEverythingElse) {
    store.set(QStringLiteral("Style"), QStringLiteral("7"));
    store.set(QStringLiteral("TimeWidth"), QStringLiteral("360"));
    store.set(QStringLiteral("Left"), QStringLiteral("100"));
    EXPECT_EQ(load().Style, 1);
    EXPECT_EQ(window.left, 5760);

    store.set(QStringLiteral("Top"), QString());
    const SettingRecord record = load();
    EXPECT_EQ(record.TimeWidth, 240);
    EXPECT_EQ(window.left, 5760);
}

TEST_F(SettingsTest, ProgramFolderGetsOneSeparator) {
    EXPECT_EQ(load(withTrailingSeparator(QStringLiteral("C:\\"))).AlarmName1, "C:\\Tolla.wav");
    EXPECT_EQ(load(withTrailingSeparator(QStringLiteral("/"))).AlarmName1, "/Tolla.wav");
    EXPECT_EQ(withTrailingSeparator(QStringLiteral("/opt/quillon")), "/opt/quillon/");
    EXPECT_EQ(withTrailingSeparator(QStringLiteral("D:\\Tools\\")), "D:\\Tools\\");
}

TEST_F(SettingsTest, NumbersRoundHalvesToEven) {
    store.set(QStringLiteral("Top"), QStringLiteral("0"));
    store.set(QStringLiteral("Left"), QStringLiteral("100.5"));
    store.set(QStringLiteral("WordSize"), QStringLiteral("12.5"));
    store.set(QStringLiteral("AlarmTime"), QStringLiteral("13.5"));
    const SettingRecord record = load();
    EXPECT_EQ(window.left, 100);
    EXPECT_EQ(record.WordSize, 12);
    EXPECT_EQ(record.AlarmTime, 14);

    store.set(QStringLiteral("Left"), QStringLiteral("101.5"));
    load();
    EXPECT_EQ(window.left, 102);
}

TEST_F(SettingsTest, BadValuesTakeFirstStartValues) {
    store.set(QStringLiteral("Top"), QStringLiteral("150"));
    store.set(QStringLiteral("Style"), QStringLiteral("seven"));
    store.set(QStringLiteral("TimeWidth"), QStringLiteral("0"));
    store.set(QStringLiteral("WordSize"), QStringLiteral("-3"));
    store.set(QStringLiteral("AlarmMode"), QStringLiteral("40000"));
    store.set(QStringLiteral("TaskTray"), QString());
    store.set(QStringLiteral("LastTime"), QStringLiteral("yesterday-ish"));
    const SettingRecord record = load();
    EXPECT_EQ(record.Style, 1);
    EXPECT_EQ(record.TimeWidth, 240);
    EXPECT_EQ(record.WordSize, 12);
    EXPECT_EQ(record.AlarmMode, 0);
    EXPECT_EQ(record.TaskTray, 1);
    EXPECT_EQ(record.LastTime, clock.now());
    // Missing keys that have no default of their own.
    EXPECT_EQ(record.BackType, 0);
    EXPECT_EQ(record.CharName2, "");
    EXPECT_EQ(window.left, 5760);
    EXPECT_EQ(window.top, 150);
}

TEST_F(SettingsTest, PositionBeyondSixteenBitsIsKept) {
    store.set(QStringLiteral("Top"), QStringLiteral("-40000"));
    store.set(QStringLiteral("Left"), QStringLiteral("52500"));
    load();
    EXPECT_EQ(window.left, 52500);
    EXPECT_EQ(window.top, -40000);
}

TEST_F(SettingsTest, SaveWritesAllKeysInOrderAndTheMomentOfSaving) {
    SettingRecord record = load();
    record.LastTime = QDateTime(QDate(2020, 1, 1), QTime(0, 0));
    window.left = 1500;
    window.top = -15;
    storeSaved(record);
    EXPECT_EQ(
        store.lastSaveOrder,
        QStringList({"Style",         "TimeWidth",  "Left",        "Top",        "BackType",
                     "CharType",      "BackName",   "CharName1",   "CharName2",  "WordSize",
                     "TmpMode",       "TmpEnvName", "TmpFileName", "LastTime",   "TimeCheckLength",
                     "TimeCheckMode", "AlarmMode",  "AlarmTime",   "AlarmName1", "AlarmName2",
                     "TaskTray",      "TopMost",    "AlarmWake"}));
    EXPECT_EQ(store.value(QStringLiteral("Left")), "1500");
    EXPECT_EQ(store.value(QStringLiteral("Top")), "-15");
    EXPECT_EQ(store.value(QStringLiteral("LastTime")), "2026/12/07 5:30:09");

    clock.advanceSeconds(60);
    storeSaved(record);
    EXPECT_EQ(store.value(QStringLiteral("LastTime")), "2026/12/07 5:31:09");
    EXPECT_EQ(record.LastTime, QDateTime(QDate(2020, 1, 1), QTime(0, 0)));
}

TEST_F(SettingsTest, SavedRecordLoadsBackUnchanged) {
    SettingRecord record = load();
    record.Style = 7;
    record.TimeWidth = 360;
    record.BackType = 1;
    record.BackName = QStringLiteral("/home/u/空, 2.bmp");
    record.WordSize = 20;
    record.AlarmMode = 31;
    record.AlarmName1 = QStringLiteral("!notify-send \"朝です\"");
    record.AlarmWake = 1;
    window.left = 7800;
    window.top = 7380;
    storeSaved(record);

    window = FakeWindow();
    const SettingRecord loaded = load();
    EXPECT_EQ(loaded.Style, 7);
    EXPECT_EQ(loaded.TimeWidth, 360);
    EXPECT_EQ(loaded.BackName, record.BackName);
    EXPECT_EQ(loaded.WordSize, 20);
    EXPECT_EQ(loaded.AlarmMode, 31);
    EXPECT_EQ(loaded.AlarmName1, record.AlarmName1);
    EXPECT_EQ(loaded.AlarmWake, 1);
    EXPECT_EQ(loaded.LastTime, clock.now());
    EXPECT_EQ(window.left, 7800);
    EXPECT_EQ(window.top, 7380);
}

// Rows name one key or several, each in backticks, in their first cell.
TEST(SettingKeysTest, ReadmeTableNamesEveryKeyAndNoOther) {
    QFile readme(QStringLiteral(QUILLON_README));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(readme.readAll());
    const qsizetype from = text.indexOf(QStringLiteral("\n## Settings\n"));
    ASSERT_GE(from, 0);
    const QString section = text.mid(from, text.indexOf(QStringLiteral("\n## "), from + 1) - from);
    QStringList documented, keys;
    const QRegularExpression firstCell(QStringLiteral("^\\| ([^|]*) \\|"),
                                       QRegularExpression::MultilineOption);
    for (const QRegularExpressionMatch& row : firstCell.globalMatch(section))
        for (const QRegularExpressionMatch& key :
             QRegularExpression(QStringLiteral("`(\\w+)`")).globalMatch(row.captured(1)))
            documented << key.captured(1);
    for (const SettingKey& key : kSettingKeys) keys << key.name.toString();
    documented.sort();
    keys.sort();
    EXPECT_EQ(documented, keys);
}

TEST(LastTimeText, RoundTripsToTheSecondAndReadsOtherForms) {
    const QDateTime moment(QDate(2026, 1, 2), QTime(23, 4, 5, 678));
    const QString text = modCou1::lastTimeText(moment);
    EXPECT_EQ(text, "2026/01/02 23:04:05");
    EXPECT_EQ(modCou1::parseLastTime(text), QDateTime(QDate(2026, 1, 2), QTime(23, 4, 5)));
    EXPECT_EQ(modCou1::parseLastTime(QStringLiteral("2026/1/2 3:04:05")),
              QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)));
    EXPECT_EQ(modCou1::parseLastTime(QStringLiteral("2026-01-02T03:04:05")),
              QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)));
    EXPECT_FALSE(modCou1::parseLastTime(QStringLiteral("2026/13/40 25:00:00")));
    EXPECT_FALSE(modCou1::parseLastTime(QString()));
}

// The text must not follow the system locale: checked again in a copy of this test run
// under a locale whose digits and date order differ.
TEST(LastTimeText, IsTheSameUnderEverySystemLocale) {
    const QString arabic = QStringLiteral("ar_EG.UTF-8");
    if (qEnvironmentVariable("LC_ALL") != arabic) {
        QProcess copy;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), arabic);
        copy.setProcessEnvironment(environment);
        copy.start(QCoreApplication::applicationFilePath(),
                   {QStringLiteral("--gtest_filter=LastTimeText.*")});
        ASSERT_TRUE(copy.waitForFinished(30000));
        EXPECT_EQ(copy.exitCode(), 0) << copy.readAllStandardOutput().toStdString();
    } else {
        ASSERT_EQ(QLocale::system().zeroDigit(), QStringLiteral("٠"));
    }
    const QDateTime moment(QDate(2026, 12, 7), QTime(17, 8, 9));
    EXPECT_EQ(modCou1::lastTimeText(moment), "2026/12/07 17:08:09");
    EXPECT_EQ(modCou1::parseLastTime(QStringLiteral("2026/12/07 17:08:09")), moment);
}

TEST(QtSettingsStoreTest, TellsMissingFromEmptyAndKeepsTextWhole) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("Quillon.ini"));
    {
        QtSettingsStore store(file);
        store.writeAll({{QStringLiteral("CharName2"), QString()},
                        {QStringLiteral("BackName"), QStringLiteral("/p/a,b 空.bmp")},
                        {QStringLiteral("TmpFileName"), QStringLiteral("~df*.tmp")}});
    }
    QtSettingsStore store(file);
    EXPECT_EQ(store.read(QStringLiteral("CharName2")), QString());
    EXPECT_FALSE(store.read(QStringLiteral("CharName1")));
    EXPECT_EQ(store.read(QStringLiteral("BackName")), "/p/a,b 空.bmp");
    EXPECT_EQ(store.read(QStringLiteral("TmpFileName")), "~df*.tmp");
}

TEST(QtSettingsStoreTest, HandWrittenCommaValueReadsAsOneText) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("Quillon.ini"));
    QFile ini(file);
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Setting]\nAlarmName1=!play a,b.wav\n");
    ini.close();
    EXPECT_EQ(QtSettingsStore(file).read(QStringLiteral("AlarmName1")), "!play a,b.wav");
}

// QSettings keeps its first error for good: a save after one that failed must still tell.
TEST(QtSettingsStoreTest, FailedSaveSaysWhereAndWhyAndTheNextOneWorks) {
    QTemporaryDir folder;
    const QString blocker = folder.filePath(QStringLiteral("Quillon"));
    const QString file = blocker + QStringLiteral("/Quillon.ini");
    ASSERT_TRUE(QFile(blocker).open(QIODevice::WriteOnly));  // a file where the folder goes
    QtSettingsStore store(file);
    const std::optional<SaveFailure> failure = store.writeAll({{"TopMost", "1"}});
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->file, file);
    EXPECT_EQ(failure->reason, "Not a directory");

    ASSERT_TRUE(QFile::remove(blocker) && QDir(folder.path()).mkdir(QStringLiteral("Quillon")));
    EXPECT_FALSE(store.writeAll({{"TopMost", "1"}}));
    EXPECT_EQ(QtSettingsStore(file).read(QStringLiteral("TopMost")), "1");
}

}  // namespace
