#pragma once

#include <QDateTime>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "core/SettingRecord.h"
#include "core/WindowTwips.h"
#include "core/modCou1.h"
#include "platform/Platform.h"
#include "platform/TrayIcon.h"
#include "platform/clsComDlg.h"

class AlarmSchedule;
class BarView;
class QAction;
class QMenu;
class modMCIPlay;

// The clock window: a borderless bar with the day picture and the character.
// Its methods live in the folder of the subsystem that owns them. Public is only what the
// program and the setting windows call; the setting windows change the record in place.
class fomBarClock final : public QWidget, private WindowTwips {
    Q_OBJECT
public:
    // programFolder ends in a separator; it locates the default sounds.
    fomBarClock(const Platform& platform, const QString& programFolder, QWidget* parent = nullptr);
    ~fomBarClock() override;

    SettingRecord& setting() { return m_setting; }
    const SettingRecord& setting() const { return m_setting; }

    // Start and end of the program (core/fomBarClockLifecycle.cpp).
    void Form_Load();
    void Form_Unload();
    // Shows the message window modally with the text, returning when it is closed: the program
    // puts in fomMessage, tests a stand-in that returns at once. Unset, nothing is shown.
    using MessageWindow = std::function<void(const QString& Message)>;
    void setMessageWindow(MessageWindow show) { m_messageWindow = std::move(show); }

    // What the setting windows call after changing the record.
    void SettingSave();  // core/fomBarClockLifecycle.cpp
    void PicLoad();      // drawing/fomBarClockPictures.cpp
    void ResizeAll();    // core/fomBarClockLayout.cpp
    // The icon's record, for adding and deleting the icon.
    const TrayIconData& trayIconData() const { return m_trayIconData; }
    // Gives Qt the shown window's true place again: re-showing the window (as a change of its
    // flags does) or resizing it sends Qt's idea of the place along (core/fomBarClockLayout.cpp).
    void restorePlace();
    // The file chooser every window shares; there from Form_Load on.
    clsComDlg& ComDlg() { return *m_comDlg; }
    // The sound player the window plays and stops its sounds with (sound/fomBarClockAlarm.cpp).
    modMCIPlay& mciPlay();

    // Brings the bar up to the time of day (core/fomBarClockTick.cpp).
    void TimePrint(const QDateTime& nowtime);
    // What the bar shows at present.
    const QImage& barImage() const;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The tests' one way in (tests/ClockProbe.h).
    friend class fomBarClockProbe;

    // Life of the window (core/fomBarClockLifecycle.cpp).
    void Form_Activate();
    void mnuFileEnd_Click();
    void SettingLoad();
    // Deletes leftover temporary files (core/TmpClear.h); Form_Load runs it when TmpMode is on.
    void TmpClear();
    modCou1::SettingContext settingContext() const;
    // WindowTwips: the window's outer position and size, as the settings see them.
    int32_t Left() const override;
    int32_t Top() const override;
    int32_t Width() const override;
    int32_t Height() const override;
    void setLeft(int32_t twips) override;
    void setTop(int32_t twips) override;
    // Where the window stands, in pixels.
    QPoint place() const;
    double tppX() const;
    double tppY() const;

    // Layout (core/fomBarClockLayout.cpp).
    void ResizeAllNew();
    void CursorPara();
    void TimeWidthCheked();
    void mnuTimeWidth_Click(int16_t Index);
    // The span items of the menu, by index 2, 4 or 6.
    QAction* mnuTimeWidth(int Index) const;
    void resizeInPlace(const QSize& size);
    // The work area's edges in twips (left, top, right, bottom) for the window at that place.
    struct WorkAreaTwips {
        int32_t WL, WT, WR, WB;
    };
    WorkAreaTwips workAreaTwips(const QPoint& windowAt) const;

    // The tick (core/fomBarClockTick.cpp).
    void Timer1_Timer();
    void startTimer1();
    void stopTimer1();
    void scheduleNextTick();

    // Watch on the computer's clock (core/fomBarClockMonitor.cpp).
    void TimeCheck();
    void showMessage(const QString& Message);

    // Alarm and chime (sound/fomBarClockAlarm.cpp), kept by the alarm schedule.
    void makeAlarmSchedule();
    // What the tick asks of the schedule every second; true when what a missed minute owes is
    // due at once.
    bool alarmTick(const QDateTime& previous, const QDateTime& now);
    void timMciPlay_Timer();
    // After the settings changed: the wake timer follows the alarm.
    void armWakeTimer();
    // At the end: silent, and nothing left to wake the computer.
    void endSounds();
    bool readyToPlay();
    void focusSequence();

    // The popup menu (interaction/fomBarClockMenu.cpp).
    void buildMenu();
    void popupMenu(const QPoint& globalPos);
    void mnuPicture_Click();
    void mnuAlarm_Click();
    void mnuMask_Click();
    void mnuVersion_Click();

    // Pointer and keyboard (interaction/fomBarClockPointer.cpp). Buttons: 1 left, 2 right,
    // 4 middle; Shift: 1 Shift, 2 Ctrl, 4 Alt, added together.
    static constexpr int16_t kLeftButton = 1;
    static constexpr int16_t kRightButton = 2;
    static constexpr int16_t kMiddleButton = 4;
    void picBar_MouseDown(int16_t Button, int16_t Shift, float X, float Y);
    void picBar_MouseMove(int16_t Button, int16_t Shift, float X, float Y);
    void picBar_MouseUp(int16_t Button, int16_t Shift, float X, float Y);
    void picBar_KeyDown(int16_t KeyCode, int16_t Shift);
    void Form_MouseDown(int16_t Button, int16_t Shift, float X, float Y);
    void dragTo(float X, float Y, int16_t Shift);
    void moveTwips(int32_t left, int32_t top);

    // Pictures and drawing (drawing/).
    void PictureRead();
    void BackPrint(int16_t hour, int16_t minute);
    void AddMemori();
    // Draws the character's next frame, over the last one when sameMinute, and returns the box
    // it drew in (drawing/fomBarClockCursor.cpp).
    QRect CursorPrint(bool sameMinute);

    // Form variables, shared by the subsystems' files.
    int32_t LastDrawnMinute = 0;
    int16_t CursorX = 0;
    int16_t CursorY = 0;
    int16_t CursorWidth = 0;
    int16_t CursorHeight = 0;
    int32_t CursorBackX = 0;  // a picture column, as wide as the picture's width
    uint8_t CursorFrame = 0;
    int16_t DragStartX = 0;
    int16_t DragStartY = 0;

    // Picture holders: the built-in pictures, and those in use.
    QImage picOBack;
    std::array<QImage, 2> picOCursor;
    QImage picBack;
    std::array<QImage, 2> picCursor;
    BarView* picBar = nullptr;

    Platform m_platform;
    SettingRecord m_setting;
    QString m_programFolder;
    TrayIconData m_trayIconData;
    AlarmSchedule* m_alarmSchedule = nullptr;  // a child, made with the window
    // Where this program last put the shown window, or where a press on the bar saw it. Qt's
    // own idea can stay at (0, 0), the place of a reparenting window manager's new frame.
    QPoint m_place;
    MessageWindow m_messageWindow;
    std::optional<clsComDlg> m_comDlg;
    uint32_t m_silencingClicks = 0;  // left-button releases on the bar so far
    QMenu* m_mnuFile = nullptr;
    std::array<QAction*, 3> m_mnuTimeWidth{};
    QTimer m_timer1;
    bool m_timer1Running = false;
    QDateTime m_lastTick;  // of the last TimePrint; invalid before the first
    bool m_activated = false;
    bool m_unloaded = false;
};
