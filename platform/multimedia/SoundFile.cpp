#include "SoundFile.h"

#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <array>
#include <vector>

namespace {

pa_channel_position_t positionOf(int channel, int auxIndex) {
    switch (channel) {
        case SF_CHANNEL_MAP_MONO:
            return PA_CHANNEL_POSITION_MONO;
        case SF_CHANNEL_MAP_LEFT:
        case SF_CHANNEL_MAP_FRONT_LEFT:
            return PA_CHANNEL_POSITION_FRONT_LEFT;
        case SF_CHANNEL_MAP_RIGHT:
        case SF_CHANNEL_MAP_FRONT_RIGHT:
            return PA_CHANNEL_POSITION_FRONT_RIGHT;
        case SF_CHANNEL_MAP_CENTER:
        case SF_CHANNEL_MAP_FRONT_CENTER:
            return PA_CHANNEL_POSITION_FRONT_CENTER;
        case SF_CHANNEL_MAP_REAR_CENTER:
            return PA_CHANNEL_POSITION_REAR_CENTER;
        case SF_CHANNEL_MAP_REAR_LEFT:
            return PA_CHANNEL_POSITION_REAR_LEFT;
        case SF_CHANNEL_MAP_REAR_RIGHT:
            return PA_CHANNEL_POSITION_REAR_RIGHT;
        case SF_CHANNEL_MAP_LFE:
            return PA_CHANNEL_POSITION_LFE;
        case SF_CHANNEL_MAP_FRONT_LEFT_OF_CENTER:
            return PA_CHANNEL_POSITION_FRONT_LEFT_OF_CENTER;
        case SF_CHANNEL_MAP_FRONT_RIGHT_OF_CENTER:
            return PA_CHANNEL_POSITION_FRONT_RIGHT_OF_CENTER;
        case SF_CHANNEL_MAP_SIDE_LEFT:
            return PA_CHANNEL_POSITION_SIDE_LEFT;
        case SF_CHANNEL_MAP_SIDE_RIGHT:
            return PA_CHANNEL_POSITION_SIDE_RIGHT;
        case SF_CHANNEL_MAP_TOP_CENTER:
            return PA_CHANNEL_POSITION_TOP_CENTER;
        case SF_CHANNEL_MAP_TOP_FRONT_LEFT:
            return PA_CHANNEL_POSITION_TOP_FRONT_LEFT;
        case SF_CHANNEL_MAP_TOP_FRONT_RIGHT:
            return PA_CHANNEL_POSITION_TOP_FRONT_RIGHT;
        case SF_CHANNEL_MAP_TOP_FRONT_CENTER:
            return PA_CHANNEL_POSITION_TOP_FRONT_CENTER;
        case SF_CHANNEL_MAP_TOP_REAR_LEFT:
            return PA_CHANNEL_POSITION_TOP_REAR_LEFT;
        case SF_CHANNEL_MAP_TOP_REAR_RIGHT:
            return PA_CHANNEL_POSITION_TOP_REAR_RIGHT;
        case SF_CHANNEL_MAP_TOP_REAR_CENTER:
            return PA_CHANNEL_POSITION_TOP_REAR_CENTER;
        default:
            return static_cast<pa_channel_position_t>(PA_CHANNEL_POSITION_AUX0 + auxIndex % 32);
    }
}

// Ogg Vorbis and Opus lay out their channels in an order of their own.
bool vorbisOrder(int channels, pa_channel_map& map) {
    using P = pa_channel_position_t;
    constexpr P FL = PA_CHANNEL_POSITION_FRONT_LEFT, FR = PA_CHANNEL_POSITION_FRONT_RIGHT,
                FC = PA_CHANNEL_POSITION_FRONT_CENTER, RL = PA_CHANNEL_POSITION_REAR_LEFT,
                RR = PA_CHANNEL_POSITION_REAR_RIGHT, RC = PA_CHANNEL_POSITION_REAR_CENTER,
                SL = PA_CHANNEL_POSITION_SIDE_LEFT, SR = PA_CHANNEL_POSITION_SIDE_RIGHT,
                LFE = PA_CHANNEL_POSITION_LFE;
    static const std::array<std::vector<P>, 9> orders = {{{},
                                                          {PA_CHANNEL_POSITION_MONO},
                                                          {FL, FR},
                                                          {FL, FC, FR},
                                                          {FL, FR, RL, RR},
                                                          {FL, FC, FR, RL, RR},
                                                          {FL, FC, FR, RL, RR, LFE},
                                                          {FL, FC, FR, SL, SR, RC, LFE},
                                                          {FL, FC, FR, SL, SR, RL, RR, LFE}}};
    if (channels < 1 || channels >= static_cast<int>(orders.size())) return false;
    map.channels = static_cast<uint8_t>(channels);
    for (int i = 0; i < channels; ++i) map.map[i] = orders[static_cast<size_t>(channels)][i];
    return true;
}

pa_channel_map channelMapOf(SNDFILE* file, const SF_INFO& info) {
    pa_channel_map map{};
    std::vector<int> channels(static_cast<size_t>(info.channels));
    if (sf_command(file, SFC_GET_CHANNEL_MAP_INFO, channels.data(),
                   static_cast<int>(channels.size() * sizeof(int))) == SF_TRUE) {
        map.channels = static_cast<uint8_t>(info.channels);
        int aux = 0;
        for (int i = 0; i < info.channels; ++i) {
            const int channel = channels[static_cast<size_t>(i)];
            const bool isAux = positionOf(channel, 0) == PA_CHANNEL_POSITION_AUX0;
            map.map[i] = positionOf(channel, isAux ? aux++ : 0);
        }
        if (pa_channel_map_valid(&map) != 0) return map;
    }
    const int subtype = info.format & SF_FORMAT_SUBMASK;
    if ((subtype == SF_FORMAT_VORBIS || subtype == SF_FORMAT_OPUS) &&
        vorbisOrder(info.channels, map))
        return map;
    // What a wave file without a channel mask means, and the order FLAC and most others keep.
    pa_channel_map_init_extend(&map, static_cast<unsigned>(info.channels), PA_CHANNEL_MAP_WAVEEX);
    return map;
}

// Opened without following onto a pipe or device that could hold the reader, and not handed to
// the programs the clock starts.
int openRegularFile(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return -1;
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

std::unique_ptr<SoundFile> SoundFile::open(const QString& path) {
    const int fd = openRegularFile(path);
    if (fd < 0) return nullptr;
    SF_INFO info{};
    SNDFILE* file = sf_open_fd(fd, SFM_READ, &info, SF_TRUE);
    if (file == nullptr) {
        ::close(fd);
        return nullptr;
    }
    std::unique_ptr<SoundFile> sound(new SoundFile);
    sound->m_file = file;
    if (info.channels < 1 || info.channels > static_cast<int>(PA_CHANNELS_MAX) ||
        info.samplerate < 1 || static_cast<uint32_t>(info.samplerate) > PA_RATE_MAX ||
        info.frames < 0)
        return nullptr;
    sound->m_spec = {PA_SAMPLE_FLOAT32NE, static_cast<uint32_t>(info.samplerate),
                     static_cast<uint8_t>(info.channels)};
    sound->m_map = channelMapOf(file, info);
    sound->m_frames = info.frames;
    if ((info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_MPEG && !sound->countFrames())
        return nullptr;
    return sound;
}

SoundFile::~SoundFile() {
    if (m_file != nullptr) sf_close(m_file);
}

bool SoundFile::countFrames() {
    // An MP3 header only estimates its length; a pass through the frames, about a second for
    // an hour, gives what will be heard.
    std::vector<float> scratch(4096 * m_spec.channels);
    int64_t frames = 0;
    while (const int64_t got = read(scratch.data(), 4096)) frames += got;
    m_frames = frames;
    return sf_seek(m_file, 0, SEEK_SET) == 0;
}

int64_t SoundFile::lengthMs() const { return (m_frames * 1000 + m_spec.rate - 1) / m_spec.rate; }

int64_t SoundFile::read(float* to, int64_t frames) {
    const sf_count_t got = sf_readf_float(m_file, to, frames);
    return got > 0 ? got : 0;
}
