// The recorder: input lines as they are delivered, check lines as the stage changes.
#include "demo/Recorder.h"

#include "demo/DemoFile.h"

namespace hopla {

void Deliver(Game& game, InputKind kind, int code) {
    switch (kind) {
        case InputKind::KeyDown:
            game.keyDown(code);
            break;
        case InputKind::KeyUp:
            game.keyUp(code);
            break;
        case InputKind::Mouse:
            game.mouseDown(code);
            break;
        case InputKind::Close:
            game.requestEnd();
            break;
    }
}

Recorder::Recorder(Game& game, const Clock& clock, std::uint32_t seed,
                   std::optional<int> startStage, const DemoOrigin& origin, std::ostream& out,
                   const std::optional<DemoStages>& stages)
    : game_(game),
      clock_(clock),
      out_(out),
      stage_(game.stage()),
      observation_(game.observe([this](std::string_view) { afterHandler(); })) {
    out_ << DemoHeader(seed, startStage, origin, stages);
    writeCheck();
}

std::int64_t Recorder::nowMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(clock_.now()).count();
}

void Recorder::writeCheck() {
    lastCheck_ = game_.handlersRun();
    out_ << CheckLine({lastCheck_, nowMs(), game_.check()}) << std::flush;
}

void Recorder::note(InputKind kind, int code) {
    if (finished_ || game_.ended()) return;
    out_ << InputLine({game_.handlersRun(), nowMs(), kind, code});
}

void Recorder::deliver(InputKind kind, int code) {
    if (finished_ || game_.ended()) return;
    note(kind, code);
    Deliver(game_, kind, code);
}

void Recorder::afterHandler() {
    if (finished_ || game_.stage() == stage_) return;
    stage_ = game_.stage();
    writeCheck();
}

std::string Recorder::endLines() const {
    std::string lines;
    if (lastCheck_ != game_.handlersRun())
        lines = CheckLine({game_.handlersRun(), nowMs(), game_.check()});
    return lines + EndLine(game_.handlersRun(), nowMs());
}

void Recorder::finish() {
    if (finished_) return;
    out_ << endLines() << std::flush;
    finished_ = true;
}

}  // namespace hopla
