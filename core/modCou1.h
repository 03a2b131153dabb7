#pragma once

#include <QSize>

#include "core/SettingRecord.h"
#include "platform/SettingsStore.h"

class Clock;
class WindowTwips;

namespace modCou1 {

// What loading and saving the settings needs from outside.
struct SettingContext {
    SettingsStore& store;
    const Clock& clock;
    QSize screenTwips;      // the whole screen, for centring on a first start
    QString programFolder;  // ends in a separator
};

// The record of a first start.
SettingRecord firstStartRecord(const QDateTime& now, const QString& programFolder);

// Fills the record from the store and places the window.
void SettingLoad(SettingRecord& record, WindowTwips& window, const SettingContext& context);

// Writes every key in its fixed order; LastTime is the present moment. Says why when the store
// did not take the save.
std::optional<SaveFailure> SettingSave(const SettingRecord& record, const WindowTwips& window,
                                       const SettingContext& context);

// LastTime as stored: the short date and long time of a Japanese desktop, "2026/12/07 5:30:00",
// the same under every locale so a file read under another one still parses.
QString lastTimeText(const QDateTime& moment);
std::optional<QDateTime> parseLastTime(const QString& text);

}  // namespace modCou1
