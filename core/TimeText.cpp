#include "core/TimeText.h"

QString toolTipText(const QTime& time) {
    const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    return QStringLiteral("%1:%2:%3 %4")
        .arg(hour12)
        .arg(time.minute())
        .arg(time.second())
        .arg(time.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
}
