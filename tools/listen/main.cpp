// Listens to what a sound server plays, for the tests and the benchmark that check when a sound
// reaches it. Samples are 16-bit little-endian mono at 44100 Hz, as recorded by
//   parec --raw --format=s16le --rate=44100 --channels=1 --latency-msec=10 -d SINK.monitor
//
//   quillon-listen record FILE
//       Copies the samples from standard input to FILE, and keeps in FILE.start the wall-clock
//       time of the first sample. Each read bounds that time from above (the newest sample
//       cannot have sounded later than it was read), and the lowest bound is kept: so times
//       derived from it err late by the delivery delay, never early.
//   quillon-listen sounds FILE [FROM [TO]]
//       Prints "START END" in seconds since the epoch for each sound between FROM and TO: a
//       sound starts with the first sample louder than 1000 and ends with its last loud sample
//       before a quarter of a second without one.
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr double kRate = 44100;
constexpr int kLoud = 1000;
constexpr double kQuietGapSeconds = 0.25;

double wallClock() {
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

// Replaced whole, so a reader never sees half a number.
void writeStart(const std::string& file, double start) {
    const std::string part = file + ".start.part";
    std::FILE* out = std::fopen(part.c_str(), "w");
    if (out == nullptr) return;
    std::fprintf(out, "%.6f\n", start);
    std::fclose(out);
    std::rename(part.c_str(), (file + ".start").c_str());
}

int record(const std::string& file) {
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (out == nullptr) {
        std::perror(file.c_str());
        return 1;
    }
    std::vector<char> buffer(4096);
    uint64_t bytes = 0;
    double start = std::numeric_limits<double>::infinity();
    for (;;) {
        const ssize_t got = read(STDIN_FILENO, buffer.data(), buffer.size());
        if (got <= 0) break;
        const double readAt = wallClock();
        bytes += static_cast<uint64_t>(got);
        std::fwrite(buffer.data(), 1, static_cast<size_t>(got), out);
        std::fflush(out);
        const double bound = readAt - static_cast<double>(bytes / 2) / kRate;
        if (bound < start) {
            start = bound;
            writeStart(file, start);
        }
    }
    std::fclose(out);
    return 0;
}

int sounds(const std::string& file, double from, double to) {
    std::ifstream startFile(file + ".start");
    double start = 0;
    if (!(startFile >> start)) {
        std::fprintf(stderr, "%s.start: no start time\n", file.c_str());
        return 1;
    }
    std::ifstream in(file, std::ios::binary);
    const auto first = static_cast<int64_t>(std::max(0.0, std::ceil((from - start) * kRate)));
    in.seekg(first * 2);
    const auto quietGap = static_cast<int64_t>(kQuietGapSeconds * kRate);
    int64_t soundStart = -1;
    int64_t lastLoud = -1;
    const auto print = [&] {
        std::printf("%.3f %.3f\n", start + static_cast<double>(soundStart) / kRate,
                    start + static_cast<double>(lastLoud) / kRate);
    };
    unsigned char pair[2];
    for (int64_t i = first; in.read(reinterpret_cast<char*>(pair), 2); ++i) {
        if (start + static_cast<double>(i) / kRate > to) break;
        const int sample = static_cast<int16_t>(pair[0] | pair[1] << 8);
        if (std::abs(sample) <= kLoud) {
            if (soundStart >= 0 && i - lastLoud >= quietGap) {
                print();
                soundStart = -1;
            }
            continue;
        }
        if (soundStart < 0) soundStart = i;
        lastLoud = i;
    }
    if (soundStart >= 0) print();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "record" && argc == 3) return record(argv[2]);
    if (mode == "sounds" && argc >= 3 && argc <= 5)
        return sounds(argv[2], argc > 3 ? std::atof(argv[3]) : 0,
                      argc > 4 ? std::atof(argv[4]) : std::numeric_limits<double>::infinity());
    std::fprintf(stderr, "usage: %s record FILE | sounds FILE [FROM [TO]]\n", argv[0]);
    return 2;
}
