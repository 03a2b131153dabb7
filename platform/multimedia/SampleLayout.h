#pragma once

#include <pulse/sample.h>
#include <pulse/timeval.h>

#include <cstddef>
#include <cstdint>

// How a sound's samples are laid out for the sound server: interleaved frames of one format.
struct SampleLayout {
    pa_sample_format_t format = PA_SAMPLE_S16LE;
    uint32_t rate = 0;
    uint8_t channels = 0;

    // Bytes of one frame; 0 for a layout the server does not take.
    size_t frameBytes() const {
        if (rate == 0 || rate > PA_RATE_MAX || channels == 0 || channels > PA_CHANNELS_MAX)
            return 0;
        return pa_sample_size_of_format(format) * channels;
    }
    // Bytes of the given microseconds, in whole frames.
    size_t bytesOf(pa_usec_t us) const { return us * rate / PA_USEC_PER_SEC * frameBytes(); }
    // Whole milliseconds that the given bytes last.
    int64_t msOf(int64_t bytes) const {
        const auto perSecond = static_cast<int64_t>(rate * frameBytes());
        return perSecond == 0 ? 0 : bytes * 1000 / perSecond;
    }
    // The same in the form the server's library takes.
    pa_sample_spec forServer() const { return {format, rate, channels}; }
};
