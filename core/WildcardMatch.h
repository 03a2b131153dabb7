#pragma once

#include <QString>

// Whether name fits pattern, without regard to letter case: "*" stands for any run of
// characters (none included), "?" for exactly one; every other character stands for itself.
bool matchesWildcard(const QString& pattern, const QString& name);
