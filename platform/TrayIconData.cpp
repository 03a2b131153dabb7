#include "platform/TrayIcon.h"

QString TrayIconData::tipField(const QString& tip) {
    QString field = tip.left(kTipField - 1) + QChar(u'\0');
    return field.leftJustified(kTipField, u' ');
}

QString TrayIconData::tipText() const {
    const qsizetype end = szTip.indexOf(QChar(u'\0'));
    return end < 0 ? szTip : szTip.left(end);
}
