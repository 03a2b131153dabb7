#include "core/BarView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

#include "core/AppTitle.h"

BarView::BarView(QWidget* parent) : QWidget(parent) {
    // The drawing covers every pixel: no background erase before painting.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(appTitle());
}

void BarView::setBarSize(int width, int height) {
    resize(width, height);
    if (m_image.size() == QSize(width, height)) return;
    m_image = QImage(qMax(width, 1), qMax(height, 1), QImage::Format_RGB32);
    m_image.fill(palette().color(QPalette::Button));
}

void BarView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // On a scaled desktop the pixel art is enlarged without smoothing.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRect dirty = event->rect();
    painter.drawImage(dirty, m_image, dirty);
}

void BarView::setTimeText(const QString& text) {
    setToolTip(text);
    // A screen reader hears the time the bar shows in pictures.
    setAccessibleDescription(text);
    if (QToolTip::isVisible() && underMouse()) QToolTip::showText(QCursor::pos(), text, this);
}
