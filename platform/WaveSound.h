#pragma once

#include <QString>
#include <optional>

// Wave sounds played in the background, one at a time: the program never waits for one.
class WaveSound {
public:
    enum class Error {
        CannotPlay,     // missing, unreadable, or not taken by the sound server
        StillSounding,  // asked not to cut off the sound before, which still sounds
    };
    enum class Overlap {
        CutOff,       // the sound before goes silent
        AfterItsEnd,  // fails with StillSounding while the sound before sounds
    };

    virtual ~WaveSound() = default;
    // nullopt once started.
    virtual std::optional<Error> play(const QString& path, Overlap overlap) = 0;
    // Silences the sounding wave sound, if any.
    virtual void stop() = 0;
    // Readies the sound, so that a later start of it only has to start it. Plays nothing; a
    // file that cannot be played is left alone.
    virtual void prepare(const QString& path) = 0;
    // The file of the program's own sound, played for the empty name.
    virtual QString defaultSound() const = 0;
};
