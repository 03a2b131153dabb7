#include "platform/QtWaveSound.h"

#include "platform/MultimediaBackend.h"
#include "platform/MultimediaModule.h"
#include "platform/TickCounter.h"
#include "platform/WaveFile.h"

namespace {
const QString kDefaultAlias = QStringLiteral(".Default");
}

QtWaveSound::QtWaveSound(MultimediaSource& source, TickCounter& ticks, const QString& defaultSound)
    : m_source(source), m_ticks(ticks), m_defaultSound(defaultSound) {}

bool QtWaveSound::sndPlaySound(const QString& name, uint32_t flags) {
    if (name.isEmpty()) {
        // Nothing can be sounding before the module is loaded; stopping must not load it.
        if (MultimediaBackend* backend = m_source.loadedBackend()) backend->stopWave();
        m_sounding = false;
        return true;
    }
    if ((flags & SND_ASYNC) == 0) return false;

    QString path = pathOf(name);
    std::optional<uint32_t> length = waveLengthMs(path);
    if (!length && (flags & SND_NODEFAULT) == 0) {
        path = m_defaultSound;
        length = waveLengthMs(path);
    }
    if (!length) return false;
    if ((flags & SND_NOSTOP) != 0 && isSounding()) return false;

    MultimediaBackend* backend = m_source.backend();
    if (backend == nullptr || !backend->playWave(path)) {
        m_sounding = false;
        return false;
    }
    m_sounding = true;
    m_startedAt = m_ticks.timeGetTime();
    m_lengthMs = *length;
    return true;
}

void QtWaveSound::prepare(const QString& name) {
    const QString path = pathOf(name);
    if (!waveLengthMs(path)) return;
    if (MultimediaBackend* backend = m_source.backend()) backend->prepareWave(path);
}

QString QtWaveSound::pathOf(const QString& name) const {
    return name.compare(kDefaultAlias, Qt::CaseInsensitive) == 0 ? m_defaultSound : name;
}

bool QtWaveSound::isSounding() {
    // The unsigned difference stays right across the counter's wrap.
    if (m_sounding && m_ticks.timeGetTime() - m_startedAt >= m_lengthMs) m_sounding = false;
    return m_sounding;
}
