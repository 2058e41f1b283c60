// Form_KeyDown, Form_KeyUp and Display_MouseDown: steering, launching, braking, speed.
#include "play/Input.h"

#include "form/Sound.h"
#include "stage/Progression.h"
#include "stage/Render.h"
#include "stage/StageTable.h"

namespace hopla {

namespace {

// Space in play: back to the title stage through the introduction.
void ReturnToTitle(Form1& form, GameState& s) {
    Stop(form, SoundMode::Wait);
    Play(form, s, "next.wav", SoundMode::NoWait);
    s.StageNo = kTitleStage;
    LoadStageGrid(s, kTitleStage);
    s.BallState = kBallToTitle;
    ParkBallAtStart(form, s, kTitleStage);
    StartIntroduction(form, s);
}

// Normal play: a kick off the wall just touched, then the push of the key, clamped to 10.
void Steer(Form1& form, GameState& s, int key) {
    if (key == kVkLeft && s.WallHitSpeed > 0) {
        s.SpeedX = -10;
        s.SpeedY = 10;
        Play(form, s, "keri.wav", SoundMode::NoWait);
    }
    if (key == kVkRight && s.WallHitSpeed < 0) {
        s.SpeedX = 10;
        s.SpeedY = 10;
        Play(form, s, "keri.wav", SoundMode::NoWait);
    }
    s.SpeedX = static_cast<float>(s.SpeedX + 1.7 * KeyDirectionOf(s, key));
    s.HeldKey = static_cast<std::int16_t>(key);
    if (s.SpeedX > 10) s.SpeedX = 10;
    if (s.SpeedX < -10) s.SpeedX = -10;
}

// Caught on a launcher: shoot out sideways from the edge of the launcher cell.
void Launch(Form1& form, GameState& s, int key) {
    const int direction = KeyDirectionOf(s, key);
    Play(form, s, "jump.wav", SoundMode::NoWait);
    s.SpeedX = static_cast<float>(30 * direction);
    s.BallState = kBallLaunched;
    s.SpeedY = 0;
    for (int i = 0; i <= 3; ++i) {
        s.TrailY[i] = s.LauncherY;
        s.TrailX[i] = s.LauncherX + 20 * direction;
    }
    form.Timer3.setInterval(s.BallInterval);
    s.BallColor = 15;
}

// In flight: the arrow against the flight ends it at 12 pixels per tick onwards.
void Brake(Form1& form, GameState& s, int key) {
    const int direction = KeyDirectionOf(s, key);
    if (direction * s.SpeedX >= 0) return;
    Play(form, s, "hijump.wav", SoundMode::NoWait);
    s.SpeedX = static_cast<float>(-12 * direction);
    s.BallState = kBallInPlay;
    form.Timer3.setInterval(0);
    form.Timer1.setInterval(s.BallInterval);
}

}  // namespace

void Form_KeyDown(Form1& form, GameState& s, int keyCode, int) {
    if (keyCode == kVkSpace && form.Timer1.running()) ReturnToTitle(form, s);
    const bool arrow = keyCode == kVkLeft || keyCode == kVkRight;
    switch (s.BallState) {
        case kBallInPlay:
            Steer(form, s, keyCode);
            break;
        case kBallCaught:
            if (arrow) Launch(form, s, keyCode);
            break;
        case kBallLaunched:
            if (arrow) Brake(form, s, keyCode);
            break;
        default:  // on the way to the title stage or to game over
            break;
    }
}

void Form_KeyUp(Form1&, GameState& s, int, int) {
    s.HeldKey = 0;
}

void Display_MouseDown(Form1& form, GameState& s, int button, int, float, float) {
    if (s.EndPhase == 10) {  // the ending is over: any press closes the game
        form.End();
        return;
    }
    if (!form.Timer1.running()) return;
    // The game stands still while keri.wav plays; Timer1 restarts its count afterwards.
    if (button == 1 && s.BallInterval > 15) {
        s.BallInterval -= 15;
        Play(form, s, "keri.wav", SoundMode::Wait);
        form.Timer1.setInterval(s.BallInterval);
    } else if (button == 2 && s.BallInterval + 15 <= kSlowestInterval) {
        s.BallInterval += 15;
        Play(form, s, "keri.wav", SoundMode::Wait);
        form.Timer1.setInterval(s.BallInterval);
    }
}

}  // namespace hopla
