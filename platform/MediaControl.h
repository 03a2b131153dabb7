#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// Media files played to their end, one open file at a time. play returns while the file plays.
class MediaControl {
public:
    enum class Error {
        FileNotFound,  // no such file
        CannotOpen,    // not a sound file that can be read
        AlreadyOpen,   // another file is open
        NotOpen,       // nothing is open
        Device,        // the sound server did not take it, or has gone
    };
    // Milliseconds, or why there are none.
    struct Millis {
        int64_t ms = 0;
        std::optional<Error> error;
    };

    virtual ~MediaControl() = default;
    virtual std::optional<Error> open(const QString& path) = 0;
    virtual Millis length() = 0;
    virtual std::optional<Error> play() = 0;
    // The length once the file has been heard to its end.
    virtual Millis position() = 0;
    // Silences the open file and lets it go; nothing open is fine.
    virtual void close() = 0;
    // Readies the file, so that a later open and play of it only has to start it. Plays nothing
    // and opens nothing; a file that cannot be played is left alone.
    virtual void prepare(const QString& path) = 0;
};
