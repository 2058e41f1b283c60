// A demo beside the window's loop: the player's input recorded, or a demo's input played.
#pragma once

#include <fstream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "app/Game.h"
#include "demo/Demo.h"
#include "demo/Player.h"
#include "demo/Progress.h"
#include "demo/Recorder.h"
#include "toolkit/Clock.h"

namespace hopla {

// Made by main for --record or --play right after the window's game ran start-up, before the
// loop runs; the loop (SdlApp) hands it the player's input and asks it for the demo's. It
// observes the game's handlers while it lives, so it must outlive the loop.
class DemoLink {
  public:
    // Recording into `path`: the header and the start check are written at once. Throws
    // std::runtime_error naming the file when it cannot be written.
    // `stages` names the stage file the game was given, for the demo's header; `maker` who plays
    // (Assisted for a person with an assist).
    static std::unique_ptr<DemoLink> Recording(Game& game, const Clock& clock, std::uint32_t seed,
                                               const std::string& path,
                                               const std::optional<DemoStages>& stages = {},
                                               DemoMaker maker = DemoMaker::Person);
    // Playing `demo` (read from `path`, named in reports) into a game made with its seed. The
    // first check line that does not match is reported on `err` as soon as it is met; playback
    // goes on. With `progress` (standard error is a terminal) it says how far it is on `err`
    // every few seconds.
    static std::unique_ptr<DemoLink> Playing(Game& game, const Clock& clock, Demo demo,
                                             const std::string& path, std::ostream& err,
                                             bool progress = false);
    DemoLink(const DemoLink&) = delete;
    DemoLink& operator=(const DemoLink&) = delete;

    bool playing() const { return player_ != nullptr; }
    // Recording into a file whose header already says who plays: the game's speed stays.
    bool recording() const { return recorder_ != nullptr; }
    // The player's keys and buttons: to the game and the file when recording, ignored while a
    // demo plays. The window's close request comes here too.
    void input(InputKind kind, int code);
    // While playing, called before every timer tick and whenever the loop would wait: delivers
    // the demo's inputs due at the game's point. One that comes when nothing runs (a ball on a
    // launcher, the final screen) waits for its recorded time, so playback keeps the pauses.
    // Once the demo is over the game ends, closing the window.
    void feed();
    // When the loop, waiting, must wake up for the next input of the demo; none when it waits
    // for timers only.
    std::optional<Duration> wakeAt() const;
    // After the loop: finishes the demo file, or says where playback stopped when the window
    // closed before the demo's end. Returns the exit status: 1 when a check did not match or
    // the file could not be written, else 0. Reports go to `err`, one line each, naming the
    // file.
    int finish(std::ostream& err);
    // While or after playing, one line for the page that plays a demo: "ok N checks" once the
    // demo's end was reached with every check matching, else the first mismatch, else how far
    // it got.
    std::string outcome() const;

  private:
    DemoLink(Game& game, const Clock& clock, std::string path);
    void report(std::ostream& err);

    Game& game_;
    const Clock& clock_;
    std::string path_;
    std::ofstream file_;
    std::unique_ptr<Recorder> recorder_;
    Demo demo_;
    std::unique_ptr<Player> player_;
    std::unique_ptr<PlaybackProgress> progress_;
    std::ostream* err_ = nullptr;  // where a mismatch is reported while playing
    bool reported_ = false;
    int checksMatched_ = 0;
};

}  // namespace hopla
