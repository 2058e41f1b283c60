// Recipes of the eight sound effects. Every one starts and ends in silence, and all but the
// kick click stay well under 0.8 s; the click must be very short because a speed change
// holds the whole game while it plays.
#include "tools/gen-assets/Sounds.h"

#include <cmath>
#include <numbers>

namespace hopla::gen {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

Samples Finish(Samples s, double peak) {
    Normalize(s, peak);
    FadeEnds(s, 0.002, 0.012);
    return s;
}

// Ball lost: a tone that falls away with a slight wobble.
Samples Otita() {
    const double length = 0.70;
    auto fall = Glide(880.0, 110.0, length);
    auto wobbly = [fall](double t) { return fall(t) * (1.0 + 0.03 * std::sin(kTwoPi * 9.0 * t)); };
    Samples s = Tone(length, Wave::Square, wobbly);
    MixInto(s, Tone(length, Wave::Triangle, wobbly), 0.0, 1.5);
    LowPass(s, [](double) { return 2500.0; });
    Shape(s, [length](double t) { return 1.0 - 0.6 * t / length; });
    return Finish(s, 0.55);
}

// Next stage: four rising notes.
Samples Next() {
    const double notes[] = {523.25, 659.26, 783.99, 1046.50};
    const double step = 0.085;
    Samples s;
    for (int i = 0; i < 4; ++i) {
        const double length = i == 3 ? 0.26 : 0.12;
        const double f = notes[i];
        Samples note = Tone(length, Wave::Triangle, [f](double) { return f; });
        MixInto(note, Tone(length, Wave::Square, [f](double) { return f; }), 0.0, 0.25);
        Shape(note, Pluck(0.004, i == 3 ? 0.09 : 0.05));
        MixInto(s, note, i * step);
    }
    LowPass(s, [](double) { return 6000.0; });
    return Finish(s, 0.6);
}

// Breakable block breaks: a few noisy cracks over a dull knock.
Samples Brake() {
    Samples s;
    const double cracks[] = {0.0, 0.035, 0.075, 0.12};
    for (int i = 0; i < 4; ++i) {
        Samples crack = Noise(0.16, 17u + 31u * i);
        const double top = 5000.0 - 900.0 * i;
        LowPass(crack, [top](double t) { return top * std::exp(-t * 12.0) + 400.0; });
        Shape(crack, Pluck(0.002, 0.03));
        MixInto(s, crack, cracks[i], 1.0 - 0.18 * i);
    }
    Samples knock = Tone(0.2, Wave::Sine, Glide(160.0, 70.0, 0.2));
    Shape(knock, Pluck(0.003, 0.05));
    MixInto(s, knock, 0.0, 0.5);
    return Finish(s, 0.7);
}

// Spring: a boing that bends upwards and wobbles.
Samples Jump() {
    const double length = 0.38;
    auto rise = Glide(170.0, 760.0, 0.3);
    auto boing = [rise](double t) { return rise(t) * (1.0 + 0.06 * std::sin(kTwoPi * 14.0 * t)); };
    Samples s = Tone(length, Wave::Sine, boing);
    MixInto(s, Tone(length, Wave::Triangle, boing), 0.0, 0.4);
    Shape(s, Pluck(0.006, 0.14));
    return Finish(s, 0.6);
}

// Caught by a launcher: a low thud.
Samples Kabe() {
    Samples s = Tone(0.22, Wave::Sine, Glide(150.0, 45.0, 0.16));
    Shape(s, Pluck(0.002, 0.06));
    Samples hit = Noise(0.04, 99u);
    LowPass(hit, [](double) { return 900.0; });
    Shape(hit, Pluck(0.001, 0.008));
    MixInto(s, hit, 0.0, 1.2);
    return Finish(s, 0.8);
}

// Kick, click, typewriter key: a very short tick.
Samples Keri() {
    Samples s = Noise(0.05, 7u);
    BandPass(
        s, [](double) { return 3200.0; }, 0.6);
    Shape(s, Pluck(0.0005, 0.006));
    Samples ping = Tone(0.05, Wave::Sine, [](double) { return 1900.0; });
    Shape(ping, Pluck(0.0005, 0.01));
    MixInto(s, ping, 0.0, 0.35);
    return Finish(s, 0.6);
}

// A flight braked: a quick high swoosh of air.
Samples Hijump() {
    const double length = 0.30;
    Samples s = Noise(length, 4242u);
    BandPass(
        s, [](double t) { return 2200.0 + 5000.0 * std::sin(std::numbers::pi * t / 0.3); }, 0.35);
    Shape(s, [length](double t) {
        const double x = t / length;
        return std::pow(std::sin(std::numbers::pi * x), 2.0) * (1.0 - 0.5 * x);
    });
    return Finish(s, 0.5);
}

// Bounce: a short soft blip.
Samples Junp() {
    Samples s = Tone(0.075, Wave::Sine, Glide(500.0, 760.0, 0.05));
    MixInto(s, Tone(0.075, Wave::Triangle, Glide(500.0, 760.0, 0.05)), 0.0, 0.2);
    Shape(s, Pluck(0.004, 0.025));
    return Finish(s, 0.4);
}

}  // namespace

std::vector<NamedSound> MakeSounds() {
    return {{"otita.wav", Otita()},   {"next.wav", Next()}, {"brake.wav", Brake()},
            {"jump.wav", Jump()},     {"kabe.wav", Kabe()}, {"keri.wav", Keri()},
            {"hijump.wav", Hijump()}, {"junp.wav", Junp()}};
}

}  // namespace hopla::gen
