#pragma once

#include <QString>

// The per-user login start (XDG autostart): a desktop entry named quillon.desktop in
// $XDG_CONFIG_HOME/autostart, ~/.config/autostart when that is unset.
QString autostartEntryPath();

// The entry's text, starting `program` (an absolute path) at login.
QString autostartEntryText(const QString& program);

// Both return an error text, empty on success; removing an entry that is not there succeeds.
QString writeAutostartEntry(const QString& program);
QString removeAutostartEntry();

// The running program's own file, links resolved; needs no application object.
QString runningProgramPath();
