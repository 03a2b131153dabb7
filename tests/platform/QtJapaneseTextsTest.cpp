#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

#include "platform/FileDialog.h"
#include "platform/QtJapaneseTexts.h"

namespace {

// A caption as read, without its mnemonic: "開く(&O)" reads 開く.
QString caption(const QAbstractButton* button) {
    return button->text().remove(QRegularExpression(QStringLiteral("\\(&.\\)|&")));
}

TEST(QtJapaneseTextsTest, ChooserButtonsReadJapanese) {
    const std::unique_ptr<QTranslator> texts = loadQtTextsInJapanese();
    ASSERT_TRUE(texts) << "qtbase_ja.qm (qt6-translations-l10n) is not installed";

    QStringList chooser;
    QTimer::singleShot(0, [&chooser] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        const auto* buttons = dialog->findChild<QDialogButtonBox*>();
        chooser << caption(buttons->button(QDialogButtonBox::Open))
                << caption(buttons->button(QDialogButtonBox::Cancel));
        dialog->reject();
    });
    FileDialogRequest request;
    request.title = QStringLiteral("ｱﾗｰﾑｻｳﾝﾄﾞの選択");
    request.existingOnly = true;
    EXPECT_FALSE(QtFileDialog().choose(request));
    EXPECT_EQ(chooser, QStringList({QStringLiteral("開く"), QStringLiteral("キャンセル")}));
}

}  // namespace
