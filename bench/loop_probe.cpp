// Timing probe of the real loop: the SDL frontend and scheduler on the real clock with scripted
// input, reporting how late each timer ticked and how much processor time the process took.
#include <SDL.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "app/GameTesting.h"
#include "frontend/SdlApp.h"
#include "frontend/SdlHandles.h"
#include "headless/DemoPlayback.h"
#include "platform/Platform.h"
#include "shell/GameFiles.h"
#include "toolkit/Numbers.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kLeft = SDLK_LEFT, kRight = SDLK_RIGHT;

struct Options {
    int interval = 30;       // BallInterval, ms
    double seconds = 10;     // whole run
    double quiet = 4;        // the last stretch: no input, the processor time is measured
    bool fromStart = false;  // the title sequence as it comes, instead of a new game at 2 s
    bool bare = false;       // no game: a thread sleeping to the same deadlines, for comparison
    int scale = 1;           // the window's whole-number scale
    bool pad = false;        // a (virtual) game controller plugged in throughout
    bool fit = false;        // on the whole screen, the picture fitted (not at a whole scale)
    bool menu = false;       // the menu open over the paused game through the quiet stretch
    std::string race;        // the race overlay on, and the ghost replaying this demo
};

void PrintUsage() {
    std::fprintf(stderr,
                 "usage: loop_probe [--interval MS] [--seconds S] [--quiet S] [--scale N] [--pad]\n"
                 "                  [--fit] [--menu] [--race DEMO] [--from-start | --bare]\n"
                 "Runs the game's real loop under the current display for S seconds and prints\n"
                 "one JSON line: per timer the lateness of its ticks (median, 99th percentile,\n"
                 "maximum, ms) and the process's processor time per wall second over the last\n"
                 "quiet stretch. Without --from-start a new game starts at the title set-up (2 s)\n"
                 "with the given ball interval; keys are tapped until the quiet stretch begins.\n"
                 "Worst ticks are listed on standard error. With --bare there is\n"
                 "no game: a plain thread sleeps to deadlines every interval on the monotonic\n"
                 "clock, showing how late this machine wakes a sleeper at all. --scale sets the\n"
                 "window's scale (default 1); --pad plugs in a virtual game controller; --fit\n"
                 "plays on the whole screen with the picture fitted to it; --menu opens the\n"
                 "menu (Esc) as the quiet stretch begins, pausing the game through it. --race\n"
                 "turns the race overlay on, against the finished game DEMO holds, and the\n"
                 "ghost, replaying DEMO from its start-up beside the game.\n");
}

Options Parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> double {
            if (i + 1 >= argc) throw std::invalid_argument(a + " needs a value");
            const std::optional<double> v = hopla::ParseNumber<double>(argv[++i]);
            if (!v) throw std::invalid_argument(a + " takes a number, not '" + argv[i] + "'");
            return *v;
        };
        if (a == "--interval")
            o.interval = static_cast<int>(value());
        else if (a == "--seconds")
            o.seconds = value();
        else if (a == "--quiet")
            o.quiet = value();
        else if (a == "--from-start")
            o.fromStart = true;
        else if (a == "--bare")
            o.bare = true;
        else if (a == "--scale")
            o.scale = static_cast<int>(value());
        else if (a == "--pad")
            o.pad = true;
        else if (a == "--fit")
            o.fit = true;
        else if (a == "--menu")
            o.menu = true;
        else if (a == "--race" && i + 1 < argc)
            o.race = argv[++i];
        else
            throw std::invalid_argument("unknown option " + a);
    }
    if (o.interval <= 0 || o.seconds <= 0 || o.quiet < 0 || (!o.bare && o.quiet > o.seconds) ||
        o.scale < 1 || o.scale > 8)
        throw std::invalid_argument("bad interval or times");
    return o;
}

double CpuSeconds(const rusage& u) {
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

rusage RusageOf(int who) {
    rusage u{};
    getrusage(who, &u);
    return u;
}

long ResidentKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::strlen(field));
    return -1;
}

// The scripted input and the measuring of the quiet stretch, on a thread of its own: events
// are pushed into SDL's queue at set times, as the window system would deliver them.
class Script {
  public:
    Script(const Options& o, Clock::time_point start) : options_(o), start_(start) {}
    ~Script() { finish(); }
    Script(const Script&) = delete;
    Script& operator=(const Script&) = delete;

    void begin(Clock::duration playFrom) {
        thread_ = std::thread([this, playFrom] { body(playFrom); });
    }
    void finish() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        if (thread_.joinable()) thread_.join();
    }

    double quietCpu = 0, quietWall = 0, quietSwitches = 0;

  private:
    // Sleeps until `at` after the start; false when the run was cut short.
    bool sleepUntil(Clock::duration at) {
        std::unique_lock lock(mutex_);
        return !wake_.wait_until(lock, start_ + at, [&] { return stop_; });
    }

    static void Push(Uint32 type, SDL_Keycode key) {
        SDL_Event e{};
        e.type = type;
        if (type == SDL_KEYDOWN || type == SDL_KEYUP) {
            e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
            e.key.keysym.sym = key;
        }
        SDL_PushEvent(&e);
    }

    void body(Clock::duration playFrom) {
        const auto end = std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(options_.seconds));
        const auto quietFrom = end - std::chrono::duration_cast<Clock::duration>(
                                         std::chrono::duration<double>(options_.quiet));
        // Pairs of taps of two ball ticks each that undo each other's speed (Right then Left,
        // then Left then Right): the ball wanders off and comes back instead of drifting into
        // a pit.
        const auto hold = std::chrono::milliseconds(2 * options_.interval);
        const auto between = std::chrono::milliseconds(options_.interval);
        const auto pause = std::max<Clock::duration>(4 * hold, 500ms);
        Clock::duration t = playFrom + 500ms;
        for (int k = 0; t + 2 * hold + between < quietFrom && !options_.fromStart; ++k) {
            const SDL_Keycode first = k % 2 == 0 ? kRight : kLeft;
            for (const SDL_Keycode key : {first, first == kRight ? kLeft : kRight}) {
                if (!sleepUntil(t)) return;
                Push(SDL_KEYDOWN, key);
                if (!sleepUntil(t + hold)) return;
                Push(SDL_KEYUP, key);
                t += hold + between;
            }
            t += pause;
        }
        if (!sleepUntil(quietFrom)) return;
        if (options_.menu) {
            Push(SDL_KEYDOWN, SDLK_ESCAPE);
            Push(SDL_KEYUP, SDLK_ESCAPE);
            // Measured once the menu is drawn.
            if (!sleepUntil(quietFrom + 200ms)) return;
        }
        const rusage before = RusageOf(RUSAGE_SELF);
        const auto wallBefore = Clock::now();
        if (!sleepUntil(end)) return;
        const rusage after = RusageOf(RUSAGE_SELF);
        quietWall = std::chrono::duration<double>(Clock::now() - wallBefore).count();
        quietCpu = CpuSeconds(after) - CpuSeconds(before);
        quietSwitches = static_cast<double>(after.ru_nvcsw - before.ru_nvcsw);
        Push(SDL_QUIT, 0);
    }

    const Options options_;
    const Clock::time_point start_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::thread thread_;
};

struct Tick {
    std::string timer;
    double lateMs;
    double atMs;
    double endMs = 0;  // when its handler returned
};

double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    const auto i = static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
    return v[std::min(i, v.size() - 1)];
}

// "NAME":{"ticks":..,"median_ms":..,"p99_ms":..,"max_ms":..} for lateness figures in ms.
std::string LatenessJson(const std::string& name, const std::vector<double>& late) {
    char text[256];
    std::snprintf(text, sizeof text,
                  "\"%s\":{\"ticks\":%zu,\"median_ms\":%.3f,\"p99_ms\":%.3f,\"max_ms\":%.3f}",
                  name.c_str(), late.size(), late.empty() ? 0 : Percentile(late, 0.5),
                  late.empty() ? 0 : Percentile(late, 0.99),
                  late.empty() ? 0 : *std::max_element(late.begin(), late.end()));
    return text;
}

// The machine's own wake-up lateness: absolute sleeps on the monotonic clock every interval,
// with the same timer slack as the game's loop.
int RunBare(const Options& o) {
    hopla::TightenTimerSlack();
    const auto period = std::chrono::milliseconds(o.interval);
    const auto start = Clock::now();
    const auto end = start + std::chrono::duration_cast<Clock::duration>(
                                 std::chrono::duration<double>(o.seconds));
    std::vector<double> late;
    for (auto due = start + period; due < end; due += period) {
        std::this_thread::sleep_until(due);
        late.push_back(std::chrono::duration<double, std::milli>(Clock::now() - due).count());
    }
    std::printf("{\"interval\":%d,\"seconds\":%g,\"bare\":true,\"timers\":{%s}}\n", o.interval,
                o.seconds, LatenessJson("sleeper", late).c_str());
    return 0;
}

int Run(const Options& o) {
    hopla::SdlLibrary sdl;
    // A controller plugged in before the game starts, as a player's would be; SDL then polls
    // the joysticks while it waits.
    hopla::SdlSubsystem pads(o.pad ? SDL_INIT_JOYSTICK : 0);
    if (o.pad) {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        if (SDL_JoystickAttachVirtualEx(&desc) < 0)
            throw std::runtime_error(std::string("no virtual controller: ") + SDL_GetError());
    }
    const auto start = Clock::now();
    hopla::AppOptions window;
    window.settings.scale = o.scale;
    window.settings.fullscreen = o.fit;
    window.settings.scaling = hopla::ScalingMode::Fit;
    window.settings.race = window.settings.ghost = !o.race.empty();
    hopla::SdlApp app(1234, HOPLA_BUILD_DIR, window);
    hopla::Game& game = app.game();
    hopla::GameTesting testing(game);
    if (!o.race.empty()) {
        // The best game: the demo's own, played through headless for its stage ticks.
        auto best = std::make_shared<const hopla::Demo>(hopla::ReadDemoFile(o.race));
        hopla::SimCore sim(best->seed, HOPLA_BUILD_DIR, hopla::WaveFileLength);
        hopla::PlayDemo(sim, *best);
        const std::optional<hopla::Game::FinalScore> score = sim.game().finalScore();
        if (!score) throw std::runtime_error(o.race + " holds no finished game");
        hopla::GameRecord record;
        record.score = score->score;
        record.ballsLost = score->ballsLost;
        record.ticks = score->stageTicks;
        app.setRace(record);
        app.setGhost(std::make_unique<hopla::GhostRuns>(best, hopla::GhostRuns::StageRuns{},
                                                        HOPLA_BUILD_DIR, hopla::WaveFileLength));
    }

    std::vector<Tick> ticks;
    ticks.reserve(1 << 16);

    app.setTickObserver([&](std::string_view timer, hopla::Duration due, hopla::Duration started,
                            hopla::Duration returned) {
        const auto ms = [](hopla::Duration d) {
            return std::chrono::duration<double, std::milli>(d).count();
        };
        ticks.push_back({std::string(timer), ms(started - due), ms(started), ms(returned)});
    });

    Clock::duration playFrom{};
    bool started = false;
    hopla::ObserverHandle starting;
    if (!o.fromStart) {
        // Once the window has settled through the black first seconds, at the title set-up, a
        // new game starts as if the ball had left the title stage, at the given pace: the
        // introduction ticks at a sixth of it, then stage 0 is loaded and Timer1 runs.
        starting = game.observe([&](std::string_view handler) {
            if (started || handler != "Timer2") return;
            started = true;
            testing.state().BallInterval = o.interval;
            game.startStage(0);
        });
        playFrom = 2000ms + 51 * std::chrono::milliseconds(o.interval / 6 + 1) + 1800ms;
    }

    Script script(o, start);
    script.begin(playFrom);
    app.run();
    script.finish();

    // The latest ticks, with what ran just before them, on standard error.
    std::vector<std::size_t> order(ticks.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return ticks[a].lateMs > ticks[b].lateMs; });
    for (std::size_t k = 0; k < std::min<std::size_t>(5, order.size()); ++k) {
        const Tick& t = ticks[order[k]];
        std::fprintf(stderr, "late %.3f ms: %s at %.1f ms", t.lateMs, t.timer.c_str(), t.atMs);
        if (order[k] > 0) {
            const Tick& before = ticks[order[k] - 1];
            std::fprintf(stderr, "; before it %s ran %.3f ms, ended %.3f ms before",
                         before.timer.c_str(), before.endMs - before.atMs, t.atMs - before.endMs);
        }
        std::fprintf(stderr, "\n");
    }

    std::map<std::string, std::vector<double>> late;
    std::vector<double> all;
    double quietFrom = (o.seconds - o.quiet) * 1000;
    int quietOther = 0;  // ticks of other timers in the quiet stretch
    for (const Tick& t : ticks) {
        late[t.timer].push_back(t.lateMs);
        all.push_back(t.lateMs);
        if (t.atMs >= quietFrom && t.timer != "Timer1") ++quietOther;
    }
    std::printf(
        "{\"interval\":%d,\"seconds\":%g,\"scale\":%d,\"pad\":%s,\"fit\":%s,\"menu\":%s,"
        "\"race\":%s,\"from_start\":%s,%s,\"timers\":{",
        o.interval, o.seconds, o.scale, o.pad ? "true" : "false", o.fit ? "true" : "false",
        o.menu ? "true" : "false", o.race.empty() ? "false" : "true",
        o.fromStart ? "true" : "false", LatenessJson("all", all).c_str());
    bool first = true;
    for (const auto& [name, v] : late) {
        std::printf("%s%s", first ? "" : ",", LatenessJson(name, v).c_str());
        first = false;
    }
    const double wall = script.quietWall > 0 ? script.quietWall : 1;
    std::printf(
        "},\"quiet_s\":%.3f,\"quiet_cpu_percent\":%.3f,\"quiet_wakeups_per_s\":%.1f,"
        "\"quiet_other_ticks\":%d,\"ball_state\":%d,\"stage\":%d,\"timer1\":%d,"
        "\"vm_hwm_kb\":%ld,\"vm_rss_kb\":%ld}\n",
        script.quietWall, 100 * script.quietCpu / wall, script.quietSwitches / wall, quietOther,
        testing.state().BallState, testing.state().StageNo, testing.form().Timer1.interval(),
        ResidentKb("VmHWM:"), ResidentKb("VmRSS:"));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    try {
        o = Parse(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "loop_probe: %s\n", e.what());
        PrintUsage();
        return 2;
    }
    // Sound goes through SDL's audio path without a sound card, unless told otherwise.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    try {
        return o.bare ? RunBare(o) : Run(o);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "loop_probe: %s\n", e.what());
        return 1;
    }
}
