#include "windows/VersionText.h"

#include "core/AppTitle.h"
#include "windows/VersionInfo.h"

QStringList versionText() {
    return {appTitle() + QStringLiteral(" for ") + QLatin1String(VersionInfo::Platform) +
                QStringLiteral(" Version %1.%2").arg(VersionInfo::Major).arg(VersionInfo::Minor),
            QStringLiteral("Copyright (C) 2026 Quillon developers"),
            QString::fromUtf8(VersionInfo::Copyright)};
}
