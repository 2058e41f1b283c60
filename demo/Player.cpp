// The player: inputs at their points and each check line against the game played.
#include "demo/Player.h"

#include "demo/Recorder.h"

namespace hopla {

std::string Mismatch::message() const {
    std::string text =
        "at point " + std::to_string(point) + " in stage " + std::to_string(stage) + ": " + field;
    if (field == "point") return text + ": " + played;
    return text + " differs (recorded " + recorded + ", played " + played + ")";
}

Player::Player(Game& game, const Clock& clock, const Demo& demo, CheckObserver onCheck)
    : game_(game),
      clock_(clock),
      demo_(demo),
      onCheck_(std::move(onCheck)),
      observation_(game.observe([this](std::string_view) { afterHandler(); })) {
    if (demo_.startStage) game_.startStage(*demo_.startStage);
    stage_ = game_.stage();
    compare();  // the start's check
}

const DemoInput* Player::next() const {
    return nextInput_ < demo_.inputs.size() ? &demo_.inputs[nextInput_] : nullptr;
}

bool Player::inputDue() const {
    const DemoInput* in = next();
    return in && in->point == game_.handlersRun() && !game_.ended();
}

void Player::deliverNext() {
    const DemoInput* in = next();
    if (!in) return;
    ++nextInput_;
    Deliver(game_, in->kind, in->code);
}

bool Player::finished() {
    if (finished_) return true;
    if (next() || game_.handlersRun() != demo_.endPoint) return false;
    finished_ = true;
    if (nextCheck_ < demo_.checks.size() && demo_.checks[nextCheck_].point == demo_.endPoint)
        compare();
    return true;
}

void Player::stalled(std::string why) {
    if (mismatch_) return;
    mismatch_ = Mismatch{game_.handlersRun(), game_.stage(), "point", {}, std::move(why)};
}

void Player::afterHandler() {
    if (mismatch_) return;
    const std::uint64_t point = game_.handlersRun();
    if (const DemoInput* in = next(); in && in->point < point) {
        stalled("the demo's input at point " + std::to_string(in->point) + " was passed by");
        return;
    }
    if (game_.stage() != stage_) {
        stage_ = game_.stage();
        compare();
        return;
    }
    // The recording changed the stage here and the playback did not.
    if (nextCheck_ < demo_.checks.size() && demo_.checks[nextCheck_].point == point &&
        point != demo_.endPoint)
        compare();
}

void Player::compare() {
    if (mismatch_) return;
    const DemoCheck played{
        game_.handlersRun(),
        std::chrono::duration_cast<std::chrono::milliseconds>(clock_.now()).count(), game_.check()};
    if (nextCheck_ >= demo_.checks.size() || demo_.checks[nextCheck_].point != played.point) {
        // The stage changed where the recording's did not (or the other way round).
        const bool more = nextCheck_ < demo_.checks.size();
        mismatch_ = Mismatch{
            played.point, more ? demo_.checks[nextCheck_].state.stage : stage_, "stage",
            more ? "no change before point " + std::to_string(demo_.checks[nextCheck_].point)
                 : "no more changes",
            std::to_string(played.state.stage)};
        if (onCheck_) onCheck_(played, false);
        return;
    }
    const DemoCheck& recorded = demo_.checks[nextCheck_++];
    const std::optional<std::string_view> field = FirstDifference(recorded.state, played.state);
    if (field)
        mismatch_ = Mismatch{played.point, recorded.state.stage, std::string(*field),
                             FieldText(recorded.state, *field), FieldText(played.state, *field)};
    if (onCheck_) onCheck_(played, !field);
}

}  // namespace hopla
