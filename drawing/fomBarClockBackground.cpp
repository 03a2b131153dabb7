#include <QPainter>

#include "core/BarView.h"
#include "core/Rounding.h"
#include "core/StyleBit.h"
#include "core/fomBarClock.h"
#include "drawing/LabelFont.h"
#include "drawing/MemoriPlan.h"
#include "drawing/StripGeometry.h"

void fomBarClock::BackPrint(int16_t hour, int16_t minute) {
    const StripLayout layout = backStrip(hour * 60 + minute, picBack.width(), picBack.height(),
                                         m_setting.TimeWidth, CursorX);
    CursorBackX = layout.cursorBackX;
    QImage& bar = picBar->image();
    bar.fill(palette().color(QPalette::Button));
    for (const BlockCopy& copy : layout.copies) copyBlock(bar, picBack, copy);
}

void fomBarClock::AddMemori() {
    if (m_setting.BackType == 0 || (m_setting.Style & StyleBit::kTimeMarks) == 0) return;

    const LabelFont font = labelFont(m_setting.WordSize, tppX(), tppY());
    const MemoriPlan plan =
        memoriPlan(picBack.width(), picBack.height(), (m_setting.Style & StyleBit::kHours24) != 0,
                   font.pixelsX, font.pixelsY);
    const QColor text = palette().color(QPalette::WindowText);
    const QColor halo = palette().color(QPalette::Window);

    QPainter painter(&picBack);
    painter.setFont(font.font);
    const int ascent = QFontMetrics(font.font).ascent();
    // Dark digits with a one-pixel light outline, readable on any picture.
    for (const MemoriLabel& label : plan.labels) {
        const auto drawAt = [&](int x, int y) {
            painter.drawText(QPoint(x, y + ascent), label.text);
        };
        painter.setPen(halo);
        for (const QPoint offset : {QPoint(-1, -1), QPoint(1, 1), QPoint(1, -1), QPoint(-1, 1),
                                    QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)})
            drawAt(label.x + offset.x(), label.y + offset.y());
        painter.setPen(text);
        drawAt(label.x, label.y);
    }
    // A dark tick on the bottom edge, bordered light on its left, right and top.
    const int H = picBack.height();
    for (const MemoriTick& tick : plan.ticks) {
        const int top = H - tick.length;
        painter.fillRect(tick.x, top, 1, tick.length, text);
        painter.fillRect(tick.x - 1, top - 1, 3, 1, halo);
        painter.fillRect(tick.x - 1, top, 1, tick.length, halo);
        painter.fillRect(tick.x + 1, top, 1, tick.length, halo);
    }
}
