#pragma once

#include <QString>

// The application title shown on message boxes and as the tray icon's tip.
inline QString appTitle() { return QStringLiteral("クイロン"); }
