// The banner: the title word or "Game Over" typed into Label1, then play on the title stage.
#include "sequences/Banner.h"

#include "form/Sound.h"
#include "stage/Render.h"

namespace hopla {

void Timer6_Timer(Form1& form, GameState& s) {
    ++s.Tick;
    if (s.Tick == 1) {  // only reached from the title, which starts at -4
        form.Label1.setCaption("");
        form.Label2.setCaption("");
    }
    if (s.Tick > 3 && s.Tick < 9) {
        form.Label1.setLeft(355);
        form.Label2.setCaption("");
        form.Timer6.setInterval(340);
        // Checked: a TypingRow set from outside the game stops here, not past the table.
        form.Label1.setCaption(s.TypingSteps.at(s.TypingRow).at(s.Tick - 4));
        Play(form, s, "keri.wav", SoundMode::NoWait);
    }
    if (s.Tick == 14) form.Label1.setCaption("");
    if (s.Tick == 16) {
        // MakeScreen counts its rows in Tick, so the count ends here; starters set it anew.
        form.Timer6.setInterval(0);
        MakeScreen(form, s);
        form.Timer1.setInterval(s.BallInterval);
    }
}

}  // namespace hopla
