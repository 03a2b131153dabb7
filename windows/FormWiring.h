#pragma once

#include <QList>
#include <QRadioButton>
#include <array>
#include <cstdint>

// How the setting windows wire their controls.

// Tab goes from each control to the next in the list.
inline void chainTabOrder(const QList<QWidget*>& order) {
    for (qsizetype i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

// One handler serves an array of options and receives the index of the option that becomes
// selected, by the user or by the program.
template <std::size_t N, typename Handler>
void connectOptionArray(const std::array<QRadioButton*, N>& options, QObject* context,
                        Handler handler) {
    for (std::size_t i = 0; i < N; ++i)
        QObject::connect(options[i], &QRadioButton::toggled, context, [handler, i](bool on) {
            if (on) handler(static_cast<int16_t>(i));
        });
}
