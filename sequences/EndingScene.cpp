// The ending's pictures: the dissolve to black, the reveal of the landscape and the ball run.
#include "sequences/EndingSteps.h"

#include "form/Sound.h"
#include "stage/Trail.h"

namespace hopla {
namespace {

constexpr int kCell = 32;       // ending cells are 32 x 32; 25 x 19 of them cover 800 x 608
constexpr int kCellTicks = 19;  // 25 cells per tick
constexpr int kSceneRows = 19;
constexpr int kSceneColumns = 25;

// The landscape: sky, the horizon row the ball bounces on (its cells start at y = 384), ground.
const char* SceneRow(int row) {
    if (row <= 11) return "0000000000000000000000000";
    if (row == 12) return "2222222222222222222222222";
    return "1111111111111111111111111";
}

// Indices taken from the record are checked: a record set from outside (hopla-sim) that sends
// them out of their tables stops the game instead of reading past them.
int CellColumn(const GameState& s, int i, int t) {
    return s.CellOrderX.at(i).at(t);
}
int CellRow(const GameState& s, int i, int t) {
    return s.CellOrderY.at(i).at(t);
}

// From here on stage 0's map is the landscape.
void LoadEndingScene(GameState& s) {
    for (int row = 0; row < kSceneRows; ++row) s.StageMap[0][row] = SceneRow(row);
    for (s.Tick = 0; s.Tick < kSceneRows; ++s.Tick)
        for (s.LoopX = 0; s.LoopX < kSceneColumns; ++s.LoopX)
            s.TileGrid[s.LoopX][s.Tick] =
                static_cast<std::int16_t>(s.StageMap[0][s.Tick][s.LoopX] - '0');
}

}  // namespace

void EndingDissolveTick(Form1& form, GameState& s) {
    form.Etimer.setInterval(200);
    Play(form, s, "keri.wav", SoundMode::NoWait);
    // Display's pen width 3 makes each box 35 x 35, overlapping its neighbours by a pixel.
    for (s.LoopX = 0; s.LoopX < kSceneColumns; ++s.LoopX) {
        const int c = CellColumn(s, s.LoopX, s.Tick), r = CellRow(s, s.LoopX, s.Tick);
        form.Display.fillBox(kCell * c, kCell * r, kCell * c + kCell, kCell * r + kCell, kBlack);
        if (s.Tick != kCellTicks - 1) {
            const int cn = CellColumn(s, s.LoopX, s.Tick + 1);
            const int rn = CellRow(s, s.LoopX, s.Tick + 1);
            form.Display.fillBox(kCell * cn, kCell * rn, kCell * cn + kCell, kCell * rn + kCell,
                                 PaletteColor(8));
        }
    }
    ++s.Tick;
    if (s.Tick == kCellTicks) {
        form.Etimer.setInterval(3000);
        s.EndPhase = kEndReveal;
        LoadEndingScene(s);
        s.Tick = 0;
        // Display has no background picture yet, so Back clears to plain black.
        form.Back.setBackgroundPicture(form.Display.backgroundPicture());
    }
}

void EndingRevealTick(Form1& form, GameState& s) {
    form.Etimer.setInterval(100);
    for (s.LoopX = 0; s.LoopX < kSceneColumns; ++s.LoopX) {
        const int c = CellColumn(s, s.LoopX, s.Tick), r = CellRow(s, s.LoopX, s.Tick);
        const int k = s.TileGrid.at(c).at(r);
        Picture::Copy(form.Back, kCell * c, kCell * r, kCell, kCell, form.EndChip, kCell * k, 0);
        if (s.Tick != kCellTicks - 1) {
            const int cn = CellColumn(s, s.LoopX, s.Tick + 1);
            const int rn = CellRow(s, s.LoopX, s.Tick + 1);
            form.Back.fillBox(kCell * cn, kCell * rn, kCell * cn + kCell - 1,
                              kCell * rn + kCell - 1, PaletteColor(15));
        }
    }
    Picture::Copy(form.Display, 0, 0, kScreenWidth, kScreenHeight, form.Back, 0, 0);
    ++s.Tick;
    if (s.Tick == kCellTicks) {
        form.Label1.setVisible(false);
        form.Label2.setVisible(false);
        form.Display.setBackgroundPicture(form.Back.snapshot());
        form.Etimer.setInterval(2000);
        s.EndPhase = kEndBallRun;
        for (s.LoopX = 0; s.LoopX <= 3; ++s.LoopX) {
            s.TrailX[s.LoopX] = 0;
            s.TrailY[s.LoopX] = 350;
        }
        s.SpeedX = 8.0f;
        s.SpeedY = 3;
        s.BallColor = 15;
    }
}

void EndingBallRunTick(Form1& form, GameState& s) {
    form.Etimer.setInterval(100);
    Picture::Copy(form.Dark, 0, 0, kScreenWidth, kScreenHeight, form.Back, 0, 0);
    s.SpeedY -= 2;
    if (s.TrailY[0] > 384) {  // below the top of the horizon row: bounce
        s.TrailY[0] = 380;
        s.SpeedY = 7;
    }
    // The head moves before the shift, so points 0 and 1 end up the same point.
    s.TrailX[0] += s.SpeedX;
    s.TrailY[0] -= 2 * s.SpeedY;
    ShiftTrail(s);
    for (s.LoopX = 0; s.LoopX <= 2; ++s.LoopX)
        form.Dark.line(s.TrailX[s.LoopX + 1], s.TrailY[s.LoopX + 1], s.TrailX[s.LoopX],
                       s.TrailY[s.LoopX], PaletteColor(s.BallColor));
    Picture::Copy(form.Display, 0, 0, kScreenWidth, kScreenHeight, form.Dark, 0, 0);

    if (s.TrailX[3] > 800) {
        s.TypingSteps[0][0] = "Thank you for playing.";
        form.Display.setBackgroundPicture(form.Back.snapshot());  // the scene without the ball
        form.Label1.setWidth(400);
        form.Label1.setTransparent(true);
        form.Label1.setForeColor(PaletteColor(15));
        form.Label1.setCaption("");
        form.Label1.setLeft(280);
        form.Label1.setTop(200);
        form.Label1.setVisible(true);
        s.EndPhase = kEndFirstMessage;
        form.Etimer.setInterval(3000);
        s.Tick = 1;
    }
}

}  // namespace hopla
