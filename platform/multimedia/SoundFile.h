#pragma once

#include <pulse/channelmap.h>
#include <pulse/sample.h>

#include <QString>
#include <cstdint>
#include <memory>

struct sf_private_tag;

// A sound file read a piece at a time, whatever its kind (wave in all its encodings, FLAC, Ogg
// Vorbis and Opus, MP3, AIFF, AU), as interleaved 32-bit float frames. Not for sharing between
// threads.
class SoundFile {
public:
    // nullptr when the path is not a regular file or not a sound file that can be read.
    static std::unique_ptr<SoundFile> open(const QString& path);
    ~SoundFile();

    SoundFile(const SoundFile&) = delete;
    SoundFile& operator=(const SoundFile&) = delete;

    pa_sample_spec sampleSpec() const { return m_spec; }
    // Where each channel goes: as the file says, or the usual order of its kind.
    const pa_channel_map& channelMap() const { return m_map; }
    int64_t frames() const { return m_frames; }
    // The playing time, rounded up.
    int64_t lengthMs() const;
    size_t frameBytes() const { return pa_frame_size(&m_spec); }

    // Reads up to `frames` frames into `to`; how many came, 0 at the end or on an error.
    int64_t read(float* to, int64_t frames);

private:
    SoundFile() = default;
    // The frames a full read gives, where the header only estimates them.
    bool countFrames();

    sf_private_tag* m_file = nullptr;
    pa_sample_spec m_spec{};
    pa_channel_map m_map{};
    int64_t m_frames = 0;
};
