#include <QAction>
#include <QMenu>
#include <QRandomGenerator>

#include "core/fomBarClock.h"
#include "windows/fomAlarm.h"
#include "windows/fomFileSelect.h"
#include "windows/fomMask.h"
#include "windows/fomVersion.h"

void fomBarClock::buildMenu() {
    // The root never shows as a menu bar; its items form the popup.
    m_mnuFile = new QMenu(QStringLiteral("ﾌｧｲﾙ(&F)"), this);
    m_mnuFile->setObjectName(QStringLiteral("mnuFile"));

    QMenu* mnuFileSetup = m_mnuFile->addMenu(QStringLiteral("表示幅"));
    mnuFileSetup->setObjectName(QStringLiteral("mnuFileSetup"));
    const QStringList spans = {QStringLiteral("短い"), QStringLiteral("普通"),
                               QStringLiteral("長い")};
    for (int i = 0; i < 3; ++i) {
        const auto Index = static_cast<int16_t>(2 * (i + 1));
        QAction* item = mnuFileSetup->addAction(spans[i]);
        item->setObjectName(QStringLiteral("mnuTimeWidth(%1)").arg(Index));
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, Index] { mnuTimeWidth_Click(Index); });
        m_mnuTimeWidth[i] = item;
    }

    QMenu* mnuSetup = m_mnuFile->addMenu(QStringLiteral("設定"));
    mnuSetup->setObjectName(QStringLiteral("mnuSetup"));
    const auto addItem = [this](QMenu* menu, const QString& name, const QString& caption,
                                void (fomBarClock::*handler)()) {
        QAction* item = menu->addAction(caption);
        item->setObjectName(name);
        connect(item, &QAction::triggered, this, handler);
    };
    addItem(mnuSetup, QStringLiteral("mnuPicture"), QStringLiteral("画像設定 ..."),
            &fomBarClock::mnuPicture_Click);
    addItem(mnuSetup, QStringLiteral("mnuAlarm"), QStringLiteral("ｱﾗｰﾑ設定 ..."),
            &fomBarClock::mnuAlarm_Click);
    addItem(mnuSetup, QStringLiteral("mnuMask"), QStringLiteral("その他 ..."),
            &fomBarClock::mnuMask_Click);
    addItem(m_mnuFile, QStringLiteral("mnuVersion"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報 ..."),
            &fomBarClock::mnuVersion_Click);
    m_mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuSp1"));
    addItem(m_mnuFile, QStringLiteral("mnuFileEnd"), QStringLiteral("終了"),
            &fomBarClock::mnuFileEnd_Click);
}

void fomBarClock::popupMenu(const QPoint& globalPos) { m_mnuFile->popup(globalPos); }

// Modal; the bar's timers go on ticking inside exec(), so the alarm and chime still sound.
void fomBarClock::mnuAlarm_Click() {
    fomAlarm form(m_platform, *this);
    form.exec();
}

void fomBarClock::mnuPicture_Click() {
    fomFileSelect form(m_platform, *this);
    form.exec();
}

void fomBarClock::mnuMask_Click() {
    fomMask form(m_platform, *this);
    form.exec();
}

void fomBarClock::mnuVersion_Click() {
    fomVersion form(m_platform, *QRandomGenerator::global(), this);
    form.exec();
}
