#include "core/WildcardMatch.h"

#include <QChar>
#include <QList>

namespace {

// Whole characters, so that "?" takes one even beyond the 16-bit range.
QList<uint> foldedCharacters(const QString& text) {
    QList<uint> characters = text.toUcs4();  // Qt 6.4: uint, not char32_t
    for (uint& c : characters) c = QChar::toCaseFolded(c);
    return characters;
}

}  // namespace

bool matchesWildcard(const QString& pattern, const QString& name) {
    const QList<uint> p = foldedCharacters(pattern);
    const QList<uint> n = foldedCharacters(name);
    qsizetype pi = 0, ni = 0;
    // After a "*", where to go on when what follows it fails: the pattern just past the star,
    // and the name one character further than the star's last try.
    qsizetype starAt = -1, retryAt = 0;
    while (ni < n.size()) {
        if (pi < p.size() && p[pi] == U'*') {
            starAt = pi++;
            retryAt = ni;
        } else if (pi < p.size() && (p[pi] == U'?' || p[pi] == n[ni])) {
            ++pi;
            ++ni;
        } else if (starAt >= 0) {
            pi = starAt + 1;
            ni = ++retryAt;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == U'*') ++pi;
    return pi == p.size();
}
