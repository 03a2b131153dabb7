#include <QPainter>

#include "core/BarView.h"
#include "core/fomBarClock.h"
#include "drawing/StripGeometry.h"

QRect fomBarClock::CursorPrint(bool sameMinute) {
    // A new minute's strip has just been drawn under the box; within the minute the last frame
    // is still there and the picture goes back under it first.
    if (sameMinute)
        for (const BlockCopy& copy : cursorRestore(picBack.width(), CursorBackX,
                                                   {CursorX, CursorY, CursorWidth, CursorHeight}))
            copyBlock(picBar->image(), picBack, copy);

    CursorFrame = (CursorFrame + 1) % 2;
    // Transparent parts of the frame let the picture show through.
    const QImage& frame = picCursor[CursorFrame];
    QPainter painter(&picBar->image());
    painter.drawImage(QPoint(CursorX, CursorY), frame,
                      QRect(0, 0, CursorWidth, CursorHeight).intersected(frame.rect()));
    return {CursorX, CursorY, CursorWidth, CursorHeight};
}
