#include "core/TmpClear.h"

#include "core/SettingRecord.h"
#include "core/WildcardMatch.h"
#include "platform/TempFolder.h"

void cleanTempFolder(const SettingRecord& setting, TempFolder& tempFolder) {
    const QString& pattern = setting.TmpFileName;
    if (setting.TmpEnvName.isEmpty() || pattern.isEmpty()) return;
    // Names matched in another folder than the one they are deleted from could delete files
    // that do not match at all.
    if (pattern.contains(u'/') || pattern.contains(u'\\')) return;
    const QString folder = tempFolder.environmentVariable(setting.TmpEnvName);
    // A relative folder would depend on where the program happened to be started.
    if (!folder.startsWith(u'/')) return;
    tempFolder.deleteOrdinaryFiles(
        folder, [&](const QString& name) { return matchesWildcard(pattern, name); });
}
