// The game in the browser: the command line the page gives (--play, --record, --mute), the
// settings kept in the browser, then the window's loop handed to the browser one round per
// timeout, since a page must never block. The page (frontend/web) is told the tick timing, a
// played demo's outcome and the game's end.
#include <emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "demo/DemoFile.h"
#include "frontend/DemoLink.h"
#include "frontend/Main.h"
#include "frontend/Options.h"
#include "frontend/SdlApp.h"
#include "frontend/Settings.h"
#include "platform/Platform.h"
#include "toolkit/Environment.h"

namespace hopla {
namespace {

// Input reaches the page through the browser's events, which do not end a timeout early, so
// the page never waits longer than this between rounds: a key press is seen within it.
constexpr Duration kLongestWait = std::chrono::milliseconds(10);
// The page's figures of the tick timing are brought up to date after this many ticks.
constexpr std::size_t kTicksPerReport = 100;

// clang-format off
// Tells the page (frontend/web/index.html) how the game's ticks keep their time: how many ran,
// and the median, 99th percentile and largest lateness in milliseconds.
EM_JS(void, HoplaReportTiming, (int ticks, double p50, double p99, double worst), {
    if (Module.onHoplaTiming) Module.onHoplaTiming({ticks: ticks, p50: p50, p99: p99, max: worst});
});
// A played demo's outcome line, once it is known.
EM_JS(void, HoplaReportOutcome, (const char* line), {
    if (Module.onHoplaOutcome) Module.onHoplaOutcome(UTF8ToString(line));
});
// The canvas's last picture copied onto the page (#last), before the window and with it the
// canvas's picture go.
EM_JS(void, HoplaKeepLastPicture, (), {
    var canvas = Module.canvas;
    if (!canvas || !canvas.width) return;
    var last = document.createElement("canvas");
    last.id = "last";
    last.className = canvas.className;
    last.width = canvas.width;
    last.height = canvas.height;
    last.getContext("2d").drawImage(canvas, 0, 0);
    canvas.parentNode.insertBefore(last, canvas);
    canvas.style.display = "none";
});
// The game has ended (status as the desktop game's exit status) or could not start.
EM_JS(void, HoplaReportEnd, (int status, const char* message), {
    if (Module.onHoplaEnd) Module.onHoplaEnd(status, UTF8ToString(message));
});
// clang-format on

// The lateness of every tick (when its handler started against when it was due), for the page.
class TickTiming {
  public:
    void add(Duration late) {
        lateMs_.push_back(std::chrono::duration<double, std::milli>(late).count());
        if (lateMs_.size() % kTicksPerReport == 0) report();
    }
    void report() {
        if (lateMs_.empty()) return;
        std::vector<double> sorted = lateMs_;
        std::sort(sorted.begin(), sorted.end());
        const auto at = [&](double q) {
            return sorted[std::min(sorted.size() - 1, static_cast<std::size_t>(q * sorted.size()))];
        };
        HoplaReportTiming(static_cast<int>(sorted.size()), at(0.5), at(0.99), sorted.back());
    }

  private:
    std::vector<double> lateMs_;
};

// Everything the game needs while the browser runs it. Made by main, it owns itself from then
// on: each round schedules the next, and the last one deletes the session.
class WebSession {
  public:
    static void Round(void* self) { static_cast<WebSession*>(self)->round(); }

    // Returns the exit status when the game does not start (a bad command line or demo), after
    // telling the page; otherwise none, with the first round scheduled.
    static std::optional<int> Start(int argc, char** argv) {
        auto session = std::make_unique<WebSession>();
        if (std::optional<int> status = session->open(argc, argv)) {
            HoplaReportEnd(*status, session->error_.c_str());
            return status;
        }
        emscripten_async_call(&WebSession::Round, session.release(), 0);
        return std::nullopt;
    }

  private:
    std::optional<int> open(int argc, char** argv);
    void round();
    void end(int status);
    std::optional<int> fail(int status, const std::string& message) {
        error_ = message;
        std::fprintf(stderr, "hopla: %s\n", message.c_str());
        return status;
    }

    std::string error_;
    std::string playPath_;
    SdlLibrary sdl_;
    std::unique_ptr<SdlApp> app_;
    std::unique_ptr<DemoLink> link_;
    TickTiming timing_;
};

std::optional<int> WebSession::open(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + std::min(argc, 1), argv + argc);
    const ParsedOptions parsed = ParseOptions(args);
    if (!parsed.options) return fail(2, parsed.error);
    const Options& options = *parsed.options;

    AppOptions app = ChooseAppOptions(options, SettingsPath());
    app.fullscreen = false;  // the browser goes to the whole screen only when the player asks
    app.holdSounds = true;

    std::optional<Demo> demo;
    if (options.play) {
        try {
            demo = ReadDemoFile(*options.play);
        } catch (const DemoError& e) {
            return fail(2, e.what());
        }
        playPath_ = *options.play;
    }
    try {
        const std::uint32_t seed = demo ? demo->seed : ClockSeed();
        app_ = std::make_unique<SdlApp>(seed, ExecutableDir(), app);
        if (demo) {
            link_ = DemoLink::Playing(app_->game(), app_->clock(), std::move(*demo), playPath_,
                                      std::cerr);
        } else if (options.record) {
            link_ = DemoLink::Recording(app_->game(), app_->clock(), seed, *options.record);
        }
    } catch (const std::exception& e) {
        return fail(1, e.what());
    }
    app_->setDemo(link_.get());
    app_->setTickObserver([this](std::string_view, Duration due, Duration started, Duration) {
        timing_.add(started - due);
    });
    return std::nullopt;
}

void WebSession::round() {
    std::optional<Duration> wake;
    try {
        wake = app_->step();
    } catch (const std::exception& e) {
        fail(1, e.what());
        end(1);
        return;
    }
    if (link_ && link_->playing()) HoplaReportOutcome(link_->outcome().c_str());
    if (app_->ended()) {
        end(link_ ? link_->finish(std::cerr) : 0);
        return;
    }
    Duration wait = kLongestWait;
    if (wake) wait = std::clamp(*wake - app_->clock().now(), Duration(0), kLongestWait);
    const double waitMs = std::chrono::duration<double, std::milli>(wait).count();
    // Whole milliseconds, rounded up: a round that came early would run nothing and wait again.
    emscripten_async_call(&WebSession::Round, this, static_cast<int>(std::ceil(waitMs)));
}

// The last round: the figures and the outcome to the page, and the session gone.
void WebSession::end(int status) {
    timing_.report();
    if (link_ && link_->playing()) HoplaReportOutcome(link_->outcome().c_str());
    const std::string message = error_;
    HoplaKeepLastPicture();
    delete this;
    HoplaReportEnd(status, message.c_str());
}

}  // namespace
}  // namespace hopla

int main(int argc, char** argv) {
    if (std::optional<int> status = hopla::WebSession::Start(argc, argv)) return *status;
    return 0;
}
