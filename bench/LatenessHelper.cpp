// What bench/sound-lateness.sh needs and has no other tool for.
//   quillon-lateness-helper opus IN OUT
//       Writes the sound file IN as Ogg Opus (IN's rate must be one Opus takes, 48000 Hz say).
//   quillon-lateness-helper ticks FRAMEBUFFER UNTIL
//       Watches the screen of an Xvfb started with -fbdir (its Xvfb_screen0 file, which the X
//       server draws into) until UNTIL, in seconds since the epoch, and prints "AT GAP" for
//       every change of its pixels: AT the wall-clock time of the look that found it, GAP how
//       long before that the previous look was, so the change happened within GAP before AT.
#include <fcntl.h>
#include <sndfile.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

int opus(const char* in, const char* out) {
    SF_INFO info{};
    SNDFILE* from = sf_open(in, SFM_READ, &info);
    if (from == nullptr) {
        std::fprintf(stderr, "%s: %s\n", in, sf_strerror(nullptr));
        return 1;
    }
    SF_INFO outInfo{};
    outInfo.samplerate = info.samplerate;
    outInfo.channels = info.channels;
    outInfo.format = SF_FORMAT_OGG | SF_FORMAT_OPUS;
    SNDFILE* to = sf_open(out, SFM_WRITE, &outInfo);
    if (to == nullptr) {
        std::fprintf(stderr, "%s: %s\n", out, sf_strerror(nullptr));
        sf_close(from);
        return 1;
    }
    std::vector<float> piece(4096 * static_cast<size_t>(info.channels));
    sf_count_t got = 0;
    bool written = true;
    while (written && (got = sf_readf_float(from, piece.data(), 4096)) > 0)
        written = sf_writef_float(to, piece.data(), got) == got;
    sf_close(from);
    if (!written) std::fprintf(stderr, "%s: %s\n", out, sf_strerror(to));
    return sf_close(to) == 0 && written ? 0 : 1;
}

double wallClock() {
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

uint32_t bigEndian(const unsigned char* at) {
    return uint32_t{at[0]} << 24 | uint32_t{at[1]} << 16 | uint32_t{at[2]} << 8 | at[3];
}

int ticks(const char* framebuffer, double until) {
    const int fd = open(framebuffer, O_RDONLY | O_CLOEXEC);
    struct stat status {};
    if (fd < 0 || fstat(fd, &status) != 0) {
        std::perror(framebuffer);
        return 1;
    }
    const auto size = static_cast<size_t>(status.st_size);
    // Shared with the X server: its drawing shows here at once.
    const auto* file =
        static_cast<const unsigned char*>(mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0));
    if (file == MAP_FAILED || size < 100) {
        std::fprintf(stderr, "%s: not a screen\n", framebuffer);
        return 1;
    }
    // An XWD header (header_size, ..., ncolors as the 20th word), colours, then the pixels.
    const size_t pixels = bigEndian(file) + size_t{bigEndian(file + 19 * 4)} * 12;
    if (pixels >= size) {
        std::fprintf(stderr, "%s: not a screen\n", framebuffer);
        return 1;
    }
    std::vector<unsigned char> seen(file + pixels, file + size);
    double lookedAt = wallClock();
    while (lookedAt < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const double now = wallClock();
        if (std::memcmp(seen.data(), file + pixels, seen.size()) != 0) {
            std::memcpy(seen.data(), file + pixels, seen.size());
            std::printf("%.6f %.6f\n", now, now - lookedAt);
        }
        lookedAt = now;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "opus" && argc == 4) return opus(argv[2], argv[3]);
    if (mode == "ticks" && argc == 4) return ticks(argv[2], std::atof(argv[3]));
    std::fprintf(stderr, "usage: %s opus IN OUT | ticks FRAMEBUFFER UNTIL\n", argv[0]);
    return 2;
}
