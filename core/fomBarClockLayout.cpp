#include <QAction>

#include "core/BarView.h"
#include "core/Rounding.h"
#include "core/fomBarClock.h"
#include "platform/Clock.h"
#include "platform/ScreenMetrics.h"

namespace {
// At least this much of the window stays inside the work area on each axis, in pixels.
constexpr double kWorkAreaMarginPixels = 8;
}  // namespace

void fomBarClock::ResizeAllNew() {
    // The bar has no border and fills the client area, so the window's client size is the
    // bar's size; the frame, if the desktop adds one, comes on top.
    picBar->setBarSize(m_setting.TimeWidth, picBack.height());
    const int wantedHeight = picBar->height();
    resizeInPlace(picBar->size());
    if (height() < wantedHeight) {
        // The platform would not make the window that tall: cut the background to the bar.
        picBar->setBarSize(m_setting.TimeWidth, height());
        picBack = picBack.copy(0, 0, picBack.width(), height());
    }
}

void fomBarClock::ResizeAll() {
    LastDrawnMinute = -1;
    picBar->setBarSize(m_setting.TimeWidth, picBar->height());
    resizeInPlace(QSize(picBar->width(), height()));

    // The screen that shows the window, or the nearest one when none does.
    const auto [WL, WT, WR, WB] = workAreaTwips(place());
    const int16_t M = nearest16(kWorkAreaMarginPixels * tppX());

    if (Top() > WB - M)
        setTop(WB - M);
    else if (Top() + Height() < WT + M)
        setTop(WT + M - Height());

    if (Left() > WR - M)
        setLeft(WR - M);
    else if (Left() + Width() < WL + M)
        setLeft(WL + M - Width());
}

void fomBarClock::resizeInPlace(const QSize& size) {
    restorePlace();
    resize(size);
}

void fomBarClock::restorePlace() {
    if (isVisible() && pos() != m_place) move(m_place);
}

fomBarClock::WorkAreaTwips fomBarClock::workAreaTwips(const QPoint& windowAt) const {
    const WorkArea area = m_platform.display.GetWorkArea(QRect(windowAt, frameGeometry().size()));
    const auto twips = [](int32_t pixels, double factor) {
        return static_cast<int32_t>(nearest(pixels * factor));
    };
    return {twips(area.left, tppX()), twips(area.top, tppY()), twips(area.right, tppX()),
            twips(area.bottom, tppY())};
}

void fomBarClock::CursorPara() {
    CursorWidth = nearest16(qMax(picCursor[0].width(), picCursor[1].width()));
    CursorHeight = nearest16(qMax(picCursor[0].height(), picCursor[1].height()));
    CursorX = nearest16(picBar->width() / 2.0 - CursorWidth / 2.0);
    CursorY = nearest16(picBar->height() - CursorHeight);
}

QAction* fomBarClock::mnuTimeWidth(int Index) const {
    if (Index != 2 && Index != 4 && Index != 6) return nullptr;
    return m_mnuTimeWidth[Index / 2 - 1];
}

void fomBarClock::TimeWidthCheked() {
    for (QAction* item : m_mnuTimeWidth) item->setChecked(false);
    // Any other span, from an edited store, leaves all three unchecked.
    if (m_setting.TimeWidth % 60 == 0)
        if (QAction* item = mnuTimeWidth(m_setting.TimeWidth / 60)) item->setChecked(true);
}

void fomBarClock::mnuTimeWidth_Click(int16_t Index) {
    m_setting.TimeWidth = static_cast<int16_t>(Index * 60);
    TimeWidthCheked();
    ResizeAll();
    CursorPara();
    TimePrint(m_platform.clock.now());
    SettingSave();
}
