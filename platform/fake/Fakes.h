#pragma once

// Stand-ins for the outside world, for tests, benchmarks and the snapshot tool.

#include <QHash>
#include <QMap>
#include <QSet>
#include <QStringList>
#include <functional>
#include <iosfwd>
#include <optional>
#include <vector>

#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/FileDialog.h"
#include "platform/MediaControl.h"
#include "platform/MessageBox.h"
#include "platform/PictureLoader.h"
#include "platform/Platform.h"
#include "platform/ProgramStarter.h"
#include "platform/ScreenMetrics.h"
#include "platform/SettingsStore.h"
#include "platform/TempFolder.h"
#include "platform/TickCounter.h"
#include "platform/TrayIcon.h"
#include "platform/WakeTimer.h"
#include "platform/WaveSound.h"
#include "platform/WindowOrder.h"

class FakeClock final : public Clock {
public:
    explicit FakeClock(QDateTime now = QDateTime(QDate(2026, 12, 7), QTime(12, 0)))
        : m_now(std::move(now)) {}
    QDateTime now() const override { return m_now; }
    void set(const QDateTime& now) { m_now = now; }
    void setTime(const QTime& time) { m_now.setTime(time); }
    void advanceSeconds(int seconds) { m_now = m_now.addSecs(seconds); }

private:
    QDateTime m_now;
};

class MemoryStore final : public SettingsStore {
public:
    std::optional<QString> read(const QString& key) const override;
    std::optional<SaveFailure> writeAll(const Values& values) override;

    void set(const QString& key, const QString& text) { m_values[key] = text; }
    void remove(const QString& key) { m_values.remove(key); }
    bool contains(const QString& key) const { return m_values.contains(key); }
    QString value(const QString& key) const { return m_values.value(key); }

    int saves = 0;
    QStringList lastSaveOrder;
    // Set, a save keeps nothing and reports this.
    std::optional<SaveFailure> refusal;

private:
    QHash<QString, QString> m_values;
};

class FakeScreenMetrics final : public ScreenMetrics {
public:
    double twipsPerPixelX() const override { return tppX; }
    double twipsPerPixelY() const override { return tppY; }
    QSize screenSize() const override { return screen; }
    WorkArea GetWorkArea(const QRect& window) const override {
        return workAreaFor(window, screens);
    }

    double tppX = 15.0;
    double tppY = 15.0;
    QSize screen{1024, 768};
    // A panel along the bottom of the one screen.
    std::vector<ScreenArea> screens{{QRect(0, 0, 1024, 768), QRect(0, 0, 1024, 740)}};
};

class FakeWindowOrder final : public WindowOrder {
public:
    void BringToFront(QWidget&) override { calls << QStringLiteral("BringToFront"); }
    void SetTopMost(QWidget&) override { calls << QStringLiteral("SetTopMost"); }
    void SetNotTopMost(QWidget&) override { calls << QStringLiteral("SetNotTopMost"); }

    QStringList calls;
};

class FakeTray final : public TrayIcon {
public:
    void notify(TrayCommand command, const TrayIconData& data) override {
        commands.push_back(command);
        lastTip = data.tipText();
    }
    void setMouseHandler(std::function<void(int)> handler) override { mouse = std::move(handler); }
    void setMenu(QMenu* shown) override { menu = shown; }

    std::vector<TrayCommand> commands;
    QString lastTip;
    std::function<void(int)> mouse;
    QMenu* menu = nullptr;
};

class FakeMessageBox final : public MessageBox {
public:
    void exclamation(const QString& text) override {
        shown << text;
        if (whileShown) whileShown();
    }
    void plain(const QString& text) override { shownPlain << text; }

    QStringList shown;
    QStringList shownPlain;
    // Runs as an exclamation shows, while its caller waits for it.
    std::function<void()> whileShown;
};

class FakePictureLoader final : public PictureLoader {
public:
    std::optional<QImage> load(const QString& path) const override {
        const auto it = files.constFind(path);
        if (it == files.cend()) return std::nullopt;
        return *it;
    }

    QMap<QString, QImage> files;
};

class FakeClipboard final : public Clipboard {
public:
    void setImage(const QImage& image) override { this->image = image; }
    void beep() override { ++beeps; }

    QImage image;
    int beeps = 0;
};

class FakeTickCounter final : public TickCounter {
public:
    // Each reading moves the counter on by step, so waits end without real time passing.
    uint32_t timeGetTime() override {
        const uint32_t reading = now;
        now += step;
        return reading;
    }

    uint32_t now = 0;
    uint32_t step = 50;
};

// Wave sounds by path: the playable ones start, and one sounds until a test clears sounding.
class FakeWaveSound final : public WaveSound {
public:
    // A play or a stop, as asked.
    struct Call {
        enum class Kind { Play, Stop };
        Kind kind = Kind::Play;
        QString path;                       // a play's
        Overlap overlap = Overlap::CutOff;  // a play's
        bool operator==(const Call&) const = default;
    };
    static Call playCall(const QString& path, Overlap overlap) {
        return {Call::Kind::Play, path, overlap};
    }
    static Call stopCall() { return {Call::Kind::Stop, {}, Overlap::CutOff}; }

    // A sounding sound asked not to be cut off answers StillSounding, whatever the path;
    // otherwise a path not in playable answers CannotPlay.
    std::optional<Error> play(const QString& path, Overlap overlap) override;
    void stop() override;
    void prepare(const QString& path) override { prepared << path; }
    QString defaultSound() const override { return defaultPath; }

    QString defaultPath = QStringLiteral("/program/Default.wav");
    QSet<QString> playable;
    QStringList prepared;
    QString sounding;  // empty when nothing sounds
    std::vector<Call> calls;
};
std::ostream& operator<<(std::ostream& out, const FakeWaveSound::Call& call);

// Media files by path with their lengths; a playing file's position follows the tick counter.
class FakeMediaControl final : public MediaControl {
public:
    enum class Op { Open, Length, Play, Position, Close };

    explicit FakeMediaControl(const FakeTickCounter& ticks) : m_ticks(ticks) {}
    std::optional<Error> open(const QString& path) override;
    Millis length() override;
    std::optional<Error> play() override;
    Millis position() override;
    void close() override;
    void prepare(const QString& path) override { prepared << path; }

    QMap<QString, uint32_t> files;
    QStringList prepared;
    // Operations that fail: an open with CannotOpen, the others with Device; a close cannot.
    QSet<Op> failing;
    std::vector<Op> ops;             // every operation asked for, in order
    QStringList opened;              // the path of each open asked for, in order
    QString openFile;                // empty when nothing is open
    uint32_t stallsAt = UINT32_MAX;  // the playing position stops moving here
    // Called with each operation before it is answered, as events may run meanwhile.
    std::function<void(Op op)> onOp;

private:
    // Records op and runs onOp; then failure if op is failing, NotOpen if nothing is open.
    std::optional<Error> asked(Op op, Error failure);

    const FakeTickCounter& m_ticks;
    bool m_playing = false;
    uint32_t m_playedAt = 0;
};
std::ostream& operator<<(std::ostream& out, FakeMediaControl::Op op);

class FakeProgramStarter final : public ProgramStarter {
public:
    bool start(const QString& commandLine) override {
        started << commandLine;
        return startable && !commandLine.trimmed().isEmpty();
    }

    bool startable = true;
    QStringList started;
};

// Answers every dialog with answer (cancelled while empty) and keeps the requests.
class FakeFileDialog final : public FileDialog {
public:
    std::optional<FileDialogAnswer> choose(const FileDialogRequest& request) override {
        requests.push_back(request);
        return answer;
    }

    std::optional<FileDialogAnswer> answer;
    std::vector<FileDialogRequest> requests;
};

// Environment variables, and the ordinary files of each folder in listing order; the other
// kinds of entry are the real folder's business. Nothing is set: nothing is there.
class FakeTempFolder final : public TempFolder {
public:
    QString environmentVariable(const QString& name) const override {
        return variables.value(name);
    }
    void deleteOrdinaryFiles(const QString& folder, const NameTest& chosen) override {
        files[folder].removeIf(chosen);
    }

    QHash<QString, QString> variables;
    QMap<QString, QStringList> files;
};

// Holds what the clock armed; possible and arm answer as canWake says.
class FakeWakeTimer final : public WakeTimer {
public:
    bool arm(qint64 epochSeconds) override {
        ++arms;
        armedAt = canWake ? std::optional<qint64>(epochSeconds) : std::nullopt;
        return canWake;
    }
    void drop() override { armedAt.reset(); }
    bool possible() override { return canWake; }
    void setOnClockSet(std::function<void()> clockSet) override {
        onClockSet = std::move(clockSet);
    }

    bool canWake = true;
    std::optional<qint64> armedAt;
    int arms = 0;
    std::function<void()> onClockSet;
};

// One of each fake, wired into a Platform.
struct FakePlatform {
    FakeClock clock;
    MemoryStore store;
    FakeScreenMetrics display;
    FakeWindowOrder windowOrder;
    FakeTray tray;
    FakeMessageBox messages;
    FakePictureLoader pictures;
    FakeClipboard clipboard;
    FakeTickCounter ticks;
    FakeWaveSound wave;
    FakeMediaControl media{ticks};
    FakeProgramStarter programs;
    FakeFileDialog fileDialog;
    FakeTempFolder tempFolder;
    FakeWakeTimer wake;

    Platform platform() {
        return {clock, store, display, windowOrder, tray,       messages,   pictures, clipboard,
                wave,  media, ticks,   programs,    fileDialog, tempFolder, wake};
    }
};
