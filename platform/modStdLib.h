#pragma once

#include <QString>

// Splitting a path into its root, its folder and its file name. Both "\" and "/" separate
// folders, except in a path from "/", this system's, where "\" is part of a name; a root is a
// drive ("C:"), a share ("\\server\share"), or nothing. None of them fails.
QString PathRoot(const QString& path);
// The folder without a trailing separator, except right after the root ("C:\", "/").
QString PathFolder(const QString& path);
QString PathFileName(const QString& path);
