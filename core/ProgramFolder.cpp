#include "core/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>

QString withTrailingSeparator(const QString& folder) {
    if (folder.endsWith(u'\\') || folder.endsWith(u'/')) return folder;
    return folder + QDir::separator();
}

QString resolveHelpFile(const QString& programFolder) {
    const QString name = QStringLiteral("Quillon.HLP");
    const QString path = withTrailingSeparator(programFolder) + name;
    return QFileInfo::exists(path) ? path : name;
}
