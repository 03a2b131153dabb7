#pragma once

#include <QFont>
#include <QRect>

class QWidget;
class ScreenMetrics;

// Every window has a fixed client area and fixed places for its controls, all in twips. A
// window's constructor makes one TwipsLayout, calls form() once and place() for each control.
// Each number becomes pixels on its own, with the screen's twips per pixel of its axis (15 at
// 96 dpi), rounded to the nearest pixel, halves to even.
class TwipsLayout {
public:
    explicit TwipsLayout(const ScreenMetrics& display);

    // Fixes the window's client area at width × height twips and gives it the forms' font.
    void form(QWidget& window, int width, int height) const;
    // Places a control in its parent's client area.
    void place(QWidget& control, int left, int top, int width, int height) const;

    QRect pixels(int left, int top, int width, int height) const;
    // The font of the windows' text: a proportional Japanese gothic of 9 points (180 twips),
    // a whole number of pixels high.
    QFont font() const;

private:
    int x(int twips) const;
    int y(int twips) const;

    double m_tppX;
    double m_tppY;
};

// The places were made for narrower indicators than Qt's: an option or check box of the window
// whose caption is wider than its place is widened rather than cut.
void widenChoicesToCaptions(QWidget& window);
