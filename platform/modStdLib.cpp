#include "platform/modStdLib.h"

namespace {

bool isSeparator(QChar c) { return c == QLatin1Char('\\') || c == QLatin1Char('/'); }

qsizetype firstSeparator(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i)
        if (isSeparator(text[i])) return i;
    return -1;
}

qsizetype lastSeparator(const QString& text) {
    for (qsizetype i = text.size() - 1; i >= 0; --i)
        if (isSeparator(text[i])) return i;
    return -1;
}

}  // namespace

QString PathRoot(const QString& path) {
    if (path.startsWith(QLatin1String("\\\\"))) {
        const QString rest = path.mid(2);
        const qsizetype server = firstSeparator(rest);
        if (server < 0) return {};
        const QString head = QLatin1String("\\\\") + rest.left(server + 1);
        const QString share = rest.mid(server + 1);
        const qsizetype end = firstSeparator(share);
        return head + (end < 0 ? share : share.left(end));
    }
    // Only a colon before any separator makes a drive: elsewhere it belongs to a name
    // ("/home/a:b/c.wav").
    const qsizetype colon = path.indexOf(QLatin1Char(':'));
    const qsizetype separator = firstSeparator(path);
    if (colon < 0 || (separator >= 0 && separator < colon)) return {};
    return path.left(colon + 1);
}

QString PathFolder(const QString& path) {
    QString root = PathRoot(path);
    QString rest = path.mid(root.size());
    if (!rest.isEmpty() && isSeparator(rest[0])) {
        root += rest[0];
        rest.remove(0, 1);
    }
    const qsizetype last = lastSeparator(rest);
    return last < 0 ? root : root + rest.left(last);
}

QString PathFileName(const QString& path) {
    QString rest = path.mid(PathFolder(path).size());
    if (!rest.isEmpty() && isSeparator(rest[0])) rest.remove(0, 1);
    return rest;
}
