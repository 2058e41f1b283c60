// The game in the browser: started as hopla starts (the command line the page gives: --play,
// --record), then the window's loop handed to the browser one round per timeout, since a page
// must never block. The page (frontend/web) is told the tick timing, a
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

#include "apps/hopla/Session.h"
#include "frontend/SdlApp.h"
#include "shell/DemoLink.h"

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
// Whether the page shows its touch controls and no real key was pressed since the last touch.
EM_JS(int, HoplaTouchLast, (), { return Module.hoplaTouchLast ? 1 : 0; });
// Whether the page is on the whole screen, which the browser also leaves by itself (Esc).
EM_JS(int, HoplaOnWholeScreen, (), { return document.fullscreenElement ? 1 : 0; });
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

// The started game while the browser runs it. Made by main, it owns itself from then on: each
// round schedules the next, and the last one deletes it.
class WebGame {
  public:
    explicit WebGame(std::unique_ptr<Session> session) : session_(std::move(session)) {
        session_->app().setTickObserver([this](std::string_view, Duration due, Duration started,
                                               Duration) { timing_.add(started - due); });
    }

    static void Round(void* self) { static_cast<WebGame*>(self)->round(); }

  private:
    void round();
    void end(int status, const std::string& message);
    void reportOutcome() {
        if (DemoLink* demo = session_->demo(); demo && demo->playing())
            HoplaReportOutcome(demo->outcome().c_str());
    }

    std::unique_ptr<Session> session_;
    TickTiming timing_;
    bool wholeScreen_ = false;  // as last seen: the menu's row shows a change
    bool touchLast_ = false;    // as last seen: the hints name the touch controls
};

void WebGame::round() {
    SdlApp& app = session_->app();
    std::optional<Duration> wake;
    if (const bool whole = HoplaOnWholeScreen() != 0; whole != wholeScreen_) {
        wholeScreen_ = whole;
        app.valuesChanged();
    }
    if (const bool touch = HoplaTouchLast() != 0; touch != touchLast_) {
        touchLast_ = touch;
        app.setTouchScreen(touch);
    }
    try {
        wake = app.step();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "hopla: %s\n", e.what());
        end(1, e.what());
        return;
    }
    reportOutcome();
    if (app.ended()) {
        end(session_->finish(), "");
        return;
    }
    Duration wait = kLongestWait;
    if (wake)
        wait =
            std::clamp(app.clock().realFor(*wake - app.clock().now()), Duration(0), kLongestWait);
    const double waitMs = std::chrono::duration<double, std::milli>(wait).count();
    // Whole milliseconds, rounded up: a round that came early would run nothing and wait again.
    emscripten_async_call(&WebGame::Round, this, static_cast<int>(std::ceil(waitMs)));
}

// The last round: the figures, the outcome and the last picture to the page, and the game gone.
void WebGame::end(int status, const std::string& message) {
    timing_.report();
    reportOutcome();
    HoplaKeepLastPicture();
    delete this;
    HoplaReportEnd(status, message.c_str());
}

// Starts the game as hopla starts; when it does not start (a bad demo, a bad option) the page
// shows the last line said on standard error.
int StartInPage(int argc, char** argv) {
    Started started = StartHopla(argc, argv, {}, true);
    if (!started.session) {
        HoplaReportEnd(started.status, "");
        return started.status;
    }
    emscripten_async_call(&WebGame::Round, new WebGame(std::move(started.session)), 0);
    return 0;
}

}  // namespace
}  // namespace hopla

int main(int argc, char** argv) {
    return hopla::StartInPage(argc, argv);
}
