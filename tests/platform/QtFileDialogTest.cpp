#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "platform/FileDialog.h"
#include "platform/clsComDlg.h"

namespace {

class QtFileDialogTest : public ::testing::Test {
protected:
    QString make(const QString& name) {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return file.fileName();
    }

    static void open(QFileDialog& dialog) {
        auto* buttons = dialog.findChild<QDialogButtonBox*>();
        ASSERT_NE(buttons, nullptr);
        buttons->button(QDialogButtonBox::Open)->click();
    }

    // Does what the user does in the next dialog to open, then lets the dialog end as it will.
    static void whenShown(std::function<void(QFileDialog&)> act) {
        QTimer::singleShot(10, [act] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return whenShown(act);
            act(*dialog);
            // Whatever the acts left open ends here, so a failure cannot hang the test.
            if (dialog->isVisible()) dialog->reject();
        });
    }

    QTemporaryDir folder;
    QtFileDialog platformDialog;
    clsComDlg ComDlg{platformDialog};
};

TEST_F(QtFileDialogTest, TypeAcceptedLastIsShownFirstInTheNextDialog) {
    const QString chime = make(QStringLiteral("chime.mid"));
    ComDlg.Filter = QStringLiteral("ｻｳﾝﾄﾞ(*.wav)|*.wav|全てのﾌｧｲﾙ(*.*)|*.*");
    ComDlg.Flags = clsComDlg::kOpenExisting;
    ComDlg.FileName = chime;
    whenShown([](QFileDialog& dialog) {
        dialog.selectNameFilter(dialog.nameFilters().at(1));
        open(dialog);
    });
    ComDlg.setAction(1);
    EXPECT_EQ(ComDlg.FileName, chime);
    EXPECT_EQ(ComDlg.FilterIndex, 2);

    ComDlg.Filter = QStringLiteral("ｱｲｺﾝﾌｧｲﾙ(*.ico)|*.ico|全てのﾌｧｲﾙ(*.*)|*.*");
    QString shownFirst;
    whenShown([&](QFileDialog& dialog) { shownFirst = dialog.selectedNameFilter(); });
    ComDlg.setAction(1);
    EXPECT_TRUE(shownFirst.startsWith(QStringLiteral("全てのﾌｧｲﾙ(*.*)")))
        << shownFirst.toStdString();
    EXPECT_EQ(ComDlg.FilterIndex, 2);
}

TEST_F(QtFileDialogTest, BackslashInAChosenNameIsPartOfTheName) {
    const QString odd = make(QStringLiteral("a\\b.ico"));
    const QString plain = make(QStringLiteral("c.ico"));
    ComDlg.Filter = QStringLiteral("ｱｲｺﾝﾌｧｲﾙ(*.ico)|*.ico");
    ComDlg.Flags = clsComDlg::kOpenExisting | clsComDlg::OFN_ALLOWMULTISELECT;
    ComDlg.FileName = odd;
    QString proposed;
    whenShown([&](QFileDialog& dialog) {
        auto* names = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(names, nullptr);
        proposed = dialog.directory().absolutePath() + u'|' + names->text();
        names->setText(QStringLiteral("\"a\\b.ico\" \"c.ico\""));
        open(dialog);
    });
    ComDlg.setAction(1);
    // "|" joins the parts; in FileName it stands for NUL.
    EXPECT_EQ(proposed.toStdString(), (folder.path() + QStringLiteral("|a\\b.ico")).toStdString());
    EXPECT_EQ(ComDlg.ChosenFiles.join(u'|').toStdString(), (odd + u'|' + plain).toStdString());
    EXPECT_EQ(ComDlg.FileName.replace(QChar(u'\0'), u'|').toStdString(),
              (folder.path() + QStringLiteral("|a\\b.ico|c.ico")).toStdString());
}

}  // namespace
