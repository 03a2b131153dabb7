#pragma once

#include <QStringList>

// The version window's three lines: product and version, then the two copyright lines. The
// command line's --version prints the same.
QStringList versionText();
