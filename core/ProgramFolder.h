#pragma once

#include <QString>

// A folder as text that ends in a separator; one is appended (the native one) unless the text
// already ends in "\" or "/", as a root does.
QString withTrailingSeparator(const QString& folder);
