#include "platform/modStdLib.h"

namespace {

// A path from "/" is this system's, where "\" is a character of names ("/p/a\b.ico"); in any
// other both separate.
bool isSeparator(QChar c, const QString& path) {
    return c == QLatin1Char('/') || (c == QLatin1Char('\\') && !path.startsWith(QLatin1Char('/')));
}

qsizetype firstSeparator(const QString& text, const QString& path) {
    for (qsizetype i = 0; i < text.size(); ++i)
        if (isSeparator(text[i], path)) return i;
    return -1;
}

qsizetype lastSeparator(const QString& text, const QString& path) {
    for (qsizetype i = text.size() - 1; i >= 0; --i)
        if (isSeparator(text[i], path)) return i;
    return -1;
}

}  // namespace

QString PathRoot(const QString& path) {
    if (path.startsWith(QLatin1String("\\\\"))) {
        const QString rest = path.mid(2);
        const qsizetype server = firstSeparator(rest, path);
        if (server < 0) return {};
        const QString head = QLatin1String("\\\\") + rest.left(server + 1);
        const QString share = rest.mid(server + 1);
        const qsizetype end = firstSeparator(share, path);
        return head + (end < 0 ? share : share.left(end));
    }
    // Only a colon before any separator makes a drive: elsewhere it belongs to a name
    // ("/home/a:b/c.wav").
    const qsizetype colon = path.indexOf(QLatin1Char(':'));
    const qsizetype separator = firstSeparator(path, path);
    if (colon < 0 || (separator >= 0 && separator < colon)) return {};
    return path.left(colon + 1);
}

QString PathFolder(const QString& path) {
    QString root = PathRoot(path);
    QString rest = path.mid(root.size());
    if (!rest.isEmpty() && isSeparator(rest[0], path)) {
        root += rest[0];
        rest.remove(0, 1);
    }
    const qsizetype last = lastSeparator(rest, path);
    return last < 0 ? root : root + rest.left(last);
}

QString PathFileName(const QString& path) {
    QString rest = path.mid(PathFolder(path).size());
    if (!rest.isEmpty() && isSeparator(rest[0], path)) rest.remove(0, 1);
    return rest;
}
