#include "platform/QtMediaControl.h"

#include <QFileInfo>
#include <QRegularExpression>

#include "platform/MultimediaBackend.h"
#include "platform/MultimediaModule.h"

namespace {

bool is(const QString& word, const char* keyword) {
    return word.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
}

}  // namespace

QtMediaControl::QtMediaControl(MultimediaSource& source) : m_source(source) {}

int QtMediaControl::mciSendString(const QString& command, QString& reply) {
    reply.clear();
    // The name may hold blanks and even quotes: it runs to the last quote before the alias.
    static const QRegularExpression openCommand(QStringLiteral("^open \"(.*)\" alias (\\S+)$"),
                                                QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = openCommand.match(command.trimmed());
    if (match.hasMatch()) return open(match.captured(1), match.captured(2));

    const QStringList words = command.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() < 2) return kUnrecognizedCommand;
    const QString& verb = words[0];
    const bool known =
        (is(verb, "set") && words.size() == 5 && is(words[2], "time") && is(words[3], "format")) ||
        (is(verb, "status") && words.size() == 3 &&
         (is(words[2], "length") || is(words[2], "position"))) ||
        ((is(verb, "play") || is(verb, "close")) && words.size() == 2);
    if (!known) return kUnrecognizedCommand;

    MultimediaBackend* backend = m_source.loadedBackend();
    if (m_alias.isEmpty() || backend == nullptr ||
        words[1].compare(m_alias, Qt::CaseInsensitive) != 0)
        return kInvalidDeviceName;

    if (is(verb, "set"))
        return is(words[4], "milliseconds") || is(words[4], "ms") ? kNoError : kBadTimeFormat;
    if (is(verb, "status")) {
        const int64_t value =
            is(words[2], "length") ? backend->mediaLength() : backend->mediaPosition();
        if (value < 0) return kDeviceError;
        reply = QString::number(value);
        return kNoError;
    }
    if (is(verb, "play")) return backend->playMedia() ? kNoError : kDeviceError;
    backend->closeMedia();
    m_alias.clear();
    return kNoError;
}

void QtMediaControl::prepare(const QString& name) {
    if (!QFileInfo(name).isFile()) return;
    if (MultimediaBackend* backend = m_source.backend()) backend->prepareMedia(name);
}

int QtMediaControl::open(const QString& path, const QString& alias) {
    if (!m_alias.isEmpty()) return kDuplicateAlias;
    if (!QFileInfo(path).isFile()) return kFileNotFound;
    MultimediaBackend* backend = m_source.backend();
    if (backend == nullptr || !backend->openMedia(path)) return kCannotOpen;
    m_alias = alias;
    return kNoError;
}
