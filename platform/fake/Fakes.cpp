#include "platform/fake/Fakes.h"

#include <algorithm>

std::optional<QString> MemoryStore::read(const QString& key) const {
    const auto it = m_values.constFind(key);
    if (it == m_values.cend()) return std::nullopt;
    return *it;
}

std::optional<SaveFailure> MemoryStore::writeAll(const Values& values) {
    ++saves;
    if (refusal) return refusal;
    lastSaveOrder.clear();
    for (const auto& [key, text] : values) {
        m_values[key] = text;
        lastSaveOrder << key;
    }
    return std::nullopt;
}

bool FakeWaveSound::sndPlaySound(const QString& name, uint32_t flags) {
    calls.push_back({name, flags});
    if (name.isEmpty()) {
        sounding.clear();
        return true;
    }
    if (!playable.contains(name)) return false;
    if ((flags & SND_NOSTOP) != 0 && !sounding.isEmpty()) return false;
    sounding = name;
    return true;
}

int FakeMediaControl::mciSendString(const QString& command, QString& reply) {
    reply.clear();
    commands << command;
    if (onCommand) onCommand(command);
    if (failing.contains(command)) return kDeviceError;

    static const QString openPrefix = QStringLiteral("open \"");
    static const QString openSuffix = QStringLiteral("\" alias x1");
    if (command.startsWith(openPrefix) && command.endsWith(openSuffix)) {
        const QString name =
            command.mid(openPrefix.size(), command.size() - openPrefix.size() - openSuffix.size());
        if (!openFile.isEmpty()) return kDuplicateAlias;
        if (!files.contains(name)) return kFileNotFound;
        openFile = name;
        m_playing = false;
        return kNoError;
    }
    const QStringList known = {QStringLiteral("set x1 time format milliseconds"),
                               QStringLiteral("status x1 length"), QStringLiteral("play x1"),
                               QStringLiteral("status x1 position"), QStringLiteral("close x1")};
    if (!known.contains(command)) return kUnrecognizedCommand;
    if (openFile.isEmpty()) return kInvalidDeviceName;

    const uint32_t length = files.value(openFile);
    if (command == known[1]) {
        reply = QString::number(length);
    } else if (command == known[2]) {
        m_playing = true;
        m_playedAt = m_ticks.now;
    } else if (command == known[3]) {
        reply =
            QString::number(m_playing ? std::min({length, stallsAt, m_ticks.now - m_playedAt}) : 0);
    } else if (command == known[4]) {
        openFile.clear();
        m_playing = false;
    }
    return kNoError;
}
