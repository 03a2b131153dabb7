#pragma once

#include <QList>
#include <QString>
#include <optional>
#include <utility>

// Why a save did not reach the store.
struct SaveFailure {
    QString file;    // where it should have gone
    QString reason;  // the system's words
};

// Text values of the group "Setting". A missing key reads as nullopt, a present empty one as "".
class SettingsStore {
public:
    using Values = QList<std::pair<QString, QString>>;

    virtual ~SettingsStore() = default;
    virtual std::optional<QString> read(const QString& key) const = 0;
    // Writes every pair in the given order as one save; says why when the store did not take it.
    virtual std::optional<SaveFailure> writeAll(const Values& values) = 0;
};
