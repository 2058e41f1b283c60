// Recording a demo while a runner plays: each input at its point, checks at stage changes.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "app/Game.h"
#include "demo/Demo.h"
#include "toolkit/Clock.h"

namespace hopla {

// Made by a runner (the window with --record, hopla-sim with --record, the solver) right
// after start-up (and Game::startStage for a demo of one stage), before any handler ran. It
// writes the header and the start check at once, then an input line for everything delivered
// through it, a check line after each handler that changed the stage (flushed, so a crash keeps
// the run up to there) and, from finish(), the final check and the end line. While it lives it
// observes the game's handlers.
class Recorder {
  public:
    // `origin` names the program and who plays (its maker: a person, the solver, a script, or a
    // person with an assist); `stages` the stage file the game was given (none: its own).
    Recorder(Game& game, const Clock& clock, std::uint32_t seed, std::optional<int> startStage,
             const DemoOrigin& origin, std::ostream& out,
             const std::optional<DemoStages>& stages = std::nullopt);
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Writes the input and hands it to the game (a close ends the game at once). Nothing is
    // written or delivered once the game has ended or the recording is finished.
    void deliver(InputKind kind, int code = 0);
    // Writes the input's line only; the runner hands the input to the game itself right after.
    // For a second recording of the same run (the window keeps one for the player's records
    // beside --record's).
    void note(InputKind kind, int code = 0);
    // The final check and the end line. Called once by the runner when the game has ended or
    // the run stops; later calls do nothing.
    void finish();
    // The lines finish() would write now (the final check, unless one was written at this
    // point, and the end line), written nowhere: what was written so far and these make a whole
    // demo of the run up to here, while the recording goes on.
    std::string endLines() const;
    // Whether every line reached the stream so far (a full disk, a closed pipe make it false).
    bool good() const { return out_.good(); }

  private:
    void afterHandler();
    void writeCheck();
    std::int64_t nowMs() const;

    Game& game_;
    const Clock& clock_;
    std::ostream& out_;
    int stage_;
    std::uint64_t lastCheck_ = 0;
    bool finished_ = false;
    ObserverHandle observation_;
};

// Hands one input to the game: the same handler the window would run.
void Deliver(Game& game, InputKind kind, int code);

}  // namespace hopla
