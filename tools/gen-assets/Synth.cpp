// Oscillators, deterministic noise, filters and envelopes for the generated sounds.
#include "tools/gen-assets/Synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace hopla::gen {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

double TimeOf(std::size_t i) {
    return static_cast<double>(i) / kSampleRate;
}

}  // namespace

int SampleCount(double seconds) {
    return static_cast<int>(std::lround(seconds * kSampleRate));
}

Samples Tone(double seconds, Wave wave, const std::function<double(double)>& frequency) {
    Samples out(SampleCount(seconds));
    double phase = 0.0;  // in cycles, 0..1
    for (std::size_t i = 0; i < out.size(); ++i) {
        double value = 0.0;
        switch (wave) {
            case Wave::Sine:
                value = std::sin(kTwoPi * phase);
                break;
            case Wave::Triangle:
                value = 1.0 - 4.0 * std::abs(phase - 0.5);
                break;
            case Wave::Square:
                value = phase < 0.5 ? 1.0 : -1.0;
                break;
        }
        out[i] = static_cast<float>(value);
        phase += frequency(TimeOf(i)) / kSampleRate;
        phase -= std::floor(phase);
    }
    return out;
}

Samples Noise(double seconds, std::uint32_t seed) {
    Samples out(SampleCount(seconds));
    std::uint32_t state = seed ? seed : 1u;
    for (float& sample : out) {
        // xorshift32: fixed arithmetic, so the files come out identical on every machine.
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        sample = static_cast<float>((state >> 8) / 8388608.0 - 1.0);
    }
    return out;
}

std::function<double(double)> Glide(double f0, double f1, double seconds) {
    return [=](double t) { return f0 * std::pow(f1 / f0, std::min(t / seconds, 1.0)); };
}

void LowPass(Samples& s, const std::function<double(double)>& cutoff) {
    double state = 0.0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double a = 1.0 - std::exp(-kTwoPi * cutoff(TimeOf(i)) / kSampleRate);
        state += a * (s[i] - state);
        s[i] = static_cast<float>(state);
    }
}

void BandPass(Samples& s, const std::function<double(double)>& centre, double damping) {
    double low = 0.0, band = 0.0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double f = 2.0 * std::sin(std::numbers::pi * centre(TimeOf(i)) / kSampleRate);
        const double high = s[i] - low - damping * band;
        band += f * high;
        low += f * band;
        s[i] = static_cast<float>(band);
    }
}

void Shape(Samples& s, const std::function<double(double)>& gain) {
    for (std::size_t i = 0; i < s.size(); ++i) s[i] = static_cast<float>(s[i] * gain(TimeOf(i)));
}

std::function<double(double)> Pluck(double attack, double decay) {
    return [=](double t) { return t < attack ? t / attack : std::exp(-(t - attack) / decay); };
}

void FadeEnds(Samples& s, double fadeIn, double fadeOut) {
    const std::size_t in = std::min<std::size_t>(SampleCount(fadeIn), s.size());
    const std::size_t out = std::min<std::size_t>(SampleCount(fadeOut), s.size());
    for (std::size_t i = 0; i < in; ++i)
        s[i] *= static_cast<float>(0.5 - 0.5 * std::cos(std::numbers::pi * i / in));
    for (std::size_t i = 0; i < out; ++i) {
        const std::size_t k = s.size() - 1 - i;  // i samples from the end
        s[k] *= static_cast<float>(0.5 - 0.5 * std::cos(std::numbers::pi * i / out));
    }
}

void MixInto(Samples& into, const Samples& add, double at, double gain) {
    const std::size_t start = SampleCount(at);
    if (into.size() < start + add.size()) into.resize(start + add.size(), 0.0f);
    for (std::size_t i = 0; i < add.size(); ++i)
        into[start + i] += static_cast<float>(add[i] * gain);
}

void Normalize(Samples& s, double peak) {
    float loudest = 0.0f;
    for (float v : s) loudest = std::max(loudest, std::abs(v));
    if (loudest == 0.0f) return;
    const double scale = peak / loudest;
    for (float& v : s) v = static_cast<float>(v * scale);
}

}  // namespace hopla::gen
