#include "../ClockFixture.h"
#include "core/TmpClear.h"

namespace {

const QString kFolder = QStringLiteral("/tmp/q");

SettingRecord cleaning(const QString& pattern) {
    SettingRecord setting;
    setting.TmpMode = 1;
    setting.TmpFileName = pattern;
    return setting;
}

TEST(TmpClearTest, DeletesJustTheMatchingNames) {
    struct Row {
        const char* pattern;
        const char* name;
        bool deleted;
    };
    const Row rows[] = {
        {"~df*.tmp", "~DF12.TMP", true},
        {"~df*.tmp", "~df34.tmp", true},
        {"~df*.tmp", "x.tmp", false},
        {"~df*.tmp", "~df12.tmp.bak", false},
        {"~DF?.TMP", "~dfé.tmp", true},
        {"~df?.tmp", "~df12.tmp", false},
        {"~df?.tmp", "~df.tmp", false},
        {"É*", "é", true},
        {"*.tmp", ".tmp", true},
        {"*.tmp", "a.tmpx", false},
        {"~df*", "~df", true},
        {"*a*b", "xaybab", true},
        {"*", "anything", true},
        {"*.*", "noextension", false},
        {"[a].tmp", "a.tmp", false},
        {"[a].tmp", "[A].TMP", true},
        {"q/~df*.tmp", "~df1.tmp", false},
        {"..\\*", "x.tmp", false},
        {"/tmp/q/*", "x.tmp", false},
    };
    for (const Row& row : rows) {
        FakeTempFolder tempFolder;
        tempFolder.variables[QStringLiteral("TMP")] = kFolder;
        tempFolder.files[kFolder] = QStringList{QString::fromUtf8(row.name)};
        cleanTempFolder(cleaning(QString::fromUtf8(row.pattern)), tempFolder);
        EXPECT_EQ(tempFolder.files[kFolder].isEmpty(), row.deleted)
            << row.pattern << " against " << row.name;
    }
}

TEST(TmpClearTest, NothingWithoutAnAbsoluteFolderOrAPattern) {
    const auto remaining = [](const QString& variable, const SettingRecord& setting) {
        FakeTempFolder tempFolder;
        if (!variable.isNull()) tempFolder.variables[QStringLiteral("TMP")] = variable;
        tempFolder.files[variable] = QStringList{QStringLiteral("~df1.tmp")};
        cleanTempFolder(setting, tempFolder);
        return tempFolder.files[variable].size();
    };
    SettingRecord noVariableName = cleaning(QStringLiteral("*"));
    noVariableName.TmpEnvName.clear();

    EXPECT_EQ(remaining(kFolder, cleaning(QStringLiteral("*"))), 0);
    EXPECT_EQ(remaining(QString(), cleaning(QStringLiteral("*"))), 1);  // unset
    EXPECT_EQ(remaining(QStringLiteral(""), cleaning(QStringLiteral("*"))), 1);
    EXPECT_EQ(remaining(QStringLiteral("tmp/q"), cleaning(QStringLiteral("*"))), 1);
    EXPECT_EQ(remaining(kFolder, cleaning(QString())), 1);
    EXPECT_EQ(remaining(kFolder, noVariableName), 1);
}

using TmpClearAtStartTest = ClockFixture;

TEST_F(TmpClearAtStartTest, StartCleansOnlyWhenTheOptionIsOn) {
    fakes.tempFolder.variables[QStringLiteral("TEMPDIR")] = kFolder;
    const QStringList leftovers{QStringLiteral("~DF12.TMP"), QStringLiteral("x.tmp")};
    fakes.tempFolder.files[kFolder] = leftovers;
    storeSettings({{"TmpMode", "0"}, {"TmpEnvName", "TEMPDIR"}});
    start();
    EXPECT_EQ(fakes.tempFolder.files[kFolder], leftovers);

    storeSettings({{"TmpMode", "1"}, {"TmpEnvName", "TEMPDIR"}});
    start();
    EXPECT_EQ(fakes.tempFolder.files[kFolder], QStringList{"x.tmp"});
}

}  // namespace
