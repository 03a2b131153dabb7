#pragma once

#include <cstdint>

#include "platform/WaveSound.h"

class MultimediaSource;
class TickCounter;

// Wave sounds through the multimedia module, loaded with the first sound. Whether a sound is
// still sounding is known from the length the module gave for it and the tick counter, not from
// the sound device, so the answer is the same with or without one. A path that is not a file
// fails without loading the module.
class QtWaveSound final : public WaveSound {
public:
    // defaultSound: the file played for the empty name.
    QtWaveSound(MultimediaSource& source, TickCounter& ticks, const QString& defaultSound);

    std::optional<Error> play(const QString& path, Overlap overlap) override;
    void stop() override;
    void prepare(const QString& path) override;
    QString defaultSound() const override { return m_defaultSound; }

private:
    bool isSounding();

    MultimediaSource& m_source;
    TickCounter& m_ticks;
    QString m_defaultSound;
    bool m_sounding = false;
    uint32_t m_startedAt = 0;
    uint32_t m_lengthMs = 0;
};
