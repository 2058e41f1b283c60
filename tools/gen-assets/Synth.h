// Small sound synthesis kit for the game's effects: oscillators, noise, filters, envelopes.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace hopla::gen {

inline constexpr int kSampleRate = 44100;

// Mono samples in [-1, 1] at kSampleRate.
using Samples = std::vector<float>;

enum class Wave { Sine, Triangle, Square };

int SampleCount(double seconds);

// A phase-continuous tone whose frequency (Hz) is given as a function of time (s).
Samples Tone(double seconds, Wave wave, const std::function<double(double)>& frequency);
// White noise from a fixed seed: the same seed always gives the same samples.
Samples Noise(double seconds, std::uint32_t seed);

// Exponential glide from f0 to f1 over the given time, then held at f1.
std::function<double(double)> Glide(double f0, double f1, double seconds);

// One-pole low-pass whose cut-off (Hz) may change over time.
void LowPass(Samples& s, const std::function<double(double)>& cutoff);
// State-variable band-pass with a moving centre (Hz) and fixed damping (lower is narrower).
void BandPass(Samples& s, const std::function<double(double)>& centre, double damping);

// Multiplies by gain(t).
void Shape(Samples& s, const std::function<double(double)>& gain);
// Attack then exponential decay with the given time constant.
std::function<double(double)> Pluck(double attack, double decay);
// Raised-cosine fades at both ends, so the sound starts and ends at zero without a click.
void FadeEnds(Samples& s, double fadeIn, double fadeOut);

// Adds `add` scaled by gain, starting at the given time; `into` grows as needed.
void MixInto(Samples& into, const Samples& add, double at, double gain = 1.0);
// Scales so the loudest sample has magnitude `peak`.
void Normalize(Samples& s, double peak);

}  // namespace hopla::gen
