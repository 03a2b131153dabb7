#pragma once

#include <QString>
#include <cstdint>

// Wave sounds played in the background, one at a time.
class WaveSound {
public:
    // Return at once while the sound plays. Without it nothing is played: the program never
    // waits for a wave sound.
    static constexpr uint32_t SND_ASYNC = 1;
    // Play nothing when the sound cannot be found, rather than the default sound.
    static constexpr uint32_t SND_NODEFAULT = 2;
    // Fail rather than cut off a sound that is still sounding.
    static constexpr uint32_t SND_NOSTOP = 16;

    virtual ~WaveSound() = default;
    // True when the sound was started. An empty name stops any sounding wave sound.
    // The alias ".Default" names the program's default sound.
    virtual bool sndPlaySound(const QString& name, uint32_t flags) = 0;
    // Loads the sound ahead, so that a later start of the same name only has to start it.
    // Plays nothing; a name that cannot be played is left alone.
    virtual void prepare(const QString& name) = 0;
    // True while the last sound started here has not reached its end nor been stopped.
    virtual bool isSounding() = 0;
};
