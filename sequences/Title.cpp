// The title set-up: the first tick after start-up opens the title screen.
#include "sequences/Title.h"

namespace hopla {

void Timer2_Timer(Form1& form, GameState& s) {
    form.Display.setBackColor(kBlack);  // clears Display too

    // The launcher's cell (code 4) gets a dark 3-pixel column on each side; every later
    // drawing of the tile shows them.
    constexpr Color kLauncherEdge = Rgb(10, 10, 10);
    form.Chip.fillBox(120, 0, 122, 39, kLauncherEdge);
    form.Chip.fillBox(157, 0, 159, 39, kLauncherEdge);

    form.Label1.setVisible(true);
    form.Label1.setTop(260);
    form.Label1.setLeft(335);
    form.Label1.setCaption("１９９９.１１.７");
    form.Label2.setVisible(true);
    form.Label2.setTop(295);
    form.Label2.setLeft(355);
    form.Label2.setCaption("Ｓｏｒａｍｉ");

    // The banner types the title word; starting from -4 it holds these captions for 2.5 s.
    s.TypingRow = 0;
    s.Tick = -4;
    form.Timer2.setInterval(0);
    form.Timer6.setInterval(500);
}

}  // namespace hopla
