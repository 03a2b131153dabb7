#include <gtest/gtest.h>

#include "platform/clsComDlg.h"
#include "platform/fake/Fakes.h"
#include "platform/modStdLib.h"

namespace {

TEST(PathTest, RootFolderAndNameOfDrivesSharesAndSlashPaths) {
    struct Row {
        QString path, root, folder, name;
    };
    const std::vector<Row> rows = {
        {"C:\\pics\\cow\\a.ico", "C:", "C:\\pics\\cow", "a.ico"},
        {"C:\\a.ico", "C:", "C:\\", "a.ico"},
        {"C:\\pics\\", "C:", "C:\\pics", ""},
        {"a.ico", "", "", "a.ico"},
        {"C:a.ico", "C:", "C:", "a.ico"},
        {"\\\\srv\\share\\snd\\b.wav", "\\\\srv\\share", "\\\\srv\\share\\snd", "b.wav"},
        {"\\\\srv\\share\\b.wav", "\\\\srv\\share", "\\\\srv\\share\\", "b.wav"},
        {"", "", "", ""},
        {"/home/a/b.wav", "", "/home/a", "b.wav"},
        {"/b.wav", "", "/", "b.wav"},
        // A colon inside a folder's name is no drive.
        {"/home/a:b/c.wav", "", "/home/a:b", "c.wav"},
        // Here "\" belongs to the name.
        {"/p/a\\b.ico", "", "/p", "a\\b.ico"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(PathRoot(row.path), row.root) << row.path.toStdString();
        EXPECT_EQ(PathFolder(row.path), row.folder) << row.path.toStdString();
        EXPECT_EQ(PathFileName(row.path), row.name) << row.path.toStdString();
    }
}

const QString kSounds = QStringLiteral("ｻｳﾝﾄﾞ(*.wav)|*.wav|全てのﾌｧｲﾙ(*.*)|*.*");
const QString kIcons = QStringLiteral("ｱｲｺﾝﾌｧｲﾙ(*.ico)|*.ico|全てのﾌｧｲﾙ(*.*)|*.*");

TEST(clsComDlgTest, LongPathsWholeTypeAcceptedLastIsShownFirstByAnyCaller) {
    FakeFileDialog dialog;
    clsComDlg ComDlg(dialog);
    const QString folder = QStringLiteral("/home/a/") + QString(300, QLatin1Char('x'));
    ComDlg.DialogTitle = QStringLiteral("ｱﾗｰﾑｻｳﾝﾄﾞの選択");
    ComDlg.Filter = kSounds;
    ComDlg.Flags = 0x281004;
    ComDlg.FileName = folder + QStringLiteral("/a.wav");
    dialog.answer = FileDialogAnswer{{folder + QStringLiteral("/b.mid")}, 1, folder};
    ComDlg.setAction(1);
    const FileDialogRequest& sound = dialog.requests.back();
    EXPECT_EQ(sound.title, ComDlg.DialogTitle);
    ASSERT_EQ(sound.types.size(), 2);
    EXPECT_EQ(sound.types[0].description, QStringLiteral("ｻｳﾝﾄﾞ(*.wav)"));
    EXPECT_EQ(sound.types[0].pattern, QStringLiteral("*.wav"));
    EXPECT_EQ(sound.types[1].description, QStringLiteral("全てのﾌｧｲﾙ(*.*)"));
    EXPECT_EQ(sound.types[1].pattern, QStringLiteral("*.*"));
    EXPECT_EQ(sound.selectedType, 0);
    EXPECT_EQ(sound.folder, folder);
    EXPECT_EQ(sound.fileName, QStringLiteral("a.wav"));
    EXPECT_TRUE(sound.existingOnly && !sound.multiple && !sound.save);
    EXPECT_EQ(ComDlg.FileName, folder + QStringLiteral("/b.mid"));
    EXPECT_EQ(ComDlg.FilterIndex, 2);

    // Another window's dialog, cancelled: it showed "all files" first and changes no type.
    ComDlg.Filter = kIcons;
    ComDlg.FileName = QStringLiteral("C:\\pics\\cow\\a.ico");
    dialog.answer.reset();
    ComDlg.setAction(1);
    EXPECT_EQ(dialog.requests.back().selectedType, 1);
    EXPECT_EQ(dialog.requests.back().folder, QStringLiteral("C:\\pics\\cow"));
    EXPECT_EQ(ComDlg.FileName, QString());
    EXPECT_EQ(ComDlg.FilterIndex, 2);
}

TEST(clsComDlgTest, SeveralFilesGiveFolderAndNamesBetweenNulsOneFileItsPath) {
    FakeFileDialog dialog;
    clsComDlg ComDlg(dialog);
    ComDlg.Filter = kIcons;
    ComDlg.Flags = 0x281204;
    dialog.answer = FileDialogAnswer{{"/pics/a.ico", "/pics/b.ico"}, 0, "/pics"};
    ComDlg.setAction(1);
    EXPECT_TRUE(dialog.requests.back().multiple);
    EXPECT_EQ(ComDlg.FileName, QStringLiteral("/pics") + QChar(u'\0') + QStringLiteral("a.ico") +
                                   QChar(u'\0') + QStringLiteral("b.ico"));
    EXPECT_EQ(ComDlg.ChosenFiles, QStringList({"/pics/a.ico", "/pics/b.ico"}));
    EXPECT_EQ(ComDlg.FilterIndex, 1);
    dialog.answer = FileDialogAnswer{{"/a.ico"}, 0, "/"};
    ComDlg.setAction(1);
    EXPECT_EQ(ComDlg.FileName, QStringLiteral("/a.ico"));
    EXPECT_EQ(ComDlg.ChosenFiles, QStringList{"/a.ico"});
    dialog.answer.reset();
    ComDlg.setAction(1);
    EXPECT_TRUE(ComDlg.ChosenFiles.isEmpty());
}

}  // namespace
