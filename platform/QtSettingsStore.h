#pragma once

#include <QSettings>

#include "platform/SettingsStore.h"

// The per-user INI file of application "Quillon" (or a given file, for the snapshot tool).
class QtSettingsStore final : public SettingsStore {
public:
    QtSettingsStore();
    explicit QtSettingsStore(const QString& iniFile);

    std::optional<QString> read(const QString& key) const override;
    std::optional<SaveFailure> writeAll(const Values& values) override;

    QString fileName() const { return m_settings.fileName(); }

private:
    mutable QSettings m_settings;
};
