#include "core/ProgramFolder.h"

#include <QDir>

QString withTrailingSeparator(const QString& folder) {
    if (folder.endsWith(u'\\') || folder.endsWith(u'/')) return folder;
    return folder + QDir::separator();
}
