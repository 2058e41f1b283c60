// The ending's typed messages and the final screen with the score and its code.
#include <algorithm>
#include <array>
#include <string>

#include "form/Sound.h"
#include "sequences/EndingSteps.h"
#include "sequences/Score.h"

namespace hopla {
namespace {

// One typed message. The message itself is in TypingSteps(0, 0), put there by the step before;
// `next` is what this step leaves there for the one after.
struct MessageStep {
    int left;                   // Label1's left edge
    int length;                 // characters of the message
    std::array<int, 4> silent;  // ticks whose new character is a space: no click (0: none)
    int pause;                  // ms the complete message stays before the next step
    const char* next;
};

// Steps 3..7.
const std::array<MessageStep, 5> kMessageSteps = {{
    {280, 22, {6, 10, 14}, 3000, "You are great Hopla player."},  // "Thank you for playing."
    {260, 27, {4, 8, 14, 20}, 3000, "See you again."},
    {345, 14, {4, 8}, 3000, "Sorami (ZEV)"},
    {345, 12, {7}, 3000, "The end"},
    {365, 7, {4}, 7000, nullptr},  // typed ever slower
}};

constexpr int kCharacterPeriod = 160;

}  // namespace

void EndingMessageTick(Form1& form, GameState& s, int step) {
    const MessageStep& m = kMessageSteps[step - kEndFirstMessage];
    // "The end": 80 x Tick + 160 ms, so its gaps grow from 240 to 640 ms.
    form.Etimer.setInterval(step == kEndLastMessage ? 80 * s.Tick + kCharacterPeriod
                                                    : kCharacterPeriod);
    form.Label1.setCaption(s.TypingSteps[0][0].substr(0, static_cast<std::size_t>(s.Tick)));
    form.Label1.setLeft(m.left);
    if (std::find(m.silent.begin(), m.silent.end(), s.Tick) == m.silent.end())
        Play(form, s, "keri.wav", SoundMode::NoWait);
    ++s.Tick;
    if (s.Tick == m.length + 1) {
        form.Etimer.setInterval(m.pause);
        s.EndPhase = step + 1;
        s.Tick = 1;
        if (m.next) s.TypingSteps[0][0] = m.next;
    }
}

void EndingFinalScreen(Form1& form, GameState& s) {
    SumScore(s);
    if (s.Score < 10000) s.ScoreCode = ScoreCodeOf(s.Score);
    form.Label1.setVisible(false);
    // In Display's text settings as the last stage introduction left them.
    form.Display.setCurrentX(345);
    form.Display.setCurrentY(240);
    form.Display.print("Score  " + std::to_string(s.Score));
    form.Display.setCurrentX(345);
    form.Display.setCurrentY(300);
    form.Display.print("ﾊﾟｽﾜｰﾄﾞ   " + s.ScoreCode);
    s.EndPhase = kEndOver;
    form.Etimer.setInterval(0);
}

}  // namespace hopla
