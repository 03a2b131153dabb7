#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <random>

#include "core/SettingRecord.h"
#include "core/TmpClear.h"
#include "platform/TempFolder.h"

namespace {

// Every path below root, links not followed, relative to root.
QSet<QString> everythingBelow(const QString& root) {
    QSet<QString> paths;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) paths << QDir(root).relativeFilePath(it.next());
    return paths;
}

void touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << qPrintable(path);
}

// Cleans through the real environment and file system, the folder given by a variable.
void clean(const QString& folder, const QString& pattern) {
    qputenv("QUILLON_TEST_TMP", QFile::encodeName(folder));
    SettingRecord setting;
    setting.TmpEnvName = QStringLiteral("QUILLON_TEST_TMP");
    setting.TmpFileName = pattern;
    PosixTempFolder tempFolder;
    cleanTempFolder(setting, tempFolder);
}

TEST(PosixTempFolderTest, DeletesOnlyOrdinaryVisibleFilesDirectlyInTheFolder) {
    QTemporaryDir root;
    const QDir dir(root.path());
    ASSERT_TRUE(dir.mkpath(QStringLiteral("tmp/sub.tmp")) && dir.mkpath(QStringLiteral("outside")));
    const QString tmp = dir.filePath(QStringLiteral("tmp"));
    for (const char* name : {"tmp/A.TMP", "tmp/b.tmp", "tmp/.hidden.tmp", "tmp/target.dat",
                             "tmp/sub.tmp/below.tmp", "outside/out.tmp"})
        touch(dir.filePath(QString::fromLatin1(name)));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("tmp/target.dat")),
                            dir.filePath(QStringLiteral("tmp/link.tmp"))));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("outside/out.tmp")),
                            dir.filePath(QStringLiteral("tmp/out-link.tmp"))));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("tmp/sub.tmp")),
                            dir.filePath(QStringLiteral("tmp/folder-link.tmp"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("nowhere"), dir.filePath(QStringLiteral("tmp/x.tmp"))));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("tmp/pipe.tmp"))), 0600), 0);
    const QSet<QString> before = everythingBelow(root.path());

    clean(tmp + u'/', QStringLiteral("*.tmp"));

    EXPECT_EQ(before - everythingBelow(root.path()),
              (QSet<QString>{QStringLiteral("tmp/A.TMP"), QStringLiteral("tmp/b.tmp")}));
}

// The matching told afresh, as a regular expression.
bool matchesByExpression(const QString& pattern, const QString& name) {
    QString expression;
    for (const QChar c : pattern)
        expression += c == u'*'   ? QStringLiteral(".*")
                      : c == u'?' ? QStringLiteral(".")
                                  : QRegularExpression::escape(QString(c));
    return QRegularExpression(QRegularExpression::anchoredPattern(expression),
                              QRegularExpression::CaseInsensitiveOption)
        .match(name)
        .hasMatch();
}

TEST(PosixTempFolderTest, RandomFoldersLoseExactlyTheirMatchingOrdinaryFiles) {
    std::mt19937 random(11);
    const auto pick = [&](int count) { return static_cast<int>(random() % count); };
    const auto text = [&](const QString& alphabet, int longest) {
        QString result;
        for (int length = pick(longest + 1); length > 0; --length)
            result += alphabet[pick(alphabet.size())];
        return result;
    };
    int deletedInAll = 0;
    for (int round = 0; round < 200; ++round) {
        QTemporaryDir root;
        const QDir dir(root.path());
        ASSERT_TRUE(dir.mkpath(QStringLiteral("tmp")) && dir.mkpath(QStringLiteral("outside")));
        const QDir tmp(dir.filePath(QStringLiteral("tmp")));
        for (int entry = pick(16); entry > 0; --entry) {
            const QString name = text(QStringLiteral("aA~.éÉ"), 4);
            if (name.isEmpty() || name == u"." || name == u".." || tmp.exists(name)) continue;
            const QString path = tmp.filePath(name),
                          elsewhere = dir.filePath(QStringLiteral("outside/") + name);
            switch (pick(6)) {
                case 0:
                    ASSERT_TRUE(tmp.mkdir(name));
                    touch(path + u'/' + name);
                    break;
                case 1:
                    touch(elsewhere);
                    ASSERT_TRUE(QFile::link(elsewhere, path));
                    break;
                case 2:
                    ASSERT_TRUE(
                        QFile::link(tmp.filePath(tmp.entryList(QDir::Files).value(0)), path));
                    break;
                default:
                    touch(path);
            }
        }
        // Half the patterns grow from a name that is there, so that many rounds delete.
        QString pattern = text(QStringLiteral("aA~.éÉ*?"), 4);
        const QStringList names = tmp.entryList(QDir::Files | QDir::NoSymLinks);
        if (!names.isEmpty() && pick(2) == 0) {
            pattern.clear();
            for (const QChar c : names[pick(names.size())]) {
                const int change = pick(8);
                pattern += change == 0 ? QChar(u'?') : change == 1 ? QChar(u'*') : c;
                if (change == 2) pattern += u'*';
            }
            pattern = pick(2) == 0 ? pattern.toUpper() : pattern;
        }
        QSet<QString> expected;
        for (const QFileInfo& entry :
             tmp.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
            if (entry.isFile() && !entry.isSymLink() && !entry.isHidden() &&
                matchesByExpression(pattern, entry.fileName()))
                expected << QStringLiteral("tmp/") + entry.fileName();
        }
        const QSet<QString> before = everythingBelow(root.path());

        clean(tmp.path(), pattern);

        const QSet<QString> after = everythingBelow(root.path());
        EXPECT_EQ(before - after, expected) << "pattern " << qPrintable(pattern);
        EXPECT_TRUE((after - before).isEmpty());
        deletedInAll += static_cast<int>(expected.size());
    }
    EXPECT_GT(deletedInAll, 100);  // the rounds did delete, not only keep
}

}  // namespace
