#include "../ClockFixture.h"
#include "core/TmpClear.h"

namespace {

const QString kFolder = "/tmp/q";

// What is left of one file in kFolder after cleaning, TMP holding folder (null: unset).
QStringList cleaned(const QString& pattern, const QString& name, const QString& folder = kFolder,
                    const QString& variableName = "TMP") {
    FakeTempFolder tempFolder;
    if (!folder.isNull()) tempFolder.variables["TMP"] = folder;
    tempFolder.files[kFolder] = QStringList{name};
    SettingRecord setting;
    setting.TmpEnvName = variableName;
    setting.TmpFileName = pattern;
    cleanTempFolder(setting, tempFolder);
    return tempFolder.files[kFolder];
}

TEST(TmpClearTest, DeletesJustTheMatchingNames) {
    const struct {
        const char *pattern, *name;
        bool deleted;
    } rows[] = {
        // clang-format off
        {"~df*.tmp", "~DF12.TMP", true}, {"~df*.tmp", "x.tmp", false}, {"É*", "é", true},
        {"~df*.tmp", "~df1.tmp.bak", false}, {"~DF?.TMP", "~dfé.tmp", true},
        {"~df?.tmp", "~df12.tmp", false}, {"~df?.tmp", "~df.tmp", false}, {"*.tmp", ".tmp", true},
        {"~df*", "~df", true}, {"*a*b", "xaybab", true}, {"*.*", "noextension", false},
        {"[a].tmp", "a.tmp", false}, {"[a].tmp", "[A].TMP", true},
        // A folder part, which the cleaning refuses.
        {"q/~df*.tmp", "~df1.tmp", false}, {"..\\*", "x", false}, {"/tmp/q/*", "x.tmp", false},
        // clang-format on
    };
    for (const auto& row : rows)
        EXPECT_EQ(cleaned(row.pattern, row.name).isEmpty(), row.deleted)
            << row.pattern << " against " << row.name;
}

TEST(TmpClearTest, NothingWithoutAnAbsoluteFolderOrAPattern) {
    EXPECT_TRUE(cleaned("*", "~df1.tmp").isEmpty());
    EXPECT_EQ(cleaned("*", "~df1.tmp", QString()).size(), 1);  // unset
    EXPECT_EQ(cleaned("*", "~df1.tmp", "").size(), 1);
    EXPECT_EQ(cleaned("*", "~df1.tmp", "tmp/q").size(), 1);
    EXPECT_EQ(cleaned("", "~df1.tmp").size(), 1);
    EXPECT_EQ(cleaned("*", "~df1.tmp", kFolder, "").size(), 1);
}

using TmpClearAtStartTest = ClockFixture;

TEST_F(TmpClearAtStartTest, StartCleansOnlyWhenTheOptionIsOn) {
    fakes.tempFolder.variables["TEMPDIR"] = kFolder;
    fakes.tempFolder.files[kFolder] = QStringList{"~DF12.TMP", "x.tmp"};
    storeSettings({{"TmpMode", "0"}, {"TmpEnvName", "TEMPDIR"}});
    start();
    EXPECT_EQ(fakes.tempFolder.files[kFolder].size(), 2);
    storeSettings({{"TmpMode", "1"}, {"TmpEnvName", "TEMPDIR"}});
    start();
    EXPECT_EQ(fakes.tempFolder.files[kFolder], QStringList{"x.tmp"});
}

}  // namespace
