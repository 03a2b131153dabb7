#include "platform/QtSettingsStore.h"

#include <QStringList>
#include <QTemporaryFile>

namespace {
const QString kGroup = QStringLiteral("Setting");

// QSettings says only that the file could not be written; the same writes, tried by hand, give
// the system's reason (a read-only folder, a full disk).
QString whyNotWritten(const QString& file, const SettingsStore::Values& values) {
    if (QFile existing(file); existing.exists() && !existing.open(QIODevice::ReadWrite))
        return existing.errorString();
    QByteArray text = (u'[' + kGroup + QStringLiteral("]\n")).toUtf8();
    for (const auto& [key, value] : values) text += (key + u'=' + value + u'\n').toUtf8();
    QTemporaryFile probe(file + QStringLiteral(".probe"));
    if (!probe.open() || probe.write(text) != text.size() || !probe.flush())
        return probe.errorString();
    return QStringLiteral("it could not be replaced");
}
}  // namespace

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

std::optional<SaveFailure> QtSettingsStore::writeAll(const Values& values) {
    // A QSettings for each save: one keeps its first error for good, even after a save that
    // worked. It shares the values in memory with the one that reads.
    QSettings settings(fileName(), QSettings::IniFormat);
    settings.beginGroup(kGroup);
    for (const auto& [key, text] : values) settings.setValue(key, text);
    settings.endGroup();
    // QSettings replaces the file through a temporary one, so a save is never half-written.
    settings.sync();
    // A FormatError only says that the file held lines it could not read; it was written.
    if (settings.status() != QSettings::AccessError) return std::nullopt;
    return SaveFailure{fileName(), whyNotWritten(fileName(), values)};
}
