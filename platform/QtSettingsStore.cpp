#include "platform/QtSettingsStore.h"

#include <QStringList>

namespace {
const QString kGroup = QStringLiteral("Setting");
}

QtSettingsStore::QtSettingsStore()
    : m_settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Quillon"),
                 QStringLiteral("Quillon")) {}

QtSettingsStore::QtSettingsStore(const QString& iniFile)
    : m_settings(iniFile, QSettings::IniFormat) {}

std::optional<QString> QtSettingsStore::read(const QString& key) const {
    const QString path = kGroup + QLatin1Char('/') + key;
    if (!m_settings.contains(path)) return std::nullopt;
    const QVariant value = m_settings.value(path);
    // A hand-written value with an unquoted comma comes back as a list; keep it as one text.
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(u',');
    return value.toString();
}

void QtSettingsStore::writeAll(const Values& values) {
    m_settings.beginGroup(kGroup);
    for (const auto& [key, text] : values) m_settings.setValue(key, text);
    m_settings.endGroup();
    // QSettings replaces the file through a temporary one, so a save is never half-written.
    m_settings.sync();
}
