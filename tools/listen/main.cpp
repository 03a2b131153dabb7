// Listens to what a sound server plays, for the tests and the benchmark that check when a sound
// reaches it. Samples are 16-bit little-endian mono at 44100 Hz, as recorded by
//   parec --raw --format=s16le --rate=44100 --channels=1 --latency-msec=10 -d SINK.monitor
//
//   quillon-listen record FILE
//       Copies the samples from standard input to FILE, and keeps in FILE.reads the wall-clock
//       time of each read with the number of samples read by then.
//   quillon-listen sounds FILE [FROM [TO]]
//       Prints "START END" in seconds since the epoch for each sound between FROM and TO: a
//       sound starts with the first sample louder than 1000 and ends with its last loud sample
//       before a quarter of a second without one.
//
// A sound's start is placed by the read that brought it: the newest sample of a read cannot
// have sounded later than it was read, and the ones before it sounded one sample time apart. So
// a start errs late by the delivery delay of one read, never early, even when the server drops
// or inserts samples elsewhere in the recording (PipeWire does when streams come and go). Its
// end is placed by counting samples from the start, so its length is what was heard whatever
// the delays of the reads.
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

int record(const std::string& file) {
    std::FILE* out = std::fopen(file.c_str(), "wb");
    std::FILE* reads = std::fopen((file + ".reads").c_str(), "w");
    if (out == nullptr || reads == nullptr) {
        std::perror(file.c_str());
        return 1;
    }
    std::vector<char> buffer(4096);
    uint64_t bytes = 0;
    for (;;) {
        const ssize_t got = read(STDIN_FILENO, buffer.data(), buffer.size());
        if (got <= 0) break;
        const double readAt = wallClock();
        bytes += static_cast<uint64_t>(got);
        std::fwrite(buffer.data(), 1, static_cast<size_t>(got), out);
        std::fflush(out);
        // Whole samples only; the samples file is written first, so a reader never finds a
        // read whose samples are not there yet.
        std::fprintf(reads, "%.6f %llu\n", readAt, static_cast<unsigned long long>(bytes / 2));
        std::fflush(reads);
    }
    std::fclose(out);
    std::fclose(reads);
    return 0;
}

struct Read {
    double at;
    int64_t samples;  // read by then
};

std::vector<Read> readsOf(const std::string& file) {
    std::vector<Read> reads;
    std::ifstream in(file + ".reads");
    Read read{};
    long long samples = 0;
    while (in >> read.at >> samples) {
        read.samples = samples;
        if (reads.empty() || read.samples > reads.back().samples) reads.push_back(read);
    }
    return reads;
}

int sounds(const std::string& file, double from, double to) {
    const std::vector<Read> reads = readsOf(file);
    if (reads.empty()) {
        std::fprintf(stderr, "%s.reads: nothing recorded\n", file.c_str());
        return 1;
    }
    std::ifstream in(file, std::ios::binary);
    const auto quietGap = static_cast<int64_t>(kQuietGapSeconds * kRate);
    double soundStart = -1;
    int64_t soundStartSample = -1;
    int64_t lastLoudSample = -1;
    const auto print = [&] {
        std::printf("%.3f %.3f\n", soundStart,
                    soundStart + static_cast<double>(lastLoudSample - soundStartSample) / kRate);
    };
    size_t read = 0;
    unsigned char pair[2];
    for (int64_t i = 0; in.read(reinterpret_cast<char*>(pair), 2); ++i) {
        while (read < reads.size() && reads[read].samples <= i) ++read;
        if (read == reads.size()) break;
        const double at = reads[read].at - static_cast<double>(reads[read].samples - 1 - i) / kRate;
        if (at < from) continue;
        if (at > to) break;
        const int sample = static_cast<int16_t>(pair[0] | pair[1] << 8);
        if (std::abs(sample) <= kLoud) {
            if (soundStart >= 0 && i - lastLoudSample >= quietGap) {
                print();
                soundStart = -1;
            }
            continue;
        }
        if (soundStart < 0) {
            soundStart = at;
            soundStartSample = i;
        }
        lastLoudSample = i;
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
