// The window's event table: which handler each event and timer tick runs.
//
//   event / timer   handler            file
//   start-up        Form_Load          app/StartUp.cpp
//   KeyDown         Form_KeyDown       play/Input.cpp
//   KeyUp           Form_KeyUp         play/Input.cpp
//   MouseDown       Display_MouseDown  play/Input.cpp
//   Timer1          Timer1_Timer       play/BallTick.cpp     ball motion
//   Timer2          Timer2_Timer       sequences/Title.cpp   title set-up
//   Timer3          Timer3_Timer       play/Flight.cpp       launched flight
//   Timer4          Timer4_Timer       sequences/Introduction.cpp
//   Timer5          Timer5_Timer       stage/StageLoad.cpp   stage loading
//   Timer6          Timer6_Timer       sequences/Banner.cpp  game-over banner
//   Etimer          Etimer_Timer       sequences/Ending.cpp  ending
#include "app/Game.h"

#include <array>
#include <stdexcept>
#include <string>

#include "app/StartUp.h"
#include "form/Form1.h"
#include "form/GameState.h"
#include "play/BallTick.h"
#include "play/Flight.h"
#include "play/Input.h"
#include "sequences/Banner.h"
#include "sequences/Ending.h"
#include "sequences/EndingSteps.h"
#include "sequences/Introduction.h"
#include "sequences/Title.h"
#include "stage/Progression.h"
#include "stage/StageFile.h"
#include "stage/StageLoad.h"

namespace hopla {

// What a snapshot holds.
struct GameSnapshot::Contents {
    Form1::State form;
    GameState state;
    std::uint64_t handlersRun = 0;
};

static_assert(Game::kWidth == kScreenWidth && Game::kHeight == kScreenHeight);

namespace {

using TickHandler = void (*)(Form1&, GameState&);

// Each timer's handler, in the form's order of timers.
constexpr std::array<TickHandler, Form1::kTimers.size()> kTickHandlers = {
    Timer1_Timer, Timer2_Timer, Timer3_Timer, Timer4_Timer,
    Timer5_Timer, Timer6_Timer, Etimer_Timer};

TickHandler HandlerOf(const Form1& form, const Timer& timer) {
    for (std::size_t i = 0; i < Form1::kTimers.size(); ++i)
        if (&(form.*Form1::kTimers[i]) == &timer) return kTickHandlers[i];
    return nullptr;
}

}  // namespace

Game::Game(const Clock& clock, SoundDevice& sound, const TextRenderer* text, std::uint32_t seed,
           const std::string& exeDir)
    : form_(std::make_unique<Form1>(clock, sound, text)), state_(std::make_unique<GameState>()) {
    Form_Load(*form_, *state_, seed, exeDir);
    form_->Display.repaintLabels();
}

Game::~Game() = default;

const Image& Game::picture() const {
    return form_->Display.image();
}

Rect Game::takeChanged() {
    return form_->Display.takeChanged();
}

bool Game::ended() const {
    return form_->ended();
}

void Game::requestEnd() {
    form_->End();
}

int Game::stage() const {
    return state_->StageNo;
}

void Game::applyStages(const StageFile& file) {
    ApplyStages(file, *state_);
}

template <typename Handler>
void Game::run(std::string_view name, Handler&& handler) {
    if (ended()) return;
    handler();
    form_->Display.repaintLabels();
    ++handlersRun_;
    observers_.tell(name);
}

void Game::keyDown(int keyCode) {
    run("KeyDown", [&] { Form_KeyDown(*form_, *state_, keyCode, 0); });
}

void Game::keyUp(int keyCode) {
    run("KeyUp", [&] { Form_KeyUp(*form_, *state_, keyCode, 0); });
}

void Game::mouseDown(int button) {
    run("MouseDown", [&] { Display_MouseDown(*form_, *state_, button, 0, 0, 0); });
}

bool Game::runDueTimer() {
    if (ended()) return false;
    Timer* timer = form_->Timers.takeDue();
    if (!timer) return false;
    const TickHandler handler = HandlerOf(*form_, *timer);
    run(timer->name(), [&] { handler(*form_, *state_); });
    return true;
}

std::optional<Game::DueTimer> Game::nextDue() const {
    if (ended()) return std::nullopt;
    const Timer* timer = form_->Timers.nextDue();
    if (!timer) return std::nullopt;
    return DueTimer{timer->name(), timer->due()};
}

std::optional<Game::FinalScore> Game::finalScore() const {
    if (state_->StageNo != kTitleStage || state_->EndPhase != kEndOver) return std::nullopt;
    FinalScore result;
    result.score = state_->Score;
    result.code = state_->ScoreCode;
    result.ballsLost = kBallsPerGame - state_->BallsLeft;
    for (std::size_t i = 0; i < result.stageTicks.size(); ++i)
        result.stageTicks[i] = state_->StageTime[i];
    return result;
}

Game::Tally Game::tally() const {
    Tally tally;
    tally.ballsLeft = state_->BallsLeft;
    tally.ballsLost = kBallsPerGame - state_->BallsLeft;
    for (std::size_t i = 0; i < tally.stageTicks.size(); ++i)
        tally.stageTicks[i] = state_->StageTime[i];
    return tally;
}

void Game::startStage(int n) {
    if (n < 0 || n > kTitleStage) throw std::out_of_range("no stage " + std::to_string(n));
    Form1& form = *form_;
    GameState& state = *state_;
    for (Timer Form1::*timer : Form1::kTimers) (form.*timer).setInterval(0);
    // NextStage turns the title stage into a new game's stage 0 and any other stage s into
    // s + 1. A game that is not running (the title room, the ending, the last ball lost) is
    // started first, as leaving the title room does.
    const bool newGame = state.StageNo == kTitleStage || state.BallsLeft < 1;
    if (n == 0) {
        state.StageNo = kTitleStage;
    } else {
        if (newGame) NewGame(state);
        state.StageNo = n - 1;
    }
    NextStage(form, state);
    form.Display.repaintLabels();
}

Game::Snapshot Game::save() const {
    return Snapshot(std::make_shared<const Snapshot::Contents>(
        Snapshot::Contents{form_->save(), *state_, handlersRun_}));
}

void Game::restore(const Snapshot& snapshot) {
    if (!snapshot.contents_) throw std::invalid_argument("an empty snapshot");
    const Snapshot::Contents& contents = *snapshot.contents_;
    form_->restore(contents.form);
    *state_ = contents.state;
    handlersRun_ = contents.handlersRun;
}

}  // namespace hopla
