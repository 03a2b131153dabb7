// quillon-snapshot: renders the bar as the clock draws it at a given time, without a display.
#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>
#include <cstdio>
#include <memory>

#include "core/ProgramFolder.h"
#include "core/fomBarClock.h"
#include "platform/PictureLoader.h"
#include "platform/QtSettingsStore.h"
#include "platform/fake/Fakes.h"

namespace {

// The clock's messages, on standard error instead of a window.
class StderrMessages final : public MessageBox {
public:
    void exclamation(const QString& text) override { QTextStream(stderr) << text << Qt::endl; }
    void plain(const QString& text) override { exclamation(text); }
};

int fail(const QString& message) {
    QTextStream(stderr) << "quillon-snapshot: " << message << Qt::endl;
    return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Draws the clock's bar into a PNG file."));
    parser.addHelpOption();
    const QCommandLineOption time(QStringLiteral("time"),
                                  QStringLiteral("Time of day, HH:MM or HH:MM:SS."),
                                  QStringLiteral("time"));
    const QCommandLineOption settings(QStringLiteral("settings"),
                                      QStringLiteral("Settings file (default: a first start)."),
                                      QStringLiteral("file"));
    const QCommandLineOption output(QStringLiteral("output"), QStringLiteral("PNG file to write."),
                                    QStringLiteral("file"));
    const QCommandLineOption scale(QStringLiteral("scale"),
                                   QStringLiteral("Enlarge the picture N times, pixel for pixel."),
                                   QStringLiteral("N"), QStringLiteral("1"));
    parser.addOptions({time, settings, output, scale});
    parser.process(app);

    if (!parser.isSet(time) || !parser.isSet(output))
        return fail(QStringLiteral("--time and --output are required"));
    QTime at = QTime::fromString(parser.value(time), QStringLiteral("H:mm:ss"));
    if (!at.isValid()) at = QTime::fromString(parser.value(time), QStringLiteral("H:mm"));
    if (!at.isValid()) return fail(QStringLiteral("--time wants HH:MM or HH:MM:SS"));
    bool scaleOk = false;
    const int factor = parser.value(scale).toInt(&scaleOk);
    if (!scaleOk || factor < 1 || factor > 16) return fail(QStringLiteral("--scale wants 1 to 16"));

    FakeClock clock(QDateTime(QDate::currentDate(), at));
    MemoryStore firstStart;
    std::unique_ptr<QtSettingsStore> file;
    if (parser.isSet(settings)) file = std::make_unique<QtSettingsStore>(parser.value(settings));
    FakeScreenMetrics display;
    FakeWindowOrder windowOrder;
    FakeTray tray;
    StderrMessages messages;
    QtPictureLoader pictures;
    FakeClipboard clipboard;
    // A snapshot is silent.
    FakeTickCounter ticks;
    FakeWaveSound wave;
    FakeMediaControl media(ticks);
    FakeProgramStarter programs;
    programs.startable = false;
    FakeFileDialog fileDialog;
    // Settings with the cleaning on must not clean anything for a picture.
    FakeTempFolder tempFolder;
    // Nor wake the computer.
    FakeWakeTimer wake;
    const Platform platform{clock,      file ? static_cast<SettingsStore&>(*file) : firstStart,
                            display,    windowOrder,
                            tray,       messages,
                            pictures,   clipboard,
                            wave,       media,
                            ticks,      programs,
                            fileDialog, tempFolder,
                            wake};

    fomBarClock window(platform, withTrailingSeparator(QCoreApplication::applicationDirPath()));
    // The time of a snapshot is made up, so the watch on the clock has nothing to say.
    window.setMessageWindow([](const QString&) {});
    window.Form_Load();
    // The first tick draws the second frame and the next one the first: odd seconds get one
    // tick, even seconds the tick before as well, as on the running clock.
    if (at.second() % 2 == 0) window.TimePrint(clock.now().addSecs(-1));
    window.TimePrint(clock.now());

    const QImage& bar = window.barImage();
    const QImage picture = bar.scaled(bar.size() * factor);  // no smoothing: crisp pixels
    if (!picture.save(parser.value(output), "PNG"))
        return fail(QStringLiteral("cannot write ") + parser.value(output));
    return 0;
}
