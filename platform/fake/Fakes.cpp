#include "platform/fake/Fakes.h"

#include <algorithm>
#include <ostream>

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

std::optional<WaveSound::Error> FakeWaveSound::play(const QString& path, Overlap overlap) {
    calls.push_back(playCall(path, overlap));
    if (overlap == Overlap::AfterItsEnd && !sounding.isEmpty()) return Error::StillSounding;
    if (!playable.contains(path)) return Error::CannotPlay;
    sounding = path;
    return std::nullopt;
}

void FakeWaveSound::stop() {
    calls.push_back(stopCall());
    sounding.clear();
}

std::ostream& operator<<(std::ostream& out, const FakeWaveSound::Call& call) {
    if (call.kind == FakeWaveSound::Call::Kind::Stop) return out << "stop";
    return out << "play " << call.path.toStdString()
               << (call.overlap == WaveSound::Overlap::CutOff ? " cutting off" : " after its end");
}

std::optional<MediaControl::Error> FakeMediaControl::asked(Op op, Error failure) {
    ops.push_back(op);
    if (onOp) onOp(op);
    if (failing.contains(op)) return failure;
    if (op != Op::Open && openFile.isEmpty()) return Error::NotOpen;
    return std::nullopt;
}

std::optional<MediaControl::Error> FakeMediaControl::open(const QString& path) {
    opened << path;
    if (const auto error = asked(Op::Open, Error::CannotOpen)) return error;
    if (!openFile.isEmpty()) return Error::AlreadyOpen;
    if (!files.contains(path)) return Error::FileNotFound;
    openFile = path;
    m_playing = false;
    return std::nullopt;
}

MediaControl::Millis FakeMediaControl::length() {
    if (const auto error = asked(Op::Length, Error::Device)) return {0, error};
    return {files.value(openFile), std::nullopt};
}

std::optional<MediaControl::Error> FakeMediaControl::play() {
    if (const auto error = asked(Op::Play, Error::Device)) return error;
    m_playing = true;
    m_playedAt = m_ticks.now;
    return std::nullopt;
}

MediaControl::Millis FakeMediaControl::position() {
    if (const auto error = asked(Op::Position, Error::Device)) return {0, error};
    if (!m_playing) return {0, std::nullopt};
    return {std::min({files.value(openFile), stallsAt, m_ticks.now - m_playedAt}), std::nullopt};
}

void FakeMediaControl::close() {
    ops.push_back(Op::Close);
    if (onOp) onOp(Op::Close);
    openFile.clear();
    m_playing = false;
}

std::ostream& operator<<(std::ostream& out, FakeMediaControl::Op op) {
    switch (op) {
        case FakeMediaControl::Op::Open:
            return out << "open";
        case FakeMediaControl::Op::Length:
            return out << "length";
        case FakeMediaControl::Op::Play:
            return out << "play";
        case FakeMediaControl::Op::Position:
            return out << "position";
        case FakeMediaControl::Op::Close:
            return out << "close";
    }
    return out << "op " << static_cast<int>(op);
}
