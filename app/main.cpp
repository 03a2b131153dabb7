#include <QApplication>

#include "app/CommandLine.h"
#include "core/AppTitle.h"
#include "core/ProgramFolder.h"
#include "core/fomBarClock.h"
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/MultimediaModule.h"
#include "platform/PictureLoader.h"
#include "platform/PlatformChoice.h"
#include "platform/ProgramStarter.h"
#include "platform/QtJapaneseTexts.h"
#include "platform/QtMediaControl.h"
#include "platform/QtSettingsStore.h"
#include "platform/QtTrayIcon.h"
#include "platform/QtWaveSound.h"
#include "platform/QuitSignals.h"
#include "platform/ScreenMetrics.h"
#include "platform/SingleInstance.h"
#include "platform/TempFolder.h"
#include "platform/TickCounter.h"
#include "platform/TimerfdWakeTimer.h"
#include "platform/WindowOrder.h"
#include "windows/fomMessage.h"

int main(int argc, char* argv[]) {
    // A stop request during the start (Qt may wait long for a session bus) would otherwise end
    // the program by the default action, unsaved: it waits for the window instead.
    QuitSignals::catchNow();
    if (const std::optional<int> status = runCommandLine(argc, argv)) return *status;
    const bool xcbPreferred = preferXcbUnderWayland();
    const bool imagesOverTheConnection = preferImagesOverTheConnection();
    QApplication app(argc, argv);
    reportWaylandFallback(xcbPreferred);
    // Read by now; programs the clock starts should not inherit them.
    if (imagesOverTheConnection) qunsetenv("QT_XCB_NO_MITSHM");
    if (xcbPreferred) qunsetenv("QT_QPA_PLATFORM");
    const std::unique_ptr<QTranslator> qtTexts = loadQtTextsInJapanese();
    QApplication::setApplicationName(QStringLiteral("Quillon"));
    // The clock is a tool window; it ends the program itself when it closes.
    QApplication::setQuitOnLastWindowClosed(false);

    SingleInstance instance;
    if (!instance.acquire()) return 0;

    QtClock clock;
    QtSettingsStore store;
    QtScreenMetrics display;
    QtWindowOrder windowOrder;
    QtTrayIcon tray;
    QtMessageBox messages(appTitle());
    QtPictureLoader pictures;
    QtClipboard clipboard;
    const QString programFolder = withTrailingSeparator(QCoreApplication::applicationDirPath());
    // Sound comes from a module loaded when the first sound is armed or played.
    MultimediaModule multimedia(MultimediaModule::besideProgram(programFolder));
    QtTickCounter ticks;
    QtWaveSound wave(multimedia, ticks, programFolder + QStringLiteral("Default.wav"));
    QtMediaControl media(multimedia);
    QtProgramStarter programs;
    QtFileDialog fileDialog;
    PosixTempFolder tempFolder;
    TimerfdWakeTimer wake;
    const Platform platform{clock,    store,    display,    windowOrder, tray,
                            messages, pictures, clipboard,  wave,        media,
                            ticks,    programs, fileDialog, tempFolder,  wake};

    fomBarClock window(platform, programFolder);
    window.setMessageWindow(
        [&](const QString& Message) { fomMessage::showModal(platform, &window, Message); });
    QObject::connect(&instance, &SingleInstance::activationRequested, &window,
                     [&] { windowOrder.BringToFront(window); });
    // A logout quits the application without closing the window first.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &window, &fomBarClock::Form_Unload);

    window.Form_Load();
    window.show();
    window.activateWindow();
    // Only now, with the window loaded: a request that came earlier closes it as the loop starts.
    QuitSignals quitSignals;
    QObject::connect(&quitSignals, &QuitSignals::quitRequested, &window, &QWidget::close);
    return app.exec();
}
