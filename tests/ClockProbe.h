#pragma once

#include "core/fomBarClock.h"
#include "sound/AlarmSchedule.h"

// The tests' one way into the clock window: the form variables, the picture holders and the
// handlers that only the window itself, its timers, menu and pointer reach.
class fomBarClockProbe {
    fomBarClock& w;

public:
    explicit fomBarClockProbe(fomBarClock& window) : w(window) {}

    int32_t& LastDrawnMinute = w.LastDrawnMinute;
    int16_t& CursorX = w.CursorX;
    int16_t& CursorY = w.CursorY;
    int16_t& CursorWidth = w.CursorWidth;
    int16_t& CursorHeight = w.CursorHeight;
    int32_t& CursorBackX = w.CursorBackX;
    uint8_t& CursorFrame = w.CursorFrame;
    AlarmSchedule& alarmSchedule = *w.m_alarmSchedule;
    int16_t& AlarmWait = alarmSchedule.AlarmWait;
    int16_t& JihoWait = alarmSchedule.JihoWait;
    int16_t& JihoLeft = alarmSchedule.JihoLeft;
    QTimer& timMciPlay = alarmSchedule.timMciPlay;
    QImage& picOBack = w.picOBack;
    std::array<QImage, 2>& picOCursor = w.picOCursor;
    QImage& picBack = w.picBack;
    std::array<QImage, 2>& picCursor = w.picCursor;
    BarView*& picBar = w.picBar;
    // The place in twips, as the settings see it.
    WindowTwips& twips = w;

    void Form_Activate() { w.Form_Activate(); }
    void Timer1_Timer() { w.Timer1_Timer(); }
    bool isTimer1Running() const { return w.m_timer1Running; }
    int timer1Interval() const { return w.m_timer1.interval(); }
    void TimeCheck() { w.TimeCheck(); }
    void timMciPlay_Timer() { w.timMciPlay_Timer(); }

    QMenu* mnuFile() const { return w.m_mnuFile; }
    QAction* mnuTimeWidth(int Index) const { return w.mnuTimeWidth(Index); }
    void mnuTimeWidth_Click(int16_t Index) { w.mnuTimeWidth_Click(Index); }

    static constexpr int16_t kLeftButton = fomBarClock::kLeftButton;
    static constexpr int16_t kRightButton = fomBarClock::kRightButton;
    void picBar_MouseDown(int16_t Button, int16_t Shift, float X, float Y) {
        w.picBar_MouseDown(Button, Shift, X, Y);
    }
    void picBar_MouseMove(int16_t Button, int16_t Shift, float X, float Y) {
        w.picBar_MouseMove(Button, Shift, X, Y);
    }
    void picBar_MouseUp(int16_t Button, int16_t Shift, float X, float Y) {
        w.picBar_MouseUp(Button, Shift, X, Y);
    }
};
