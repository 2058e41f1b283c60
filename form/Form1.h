// The game's one window and its elements: pictures, labels, timers, the sound device.
#pragma once

#include <array>

#include "form/Playfield.h"
#include "toolkit/Clock.h"
#include "toolkit/Label.h"
#include "toolkit/Picture.h"
#include "toolkit/Sound.h"
#include "toolkit/Text.h"
#include "toolkit/Timer.h"

namespace hopla {

// Created once by Game for whoever runs the game (the SDL frontend or the headless runner),
// which lends it a clock, a sound device and a text renderer for the window's lifetime.
// Handlers receive it by reference together with the game state record.
class Form1 {
  public:
    Form1(const Clock& clock, SoundDevice& sound, const TextRenderer* text);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    Picture Display;  // the visible playfield; the only picture taking mouse presses
    Picture Back;     // back buffer: the stage without the ball
    Picture Dark;     // frame composition: Back plus the ball
    Picture Chip;     // tile sheet
    Picture EndChip;  // ending sheet
    Label Label1;
    Label Label2;

    Scheduler Timers;
    Timer Timer1;  // ball motion
    Timer Timer2;  // title set-up
    Timer Timer3;  // launched flight
    Timer Timer4;  // stage introduction
    Timer Timer5;  // stage loading
    Timer Timer6;  // banner
    Timer Etimer;  // ending

    SoundDevice& Sound;

    // Every timer, in the order they were made: the scheduler's order for ties.
    static constexpr std::array<Timer Form1::*, 7> kTimers = {
        &Form1::Timer1, &Form1::Timer2, &Form1::Timer3, &Form1::Timer4,
        &Form1::Timer5, &Form1::Timer6, &Form1::Etimer};

    // "End at once": the handler that asks returns at once and no handler runs after it; the
    // runner then closes the window and exits normally.
    void End() { ended_ = true; }
    bool ended() const { return ended_; }

    // Every element as a value: pictures, labels, timers and whether the application ended.
    // Game's save and restore use it between handlers; the clock and the sound device are
    // the runner's. Only this form can go back to a state it saved (std::invalid_argument).
    struct State {
        Picture::State display, back, dark, chip, endChip;
        Label::State label1, label2;
        Scheduler::State timers;
        bool ended = false;
    };
    State save() const;
    void restore(const State& state);

  private:
    bool ended_ = false;
};

}  // namespace hopla
