#include "platform/AutostartEntry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

// Exec holds a quoted argument inside an escaped string: quoting first, then the string's own
// escapes, so a path with spaces, quotes, dollars or percent signs starts the right file.
QString execValue(const QString& program) {
    QString quoted;
    for (const QChar c : program) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') quoted += u'\\';
        quoted += c;
    }
    quoted = u'"' + quoted + u'"';
    quoted.replace(u'\\', QStringLiteral("\\\\"));
    quoted.replace(u'\n', QStringLiteral("\\n"));
    quoted.replace(u'%', QStringLiteral("%%"));
    return quoted;
}

}  // namespace

QString autostartEntryPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/quillon.desktop");
}

QString autostartEntryText(const QString& program) {
    return QStringLiteral(
               "[Desktop Entry]\n"
               "Type=Application\n"
               "Name=Quillon\n"
               "Name[ja]=クイロン\n"
               "Comment=A desktop clock whose face is a moving picture\n"
               "Comment[ja]=動く絵が文字盤のデスクトップ時計\n"
               "Exec=%1\n"
               "Icon=quillon\n"
               "Terminal=false\n")
        .arg(execValue(program));
}

QString writeAutostartEntry(const QString& program) {
    // An entry with no program in it would start nothing at every login.
    if (program.isEmpty()) return QStringLiteral("cannot tell where the program is");
    const QString path = autostartEntryPath();
    if (!QDir().mkpath(QFileInfo(path).path()))
        return QStringLiteral("%1: cannot make the folder").arg(QFileInfo(path).path());
    QSaveFile file(path);
    const QByteArray bytes = autostartEntryText(program).toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("%1: %2").arg(path, file.errorString());
    return {};
}

QString removeAutostartEntry() {
    QFile file(autostartEntryPath());
    if (!file.exists() || file.remove()) return {};
    return QStringLiteral("%1: %2").arg(file.fileName(), file.errorString());
}

QString runningProgramPath() {
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}
