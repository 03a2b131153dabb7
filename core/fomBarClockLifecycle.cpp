#include <QCloseEvent>
#include <QCoreApplication>

#include "core/AppTitle.h"
#include "core/BarView.h"
#include "core/ProgramFolder.h"
#include "core/Rounding.h"
#include "core/TimeCheckMode.h"
#include "core/TmpClear.h"
#include "core/fomBarClock.h"
#include "core/modCou1.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/ScreenMetrics.h"
#include "platform/StandardError.h"
#include "platform/WindowOrder.h"

namespace {
// The window's client size before the pictures are loaded, in twips.
constexpr double kInitialWidthTwips = 3840;
constexpr double kInitialHeightTwips = 1230;
// X11 cannot make a window taller than this; a taller background is cut to it.
constexpr int kMaximumWindowSide = 32767;

QImage builtIn(const QString& resource) {
    return QImage(resource).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// After the user changed something: the change holds until the clock ends.
QString unsavedMessage(const SaveFailure& failure) {
    return QStringLiteral("設定ﾌｧｲﾙの[") + failure.file +
           QStringLiteral("]に書き込めないので設定は保存されません");
}
}  // namespace

fomBarClock::fomBarClock(const Platform& platform, const QString& programFolder, QWidget* parent)
    // A tool window: a clock bar needs no taskbar button beside its tray icon.
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint),
      m_platform(platform),
      m_programFolder(programFolder) {
    setWindowTitle(QString());
    // Without a caption a screen reader would find an unnamed window.
    setAccessibleName(appTitle());
    setMaximumSize(kMaximumWindowSide, kMaximumWindowSide);
    picBar = new BarView(this);
    picBar->move(0, 0);

    // Opaque like every background in use, so the bar's block copies need no blending.
    picOBack = QImage(QStringLiteral(":/alps.bmp")).convertToFormat(QImage::Format_RGB32);
    picOCursor = {builtIn(QStringLiteral(":/cow0.ico")), builtIn(QStringLiteral(":/cow1.ico"))};

    picBar->setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(picBar);
    picBar->installEventFilter(this);
    buildMenu();

    resize(static_cast<int>(nearest(kInitialWidthTwips / tppX())),
           static_cast<int>(nearest(kInitialHeightTwips / tppY())));

    m_timer1.setSingleShot(true);
    m_timer1.setTimerType(Qt::PreciseTimer);
    connect(&m_timer1, &QTimer::timeout, this, &fomBarClock::Timer1_Timer);
    makeAlarmSchedule();
}

fomBarClock::~fomBarClock() = default;

void fomBarClock::Form_Load() {
    m_comDlg.emplace(m_platform.fileDialog);
    SettingLoad();
    if (m_setting.TmpMode > 0) TmpClear();
    TimeWidthCheked();
    PicLoad();
    QCoreApplication::processEvents();
    startTimer1();

    m_trayIconData.window = this;
    m_trayIconData.hIcon = QIcon(QStringLiteral(":/tray.ico"));
    m_trayIconData.szTip = TrayIconData::tipField(appTitle());
    // The bar's own menu, so the icon offers the same.
    m_platform.tray.setMenu(m_mnuFile);
    if (m_setting.TaskTray == 1) m_platform.tray.notify(TrayCommand::Add, m_trayIconData);
    if (m_setting.TopMost == 1) m_platform.windowOrder.SetTopMost(*this);
    m_platform.tray.setMouseHandler([this](int mouseMessage) {
        Form_MouseDown(kMiddleButton, 0, static_cast<float>(mouseMessage), 0);
    });
}

void fomBarClock::Form_Activate() {
    if (m_activated) return;
    // Marked first: activations while the start check's message is open do nothing either.
    m_activated = true;
    ResizeAllNew();
    ResizeAll();
    TimePrint(m_platform.clock.now());
    if (m_setting.TimeCheckMode > TimeCheckModeValue::kNever) TimeCheck();
}

void fomBarClock::Form_Unload() {
    if (m_unloaded) return;
    m_unloaded = true;
    if (m_setting.TimeCheckMode > TimeCheckModeValue::kNever) TimeCheck();
    stopTimer1();
    endSounds();
    if (m_setting.TaskTray == 1) m_platform.tray.notify(TrayCommand::Delete, m_trayIconData);
    // No message may wait for the user at the end, a logout would not wait: a line says it.
    if (const auto failure = modCou1::SettingSave(m_setting, *this, settingContext()))
        printError(QStringLiteral("the settings could not be saved to %1: %2")
                       .arg(failure->file, failure->reason));
    QCoreApplication::quit();
}

void fomBarClock::mnuFileEnd_Click() { close(); }

modCou1::SettingContext fomBarClock::settingContext() const {
    const QSize screen = m_platform.display.screenSize();
    return {m_platform.store, m_platform.clock,
            QSize(static_cast<int>(nearest(screen.width() * tppX())),
                  static_cast<int>(nearest(screen.height() * tppY()))),
            m_programFolder};
}

void fomBarClock::SettingLoad() { modCou1::SettingLoad(m_setting, *this, settingContext()); }

void fomBarClock::SettingSave() {
    armWakeTimer();
    if (const auto failure = modCou1::SettingSave(m_setting, *this, settingContext()))
        m_platform.messages.exclamation(unsavedMessage(*failure));
}

void fomBarClock::TmpClear() { cleanTempFolder(m_setting, m_platform.tempFolder); }

bool fomBarClock::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::WindowActivate:
            Form_Activate();
            break;
        case QEvent::Move:
            // The program's own moves; those reported by the window system may be a window
            // manager's frame on its way to where the program asked.
            if (!event->spontaneous()) m_place = pos();
            break;
        case QEvent::Show:
            m_place = pos();
            // Without a window manager, or when focus stealing is refused, the window may never
            // be activated; the first layout and drawing must happen all the same.
            QTimer::singleShot(0, this, &fomBarClock::Form_Activate);
            break;
        default:
            break;
    }
    return QWidget::event(event);
}

void fomBarClock::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

double fomBarClock::tppX() const { return m_platform.display.twipsPerPixelX(); }
double fomBarClock::tppY() const { return m_platform.display.twipsPerPixelY(); }

QPoint fomBarClock::place() const { return isVisible() ? m_place : pos(); }

int32_t fomBarClock::Left() const { return static_cast<int32_t>(nearest(place().x() * tppX())); }

int32_t fomBarClock::Top() const { return static_cast<int32_t>(nearest(place().y() * tppY())); }

int32_t fomBarClock::Width() const {
    return static_cast<int32_t>(nearest(frameGeometry().width() * tppX()));
}

int32_t fomBarClock::Height() const {
    return static_cast<int32_t>(nearest(frameGeometry().height() * tppY()));
}

void fomBarClock::setLeft(int32_t twips) {
    move(static_cast<int>(nearest(twips / tppX())), place().y());
}

void fomBarClock::setTop(int32_t twips) {
    move(place().x(), static_cast<int>(nearest(twips / tppY())));
}
