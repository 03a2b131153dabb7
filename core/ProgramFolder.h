#pragma once

#include <QString>

// A folder as text that ends in a separator; one is appended (the native one) unless the text
// already ends in "\" or "/", as a root does.
QString withTrailingSeparator(const QString& folder);

// The help file beside the program, or its bare name when it is not there.
QString resolveHelpFile(const QString& programFolder);
