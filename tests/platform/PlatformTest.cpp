#include <fcntl.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <cerrno>
#include <csignal>

#include "platform/FileDialog.h"
#include "platform/PictureLoader.h"
#include "platform/PlatformChoice.h"
#include "platform/QtJapaneseTexts.h"
#include "platform/QtTrayIcon.h"
#include "platform/QuitSignals.h"
#include "platform/SingleInstance.h"
#include "platform/TrayIcon.h"

namespace {

TEST(SingleInstanceTest, SecondStartCallsTheFirstForward) {
    QTemporaryDir folder;
    SingleInstance first(folder.path());
    ASSERT_TRUE(first.acquire());
    QSignalSpy called(&first, &SingleInstance::activationRequested);

    SingleInstance second(folder.path());
    EXPECT_FALSE(second.acquire());
    EXPECT_TRUE(called.wait(2000));
}

TEST(SingleInstanceTest, LeftoverSocketOfACrashDoesNotBlock) {
    QTemporaryDir folder;
    SingleInstance probe(folder.path());
    QFile leftover(probe.socketPath());
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();
    EXPECT_TRUE(SingleInstance(folder.path()).acquire());
}

TEST(TrayIconDataTest, TipShowsTheTitleUpToSixtyThreeCharacters) {
    TrayIconData data;
    data.szTip = TrayIconData::tipField(QStringLiteral("クイロン"));
    EXPECT_EQ(data.tipText(), "クイロン");
    const QString longTitle(100, u'x');
    data.szTip = TrayIconData::tipField(longTitle);
    EXPECT_EQ(data.tipText(), longTitle.left(63));
}

TEST(QtPictureLoaderTest, ReadsPicturesAndRefusesTheRest) {
    QTemporaryDir folder;
    const QtPictureLoader loader;
    QImage picture(7, 3, QImage::Format_RGB32);
    picture.fill(Qt::yellow);
    const QString bmp = folder.filePath(QStringLiteral("day.bmp"));
    ASSERT_TRUE(picture.save(bmp));
    const auto loaded = loader.load(bmp);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->size(), QSize(7, 3));
    // Read by content, whatever the name says.
    const QString png = folder.filePath(QStringLiteral("day.ico"));
    ASSERT_TRUE(picture.save(png, "PNG"));
    EXPECT_TRUE(loader.load(png));

    QFile text(folder.filePath(QStringLiteral("notes.bmp")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    text.close();
    EXPECT_FALSE(loader.load(text.fileName()));
    EXPECT_FALSE(loader.load(QString()));
    EXPECT_FALSE(loader.load(folder.path()));
    EXPECT_FALSE(loader.load(folder.filePath(QStringLiteral("missing.ico"))));

    const QString tall = folder.filePath(QStringLiteral("tall.bmp"));
    ASSERT_TRUE(QImage(1, kLargestPictureSide + 1, QImage::Format_Mono).save(tall));
    EXPECT_FALSE(loader.load(tall));
}

TEST(QtPictureLoaderTest, BuiltInIconsKeepTheirTransparency) {
    const auto cow = QtPictureLoader().load(QStringLiteral(":/cow0.ico"));
    ASSERT_TRUE(cow);
    EXPECT_EQ(cow->size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(cow->pixel(0, 0)), 0);
}

// Runs preferXcbUnderWayland with the given session variables (nullptr: unset) and tells the
// platform it chose.
QByteArray choiceFor(const char* platform, const char* wayland, const char* x11) {
    const auto set = [](const char* name, const char* value) {
        if (value)
            qputenv(name, QByteArray(value));
        else
            qunsetenv(name);
    };
    const QByteArray saved = qgetenv("QT_QPA_PLATFORM");
    set("QT_QPA_PLATFORM", platform);
    set("WAYLAND_DISPLAY", wayland);
    set("DISPLAY", x11);
    preferXcbUnderWayland();
    const QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
    qputenv("QT_QPA_PLATFORM", saved);
    return chosen;
}

TEST(PlatformChoiceTest, WaylandWithXWaylandRunsOnX11OrElseOnWayland) {
    EXPECT_EQ(choiceFor(nullptr, "wayland-0", ":0"), "xcb;wayland");
    EXPECT_EQ(choiceFor(nullptr, "wayland-0", nullptr), "");
    EXPECT_EQ(choiceFor(nullptr, nullptr, ":0"), "");
    EXPECT_EQ(choiceFor("wayland", "wayland-0", ":0"), "wayland");
}

TEST(QtJapaneseTextsTest, ChooserButtonsReadJapanese) {
    const std::unique_ptr<QTranslator> texts = loadQtTextsInJapanese();
    ASSERT_TRUE(texts) << "qtbase_ja.qm (qt6-translations-l10n) is not installed";
    QStringList captions;
    QTimer::singleShot(0, [&captions] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        const auto* buttons = dialog->findChild<QDialogButtonBox*>();
        // Without the mnemonic: "開く(&O)" reads 開く.
        for (const auto button : {QDialogButtonBox::Open, QDialogButtonBox::Cancel})
            captions << buttons->button(button)->text().remove(
                QRegularExpression(QStringLiteral("\\(&.\\)|&")));
        dialog->reject();
    });
    FileDialogRequest request;
    request.existingOnly = true;
    EXPECT_FALSE(QtFileDialog().choose(request));
    EXPECT_EQ(captions, QStringList({QStringLiteral("開く"), QStringLiteral("キャンセル")}));
}

TEST(QuitSignalsTest, SocketNeitherBlocksNorLeaksNorTouchesErrno) {
    const auto open = [] {
        const QStringList names =
            QDir(QStringLiteral("/proc/self/fd"))
                .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        return QSet<QString>(names.begin(), names.end());
    };
    const QSet<QString> before = open();
    QuitSignals quitSignals;
    const QSet<QString> made = open() - before;
    ASSERT_FALSE(made.isEmpty());
    for (const QString& fd : made) {
        EXPECT_NE(::fcntl(fd.toInt(), F_GETFD) & FD_CLOEXEC, 0) << qPrintable(fd);
        ASSERT_NE(::fcntl(fd.toInt(), F_GETFL) & O_NONBLOCK, 0) << qPrintable(fd);
    }
    // More signals than the socket holds before anyone reads it.
    for (int i = 0; i < 5000; ++i) {
        errno = EDOM;
        std::raise(SIGTERM);
        ASSERT_EQ(errno, EDOM) << "after signal " << i;
    }
}

// A signal during the start, before the object exists, waits for it instead of ending the program.
TEST(QuitSignalsTest, SignalCaughtBeforeTheObjectExistsReachesIt) {
    QuitSignals::catchNow();
    std::raise(SIGTERM);
    QuitSignals quitSignals;
    QSignalSpy requested(&quitSignals, &QuitSignals::quitRequested);
    EXPECT_TRUE(requested.wait(2000));
}

}  // namespace

// XEmbed trays report a double-click; StatusNotifierItem trays only a click, which must then
// bring the clock forward as the double-click does elsewhere. A right press reports nothing: on
// XEmbed Qt pops the icon's menu itself, and the clock popping it too opened it twice.
TEST(QtTrayIconTest, WaitsForATrayWhereThereIsNoXServer) {
    // Offscreen names itself an X11 application without a connection to ask about trays.
    QtTrayIcon tray;
    TrayIconData data;
    data.szTip = TrayIconData::tipField(QStringLiteral("クイロン"));
    tray.notify(TrayCommand::Add, data);
    tray.notify(TrayCommand::Modify, data);
    tray.notify(TrayCommand::Delete, data);
}

TEST(TrayMouseMessage, ClickStandsForDoubleClickOnlyWhereThereAreNone) {
    EXPECT_EQ(trayMouseMessage(QSystemTrayIcon::DoubleClick, true), kTrayLeftDoubleClick);
    EXPECT_EQ(trayMouseMessage(QSystemTrayIcon::Trigger, true), 0);
    EXPECT_EQ(trayMouseMessage(QSystemTrayIcon::Trigger, false), kTrayLeftDoubleClick);
    for (bool doubleClicks : {true, false}) {
        EXPECT_EQ(trayMouseMessage(QSystemTrayIcon::Context, doubleClicks), 0);
        EXPECT_EQ(trayMouseMessage(QSystemTrayIcon::MiddleClick, doubleClicks), 0);
    }
}
