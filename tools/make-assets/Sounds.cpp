#include "Sounds.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

struct Partial {
    double ratio;  // to the note's frequency
    double level;
    double decayTime;  // seconds to fall to 1/e
};

// Adds one struck note: partials with their own decays, behind a short attack so it does not click.
void strike(std::vector<double>& mix, double start, double frequency, double gain,
            const std::vector<Partial>& partials, double attack) {
    const size_t first = static_cast<size_t>(start * kSampleRate);
    for (size_t i = first; i < mix.size(); ++i) {
        const double t = (i - first) / double(kSampleRate);
        const double rise = t < attack ? std::sin(std::numbers::pi / 2 * t / attack) : 1.0;
        double sample = 0;
        for (const Partial& p : partials) {
            // Anything above half the sample rate would fold back as a harsh off-key tone.
            if (frequency * p.ratio > kSampleRate * 0.45) continue;
            sample += p.level * std::exp(-t / p.decayTime) *
                      std::sin(2 * std::numbers::pi * frequency * p.ratio * t);
        }
        mix[i] += gain * rise * sample;
    }
}

// Scales to the given peak and fades the last part to silence, then rounds to 16 bits.
std::vector<int16_t> finish(std::vector<double> mix, double peak, double fadeOut) {
    const size_t fade = static_cast<size_t>(fadeOut * kSampleRate);
    for (size_t i = 0; i < fade && i < mix.size(); ++i) {
        const double left = i / double(fade);
        mix[mix.size() - 1 - i] *= left * left;
    }
    double loudest = 0;
    for (const double s : mix) loudest = std::max(loudest, std::abs(s));
    std::vector<int16_t> samples;
    samples.reserve(mix.size());
    for (const double s : mix)
        samples.push_back(static_cast<int16_t>(std::lround(s / loudest * peak * 32767)));
    return samples;
}

double note(int semitonesFromA4) { return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0); }

}  // namespace

std::vector<int16_t> synthAlarm() {
    // A glockenspiel-like timbre: a strong fundamental and a quickly fading bright overtone.
    const std::vector<Partial> chime = {
        {1.0, 1.0, 0.55}, {2.0, 0.25, 0.25}, {3.0, 0.12, 0.12}, {5.4, 0.10, 0.05}};
    // C6 E6 G6 C7, answered by G6 A6 G6 C7 held.
    const struct {
        double at;
        int pitch;
    } tune[] = {{0.00, 3},  {0.18, 7},  {0.36, 10}, {0.54, 15},
                {0.90, 10}, {1.08, 12}, {1.26, 10}, {1.44, 15}};
    std::vector<double> mix(static_cast<size_t>(2.6 * kSampleRate), 0.0);
    for (const auto& n : tune) strike(mix, n.at, note(n.pitch + 12), 1.0, chime, 0.004);
    return finish(std::move(mix), 0.8, 0.4);
}

std::vector<int16_t> synthChime() {
    // A small bell: hum, prime, minor third, fifth and nominal, slightly stretched as real bells
    // are; the higher partials die away first. The prime's close twin makes it shimmer.
    const std::vector<Partial> bell = {{0.5, 0.45, 0.9},   {1.0, 0.6, 0.6},    {1.006, 0.3, 0.6},
                                       {1.19, 0.45, 0.45}, {1.51, 0.3, 0.35},  {2.01, 0.55, 0.3},
                                       {2.53, 0.2, 0.18},  {2.98, 0.18, 0.14}, {4.07, 0.1, 0.08}};
    std::vector<double> mix(static_cast<size_t>(1.6 * kSampleRate), 0.0);
    strike(mix, 0.0, 440.0, 1.0, bell, 0.003);
    return finish(std::move(mix), 0.8, 0.3);
}

std::vector<int16_t> synthDefault() {
    // A soft sine-like tone with a faint octave, quickly dying away.
    const std::vector<Partial> ding = {{1.0, 1.0, 0.09}, {2.0, 0.15, 0.05}};
    std::vector<double> mix(static_cast<size_t>(0.3 * kSampleRate), 0.0);
    strike(mix, 0.0, note(3 + 12), 1.0, ding, 0.005);
    return finish(std::move(mix), 0.5, 0.08);
}
