#pragma once

#include <QString>

// Writes every built-in picture and sound into `folder`; on failure returns what went wrong.
QString writeAssets(const QString& folder);
