#include "platform/QtWaveSound.h"

#include <QFileInfo>
#include <algorithm>
#include <limits>

#include "platform/MultimediaBackend.h"
#include "platform/MultimediaModule.h"
#include "platform/TickCounter.h"

QtWaveSound::QtWaveSound(MultimediaSource& source, TickCounter& ticks, const QString& defaultSound)
    : m_source(source), m_ticks(ticks), m_defaultSound(defaultSound) {}

std::optional<WaveSound::Error> QtWaveSound::play(const QString& path, Overlap overlap) {
    if (overlap == Overlap::AfterItsEnd && isSounding()) return Error::StillSounding;
    // A missing file must not map the sound libraries.
    if (!QFileInfo(path).isFile()) return Error::CannotPlay;

    MultimediaBackend* backend = m_source.backend();
    const int64_t length = backend != nullptr ? backend->playWave(path) : -1;
    if (length < 0) {
        m_sounding = false;
        return Error::CannotPlay;
    }
    m_sounding = true;
    m_startedAt = m_ticks.timeGetTime();
    m_lengthMs =
        static_cast<uint32_t>(std::min<int64_t>(length, std::numeric_limits<uint32_t>::max()));
    return std::nullopt;
}

void QtWaveSound::stop() {
    // Nothing can be sounding before the module is loaded; stopping must not load it.
    if (MultimediaBackend* backend = m_source.loadedBackend()) backend->stopWave();
    m_sounding = false;
}

void QtWaveSound::prepare(const QString& path) {
    if (!QFileInfo(path).isFile()) return;
    if (MultimediaBackend* backend = m_source.backend()) backend->prepare(path);
}

bool QtWaveSound::isSounding() {
    // The unsigned difference stays right across the counter's wrap.
    if (m_sounding && m_ticks.timeGetTime() - m_startedAt >= m_lengthMs) m_sounding = false;
    return m_sounding;
}
