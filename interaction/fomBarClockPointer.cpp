#include <QKeyEvent>
#include <QMouseEvent>

#include "core/BarView.h"
#include "core/Rounding.h"
#include "core/fomBarClock.h"
#include "interaction/DragRule.h"
#include "platform/Clipboard.h"
#include "platform/MessageBox.h"
#include "platform/TrayIcon.h"
#include "platform/WindowOrder.h"
#include "sound/AlarmSchedule.h"

namespace {

int16_t buttonMask(Qt::MouseButtons buttons) {
    return static_cast<int16_t>((buttons.testFlag(Qt::LeftButton) ? 1 : 0) |
                                (buttons.testFlag(Qt::RightButton) ? 2 : 0) |
                                (buttons.testFlag(Qt::MiddleButton) ? 4 : 0));
}

int16_t shiftMask(Qt::KeyboardModifiers modifiers) {
    return static_cast<int16_t>((modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) |
                                (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) |
                                (modifiers.testFlag(Qt::AltModifier) ? 4 : 0));
}

constexpr int16_t kKeyC = 67;
constexpr int16_t kCtrl = 2;

}  // namespace

bool fomBarClock::eventFilter(QObject* watched, QEvent* event) {
    if (watched != picBar) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        // The second press of a double-click comes only as a double-click: it starts a drag all
        // the same.
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const QPointF at = mouse->position();
            // The press tells where the bar really is.
            if (isVisible()) m_place = (mouse->globalPosition() - at).toPoint() - picBar->pos();
            picBar_MouseDown(buttonMask(mouse->button()), shiftMask(mouse->modifiers()),
                             static_cast<float>(at.x()), static_cast<float>(at.y()));
            return true;
        }
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            // Travel since the drag last moved the window, whether or not the display has
            // carried that move out yet.
            const QPointF at = mouse->globalPosition() - QPointF(place() + picBar->pos());
            const auto X = static_cast<float>(at.x());
            const auto Y = static_cast<float>(at.y());
            const int16_t Shift = shiftMask(mouse->modifiers());
            if (event->type() == QEvent::MouseMove)
                picBar_MouseMove(buttonMask(mouse->buttons()), Shift, X, Y);
            else
                picBar_MouseUp(buttonMask(mouse->button()), Shift, X, Y);
            return true;
        }
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z)
                picBar_KeyDown(static_cast<int16_t>(key->key()), shiftMask(key->modifiers()));
            return false;
        }
        default:
            return false;
    }
}

void fomBarClock::picBar_MouseDown(int16_t Button, int16_t, float X, float Y) {
    if (Button != kLeftButton) return;
    DragStartX = nearest16(X);
    DragStartY = nearest16(Y);
    setCursor(Qt::SizeAllCursor);
}

void fomBarClock::picBar_MouseMove(int16_t Button, int16_t Shift, float X, float Y) {
    if (Button == kLeftButton) dragTo(X, Y, Shift);
}

void fomBarClock::picBar_MouseUp(int16_t Button, int16_t Shift, float X, float Y) {
    if (Button == kLeftButton) {
        dragTo(X, Y, Shift);
        unsetCursor();
        // Every left click silences a ringing alarm or chime and cancels one about to start.
        ++m_silencingClicks;
        m_alarmSchedule->silence();
    } else if (Button == kRightButton) {
        // From where the bar is, not from Qt's idea of it.
        popupMenu(place() + picBar->pos() + QPointF(X, Y).toPoint());
    }
}

void fomBarClock::dragTo(float X, float Y, int16_t Shift) {
    int32_t DX = static_cast<int32_t>(nearest((X - DragStartX) * tppX()));
    int32_t DY = static_cast<int32_t>(nearest((Y - DragStartY) * tppY()));
    if (Shift == 0) {
        // Kept on the screen the bar is being dragged onto.
        const QPoint heading(static_cast<int>(nearest(X - DragStartX)),
                             static_cast<int>(nearest(Y - DragStartY)));
        const auto [WL, WT, WR, WB] = workAreaTwips(place() + heading);
        DX = keepInside(Left(), Width(), DX, WL, WR);
        DY = keepInside(Top(), Height(), DY, WT, WB);
    }
    moveTwips(Left() + DX, Top() + DY);
}

void fomBarClock::moveTwips(int32_t left, int32_t top) {
    move(static_cast<int>(nearest(left / tppX())), static_cast<int>(nearest(top / tppY())));
}

void fomBarClock::picBar_KeyDown(int16_t KeyCode, int16_t Shift) {
    if (KeyCode != kKeyC || Shift != kCtrl) return;
    if (m_setting.BackType <= 0) {
        m_platform.messages.exclamation(QStringLiteral("背景コピーはカスタム選択時に有効です"));
        return;
    }
    // The whole day picture with its marks.
    m_platform.clipboard.setImage(picBack);
    m_platform.clipboard.beep();
}

void fomBarClock::Form_MouseDown(int16_t Button, int16_t, float X, float) {
    if (Button != kMiddleButton) return;
    const auto mouseMessage = static_cast<int>(X);
    if (mouseMessage == kTrayLeftDoubleClick) {
        if (m_setting.TopMost != 0) return;
        activateWindow();
        m_platform.windowOrder.BringToFront(*this);
    }
}
