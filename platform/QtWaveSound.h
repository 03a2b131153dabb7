#pragma once

#include "platform/WaveSound.h"

class MultimediaSource;
class TickCounter;

// Wave sounds through the multimedia module, loaded with the first sound. Whether a sound is
// still sounding is known from its file's length and the tick counter, not from the sound
// device, so the answer is the same with or without one.
class QtWaveSound final : public WaveSound {
public:
    // defaultSound: the file played for ".Default".
    QtWaveSound(MultimediaSource& source, TickCounter& ticks, const QString& defaultSound);

    bool sndPlaySound(const QString& name, uint32_t flags) override;
    bool isSounding() override;
    void prepare(const QString& name) override;

private:
    QString pathOf(const QString& name) const;

    MultimediaSource& m_source;
    TickCounter& m_ticks;
    QString m_defaultSound;
    bool m_sounding = false;
    uint32_t m_startedAt = 0;
    uint32_t m_lengthMs = 0;
};
