#include "platform/QtMediaControl.h"

#include <QFileInfo>

#include "platform/MultimediaBackend.h"
#include "platform/MultimediaModule.h"

namespace {

MediaControl::Millis millis(int64_t ms) {
    if (ms < 0) return {0, MediaControl::Error::Device};
    return {ms, std::nullopt};
}

}  // namespace

QtMediaControl::QtMediaControl(MultimediaSource& source) : m_source(source) {}

std::optional<MediaControl::Error> QtMediaControl::open(const QString& path) {
    if (m_open) return Error::AlreadyOpen;
    if (!QFileInfo(path).isFile()) return Error::FileNotFound;
    MultimediaBackend* backend = m_source.backend();
    if (backend == nullptr || !backend->openMedia(path)) return Error::CannotOpen;
    m_open = true;
    return std::nullopt;
}

MediaControl::Millis QtMediaControl::length() {
    MultimediaBackend* backend = openBackend();
    if (backend == nullptr) return {0, Error::NotOpen};
    return millis(backend->mediaLength());
}

std::optional<MediaControl::Error> QtMediaControl::play() {
    MultimediaBackend* backend = openBackend();
    if (backend == nullptr) return Error::NotOpen;
    if (!backend->playMedia()) return Error::Device;
    return std::nullopt;
}

MediaControl::Millis QtMediaControl::position() {
    MultimediaBackend* backend = openBackend();
    if (backend == nullptr) return {0, Error::NotOpen};
    return millis(backend->mediaPosition());
}

void QtMediaControl::close() {
    if (MultimediaBackend* backend = openBackend()) backend->closeMedia();
    m_open = false;
}

void QtMediaControl::prepare(const QString& path) {
    if (!QFileInfo(path).isFile()) return;
    if (MultimediaBackend* backend = m_source.backend()) backend->prepare(path);
}

MultimediaBackend* QtMediaControl::openBackend() const {
    return m_open ? m_source.loadedBackend() : nullptr;
}
