#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <random>

#include "core/SettingRecord.h"
#include "core/TmpClear.h"
#include "platform/TempFolder.h"

namespace {

// Every path below root, relative to it; links are not followed.
QSet<QString> everythingBelow(const QDir& root) {
    QSet<QString> paths;
    QDirIterator it(root.path(),
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) paths << root.relativeFilePath(it.next());
    return paths;
}

void touch(const QString& path) {
    ASSERT_TRUE(QFile(path).open(QIODevice::WriteOnly)) << qPrintable(path);
}

// Cleans the folder through the real environment and file system.
void clean(const QString& folder, const QString& pattern) {
    qputenv("QUILLON_TEST_TMP", QFile::encodeName(folder));
    SettingRecord setting;
    setting.TmpEnvName = "QUILLON_TEST_TMP";
    setting.TmpFileName = pattern;
    PosixTempFolder tempFolder;
    cleanTempFolder(setting, tempFolder);
}

TEST(PosixTempFolderTest, KeepsFoldersHiddenFilesLinksTheirTargetsAndWhatLiesBelow) {
    QTemporaryDir root;
    const QDir dir(root.path());
    ASSERT_TRUE(dir.mkpath("tmp/sub") && dir.mkdir("outside"));
    for (const char* name : {"tmp/a", "tmp/B", "tmp/.hidden", "tmp/sub/below", "outside/target"})
        touch(dir.filePath(name));
    for (const auto& [target, link] : {std::pair{"outside/target", "tmp/out-link"},
                                       {"tmp/a", "tmp/in-link"},
                                       {"tmp/sub", "tmp/folder-link"},
                                       {"nowhere", "tmp/dangling-link"}})
        ASSERT_TRUE(QFile::link(dir.filePath(target), dir.filePath(link)));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("tmp/pipe")), 0600), 0);
    const QSet<QString> before = everythingBelow(dir);
    clean(dir.filePath("tmp/"), "*");
    EXPECT_EQ(before - everythingBelow(dir), (QSet<QString>{"tmp/a", "tmp/B"}));
}

TEST(PosixTempFolderTest, RandomFoldersLoseExactlyTheirMatchingOrdinaryFiles) {
    std::mt19937 random(11);
    const auto pick = [&](int count) { return static_cast<int>(random() % count); };
    const auto text = [&](const QString& alphabet) {
        QString result;
        for (int length = pick(4) + 1; length > 0; --length)
            result += alphabet[pick(alphabet.size())];
        return result;
    };
    int deletedInAll = 0;
    for (int round = 0; round < 200; ++round) {
        QTemporaryDir root;
        const QDir dir(root.path()), tmp(dir.filePath("tmp"));
        ASSERT_TRUE(dir.mkdir("tmp") && dir.mkdir("outside"));
        // Folders with a file below, links to files outside, ordinary files (some hidden).
        for (int entry = pick(16); entry > 0; --entry) {
            const QString name = text("aA~.éÉ");
            if (name == "." || name == ".." || tmp.exists(name)) continue;
            const QString path = tmp.filePath(name), outside = dir.filePath("outside/" + name);
            const int kind = pick(6);
            ASSERT_TRUE(kind != 0 || tmp.mkdir(name));
            touch(kind == 0 ? path + '/' + name : kind == 1 ? outside : path);
            ASSERT_TRUE(kind != 1 || QFile::link(outside, path));
        }
        // Half the patterns grow from a name that is there, so that many rounds delete.
        const QStringList files = tmp.entryList(QDir::Files | QDir::NoSymLinks);
        QString pattern;
        for (const QChar c : pick(2) == 0 ? files.value(pick(files.size() + 1)) : text("aA~.éÉ*?"))
            pattern += pick(4) == 0 ? QString("*?")[pick(2)] : pick(4) == 0 ? c.toUpper() : c;
        // Matched afresh by Qt's own wildcards (names and patterns here hold no "[", "\\", "/").
        const auto matching = QRegularExpression::fromWildcard(pattern, Qt::CaseInsensitive);
        QSet<QString> expected;
        for (const QString& name : files)
            if (matching.match(name).hasMatch()) expected << "tmp/" + name;

        const QSet<QString> before = everythingBelow(dir);
        clean(tmp.path(), pattern);
        const QSet<QString> after = everythingBelow(dir);
        EXPECT_EQ(before - after, expected) << "pattern " << qPrintable(pattern);
        EXPECT_TRUE((after - before).isEmpty());
        deletedInAll += static_cast<int>(expected.size());
    }
    EXPECT_GT(deletedInAll, 100);  // the rounds did delete, not only keep
}

}  // namespace
