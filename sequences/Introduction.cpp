// The stage introduction: a band wipe over Display, then the hand-over to what comes next.
#include "sequences/Introduction.h"

#include <string>

#include "sequences/Score.h"

namespace hopla {
namespace {

constexpr int kLastWipeTick = 50;

// "Stage   7" or "stage  12": both nine characters wide.
std::string StageCaption(int stageNo) {
    return (stageNo < 10 ? "Stage   " : "stage  ") + std::to_string(stageNo);
}

// The captions and the score line of an ordinary stage start, left on Display while Timer5
// loads the stage; the first full frame paints over them.
void ShowStageCaptions(Form1& form, GameState& s) {
    form.Label1.setCaption(StageCaption(s.StageNo));
    form.Label1.setLeft(345);
    form.Label1.setTop(260);
    form.Label1.setVisible(true);
    form.Label2.setCaption(std::to_string(s.BallsLeft) + "  Hopla");
    form.Label2.setLeft(345);
    form.Label2.setTop(297);
    form.Label2.setVisible(true);

    // These text settings stay in force for the final screen of the ending as well.
    form.Display.setForeColor(PaletteColor(15));
    form.Display.setFontSize(18);
    form.Display.setFontBold(true);

    SumScore(s);
    form.Display.setCurrentX(345);
    form.Display.setCurrentY(340);
    form.Display.print("Score  " + std::to_string(s.Score));
}

}  // namespace

void Timer4_Timer(Form1& form, GameState& s) {
    // With pen width 3 the box covers rows A - 1 .. A + 13: a 15-pixel band. Entries 41..50 of
    // the order are 0, so the last ten ticks repeat the top band.
    const int a = s.BandOrder.at(s.Tick);  // checked: a Tick set from outside stops here
    form.Display.fillBox(0, a, 800, a + 12, kBlack);

    if (s.Tick == kLastWipeTick) {
        s.Tick = 0;
        form.Timer4.setInterval(0);
        form.Timer5.setInterval(300);
        if (s.BallState == kBallToTitle) {
            // Timer5 then loads the title stage on its 2nd tick instead of its 6th.
            s.Tick = 4;
            s.BallState = kBallInPlay;
            s.BallColor = 15;
            s.TypingRow = 0;
        } else if (s.BallState == kBallGameOver) {
            // No loading: the banner types "Game Over" and resumes play on the title stage.
            s.Tick = 1;
            s.BallState = kBallInPlay;
            form.Timer5.setInterval(0);
            form.Timer6.setInterval(500);
            s.BallColor = 15;
            s.TypingRow = 1;
        } else {
            ShowStageCaptions(form, s);
        }
    }
    // Also on the hand-over tick: Timer5 starts from 1 or 5, Timer6 from 2.
    ++s.Tick;
}

}  // namespace hopla
