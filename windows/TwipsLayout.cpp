#include "windows/TwipsLayout.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QStringList>
#include <QWidget>
#include <algorithm>

#include "core/Rounding.h"
#include "platform/ScreenMetrics.h"

namespace {
constexpr int kFontHeightTwips = 180;  // 9 points
}

TwipsLayout::TwipsLayout(const ScreenMetrics& display)
    : m_tppX(display.twipsPerPixelX()), m_tppY(display.twipsPerPixelY()) {}

int TwipsLayout::x(int twips) const { return static_cast<int>(nearest(twips / m_tppX)); }
int TwipsLayout::y(int twips) const { return static_cast<int>(nearest(twips / m_tppY)); }

QRect TwipsLayout::pixels(int left, int top, int width, int height) const {
    return {x(left), y(top), x(width), y(height)};
}

void TwipsLayout::form(QWidget& window, int width, int height) const {
    window.setFont(font());
    window.setFixedSize(x(width), y(height));
}

void TwipsLayout::place(QWidget& control, int left, int top, int width, int height) const {
    control.setGeometry(pixels(left, top, width, height));
}

QFont TwipsLayout::font() const {
    QFont font;
    // The desktop's own Japanese face where there is one, else the IPA face that Debian ships.
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, y(kFontHeightTwips)));
    return font;
}

void widenChoicesToCaptions(QWidget& window) {
    for (QAbstractButton* choice : window.findChildren<QAbstractButton*>())
        if (qobject_cast<QPushButton*>(choice) == nullptr)
            choice->resize(std::max(choice->width(), choice->sizeHint().width()), choice->height());
}
