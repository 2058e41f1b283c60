// Recording and playing demos for the window's loop.
#include "shell/DemoLink.h"
#include "shell/DemoOrigin.h"
#include "toolkit/FilePath.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace hopla {

DemoLink::DemoLink(Game& game, const Clock& clock, std::string path)
    : game_(game), clock_(clock), path_(std::move(path)) {}

std::unique_ptr<DemoLink> DemoLink::Recording(Game& game, const Clock& clock, std::uint32_t seed,
                                              const std::string& path,
                                              const std::optional<DemoStages>& stages,
                                              DemoMaker maker) {
    std::unique_ptr<DemoLink> link(new DemoLink(game, clock, path));
    link->file_.open(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
    if (!link->file_) throw std::runtime_error("cannot write the demo " + path);
    link->recorder_ = std::make_unique<Recorder>(game, clock, seed, std::nullopt,
                                                 ThisProgram("hopla", maker), link->file_, stages);
    return link;
}

std::unique_ptr<DemoLink> DemoLink::Playing(Game& game, const Clock& clock, Demo demo,
                                            const std::string& path, std::ostream& err,
                                            bool progress) {
    std::unique_ptr<DemoLink> link(new DemoLink(game, clock, path));
    link->err_ = &err;
    link->demo_ = std::move(demo);
    DemoLink* self = link.get();
    link->player_ = std::make_unique<Player>(
        game, clock, link->demo_,
        [self](const DemoCheck&, bool matched) { self->checksMatched_ += matched ? 1 : 0; });
    if (progress)
        link->progress_ =
            std::make_unique<PlaybackProgress>(game, link->demo_.endPoint, "hopla", err);
    link->report(err);
    return link;
}

void DemoLink::report(std::ostream& err) {
    if (reported_ || !player_->mismatch()) return;
    err << "hopla: " << path_ << ": " << player_->mismatch()->message() << std::endl;
    reported_ = true;
}

void DemoLink::input(InputKind kind, int code) {
    if (recorder_) {
        recorder_->deliver(kind, code);
    } else if (!player_ || kind == InputKind::Close) {
        Deliver(game_, kind, code);
    }
}

void DemoLink::feed() {
    if (!player_) return;
    while (player_->inputDue()) {
        // With a timer running the order is what counts; otherwise keep the recorded pause.
        if (!game_.nextDue() && clock_.now() < milliseconds(player_->next()->ms)) return;
        player_->deliverNext();
    }
    report(*err_);
    if (player_->finished() && !game_.ended()) game_.requestEnd();
}

std::optional<Duration> DemoLink::wakeAt() const {
    if (!player_ || !player_->inputDue() || game_.nextDue()) return std::nullopt;
    return milliseconds(player_->next()->ms);
}

int DemoLink::finish(std::ostream& err) {
    if (recorder_) {
        recorder_->finish();
        recorder_.reset();
        file_.close();
        if (!file_) {
            err << "hopla: writing the demo " << path_ << " failed\n";
            // Nothing of it arrived: no empty file stays behind.
            std::error_code ec;
            if (std::filesystem::file_size(PathFromUtf8(path_), ec) == 0 && !ec)
                std::filesystem::remove(PathFromUtf8(path_), ec);
            return 1;
        }
        return 0;
    }
    if (!player_) return 0;
    const bool finished = player_->finished();
    report(err);
    if (player_->mismatch()) return 1;
    if (!finished)
        err << "hopla: " << path_ << ": played up to point " << game_.handlersRun() << " of "
            << demo_.endPoint << ", every check so far matched\n";
    return 0;
}

std::string DemoLink::outcome() const {
    if (!player_) return {};
    if (player_->mismatch()) return player_->mismatch()->message();
    if (player_->finished()) return "ok " + std::to_string(checksMatched_) + " checks";
    return "played up to point " + std::to_string(game_.handlersRun()) + " of " +
           std::to_string(demo_.endPoint) + ", every check so far matched";
}

}  // namespace hopla
