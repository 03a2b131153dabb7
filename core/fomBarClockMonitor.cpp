#include <algorithm>

#include "core/DayCount.h"
#include "core/fomBarClock.h"
#include "platform/Clock.h"

void fomBarClock::TimeCheck() {
    const QDateTime P = m_platform.clock.now();
    // LastTime is replaced before the message shows: checks of the ticks that run meanwhile
    // compare with the new moment and find nothing, so one event gives one message.
    // Later to the second, the precision LastTime is stored with.
    if (m_setting.LastTime.toSecsSinceEpoch() > P.toSecsSinceEpoch()) {
        const QString Message = QStringLiteral("念のためですが、前回より時計が戻ってます。");
        m_setting.LastTime = m_platform.clock.now();
        showMessage(Message);
        return;
    }
    // A negative number of days (the options window takes any integer) counts as 0; taken as it
    // is, every check would report. The setting itself keeps what was typed.
    const qint64 allowed = std::max<int16_t>(m_setting.TimeCheckLength, 0);
    if (dayCount(m_setting.LastTime, P) > allowed) {
        const QDateTime fresh = m_platform.clock.now();
        const QString Message = QStringLiteral("念のためですが、前回より%1日経過してます。")
                                    .arg(dayCount(m_setting.LastTime, fresh));
        m_setting.LastTime = fresh;
        showMessage(Message);
    }
}

void fomBarClock::showMessage(const QString& Message) {
    if (m_messageWindow) m_messageWindow(Message);
}
