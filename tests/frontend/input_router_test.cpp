// Input routing: window keys never reach the game, other keys reach it as they came, presses
// count only on the picture, and a game controller steers exactly as the arrow keys.
#include <gtest/gtest.h>

#include <SDL.h>

#include <deque>
#include <utility>
#include <vector>

#include "frontend/InputRouter.h"
#include "frontend/SdlHandles.h"
#include "headless/SimCore.h"
#include "shell/GameFiles.h"
#include "shell/PauseGate.h"

namespace hopla {
namespace {

using std::chrono::milliseconds;

constexpr Layout kFourK{3, 720, 180, 2400, 1800};  // 800 x 600 at 3 on a 3840 x 2160 screen

SDL_Event Key(Uint32 type, SDL_Keycode key, Uint16 mod = KMOD_NONE, bool repeat = false) {
    SDL_Event e{};
    e.type = type;
    e.key.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.sym = key;
    e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    e.key.keysym.mod = mod;
    return e;
}
SDL_Event Down(SDL_Keycode key, Uint16 mod = KMOD_NONE) {
    return Key(SDL_KEYDOWN, key, mod);
}
SDL_Event Again(SDL_Keycode key, Uint16 mod = KMOD_NONE) {
    return Key(SDL_KEYDOWN, key, mod, true);
}
SDL_Event Up(SDL_Keycode key, Uint16 mod = KMOD_NONE) {
    return Key(SDL_KEYUP, key, mod);
}

SDL_Event Press(int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = button;
    e.button.x = x;
    e.button.y = y;
    return e;
}

std::vector<Routed> RouteAll(InputRouter& router, const std::vector<SDL_Event>& events) {
    std::vector<Routed> out;
    for (const SDL_Event& e : events) router.route(e, Duration(0), kFourK, 800, 600, out);
    return out;
}

constexpr Routed KD(int code) {
    return {Command::KeyDown, code};
}
constexpr Routed KU(int code) {
    return {Command::KeyUp, code};
}

TEST(InputRouter, WindowKeysNeverReachTheGameOtherKeysDoAsTheyCame) {
    const Routed toggle{Command::ToggleFullscreen}, up{Command::ScaleUp}, down{Command::ScaleDown};
    const struct {
        const char* what;
        std::vector<SDL_Event> events;
        std::vector<Routed> routed;
    } cases[] = {
        {"F11, held and let go",
         {Down(SDLK_F11), Again(SDLK_F11), Again(SDLK_F11), Up(SDLK_F11)},
         {toggle}},
        {"Alt+Enter while an arrow is held: the arrow stays held",
         {Down(SDLK_RIGHT), Down(SDLK_LALT), Down(SDLK_RETURN, KMOD_LALT),
          Again(SDLK_RETURN, KMOD_LALT), Up(SDLK_LALT), Up(SDLK_RETURN), Up(SDLK_RIGHT)},
         {KD(39), toggle, KU(39)}},
        {"Shift, Ctrl, AltGr and Super never reach the game",
         {Down(SDLK_LSHIFT), Again(SDLK_LSHIFT), Up(SDLK_LSHIFT), Down(SDLK_RCTRL), Up(SDLK_RCTRL),
          Down(SDLK_MODE), Up(SDLK_MODE), Down(SDLK_LGUI), Up(SDLK_RGUI), Down(SDLK_RALT)},
         {}},
        {"Esc, P, Pause and M: menu, pause, pause, mute, repeats and releases kept",
         {Down(SDLK_ESCAPE), Again(SDLK_ESCAPE), Up(SDLK_ESCAPE), Down(SDLK_p, KMOD_LSHIFT),
          Up(SDLK_p), Down(SDLK_PAUSE), Up(SDLK_PAUSE), Down(SDLK_m), Up(SDLK_m)},
         {{Command::Menu}, {Command::Pause}, {Command::Pause}, {Command::Mute}}},
        {"Ctrl+P and Alt+M are the game's",
         {Down(SDLK_p, KMOD_LCTRL), Down(SDLK_m, KMOD_RALT)},
         {KD(80), KD(77)}},
        {"Ctrl+Plus, Ctrl+=, Ctrl+keypad Plus",
         {Down(SDLK_PLUS, KMOD_LCTRL), Up(SDLK_PLUS, KMOD_LCTRL), Down(SDLK_EQUALS, KMOD_RCTRL),
          Up(SDLK_EQUALS), Down(SDLK_KP_PLUS, KMOD_LCTRL | KMOD_LSHIFT), Up(SDLK_KP_PLUS)},
         {up, up, up}},
        {"Ctrl+Minus, Ctrl+keypad Minus",
         {Down(SDLK_MINUS, KMOD_LCTRL), Again(SDLK_MINUS, KMOD_LCTRL), Up(SDLK_MINUS),
          Down(SDLK_KP_MINUS, KMOD_LCTRL), Up(SDLK_KP_MINUS)},
         {down, down}},
        {"an arrow held: press, repeats, release",
         {Down(SDLK_RIGHT), Again(SDLK_RIGHT), Again(SDLK_RIGHT), Up(SDLK_RIGHT)},
         {KD(39), KD(39), KD(39), KU(39)}},
        {"Enter alone and its repeat after Alt came down",
         {Down(SDLK_RETURN), Again(SDLK_RETURN, KMOD_LALT), Up(SDLK_RETURN)},
         {KD(13), KD(13), KU(13)}},
        {"F11 with Ctrl or Alt, Minus and Plus alone, Ctrl+Alt+Minus",
         {Down(SDLK_F11, KMOD_LCTRL), Down(SDLK_F11, KMOD_LALT), Down(SDLK_MINUS),
          Down(SDLK_KP_PLUS), Down(SDLK_MINUS, KMOD_LCTRL | KMOD_LALT)},
         {KD(122), KD(122), KD(189), KD(107), KD(189)}},
        {"Space, then a window key while it is held",
         {Down(SDLK_SPACE), Down(SDLK_F11), Again(SDLK_SPACE), Up(SDLK_F11), Up(SDLK_SPACE)},
         {KD(32), toggle, KD(32), KU(32)}},
        {"a key the game has no code for", {Down(SDLK_AUDIOREWIND), Up(SDLK_AUDIOREWIND)}, {}},
        {"F12 is the screenshot's, with no modifier only",
         {Down(SDLK_F12), Again(SDLK_F12), Up(SDLK_F12), Down(SDLK_F12, KMOD_LCTRL)},
         {{Command::Screenshot}, KD(123)}},
        {"A, D and the keypad's 4 and 6 steer as the arrows",
         {Down(SDLK_a), Again(SDLK_a), Up(SDLK_a), Down(SDLK_KP_6), Up(SDLK_KP_6), Down(SDLK_d)},
         {KD(37), KD(37), KU(37), KD(39), KU(39), KD(39)}},
    };
    for (const auto& c : cases) {
        InputRouter router;
        EXPECT_EQ(RouteAll(router, c.events), c.routed) << c.what;
    }
}

// Rebound keys give the game its own codes; an arrow or Space left out of every role gives
// nothing, and the other keys keep their codes.
TEST(InputRouter, KeyBindingsGiveTheGameItsOwnCodes) {
    InputRouter router;
    router.setKeyBindings({{SDLK_j}, {SDLK_l, SDLK_RIGHT}, {SDLK_BACKSPACE}, {}, {}, {}});
    EXPECT_EQ(RouteAll(router, {Down(SDLK_j), Up(SDLK_j), Down(SDLK_RIGHT), Down(SDLK_l),
                                Down(SDLK_BACKSPACE), Down(SDLK_LEFT), Down(SDLK_SPACE),
                                Down(SDLK_a), Down(SDLK_RETURN)}),
              (std::vector<Routed>{KD(37), KU(37), KD(39), KD(39), KD(32), KD(65), KD(13)}));
    // The editor reads the keys themselves: a bound key carries its own code and Ctrl too.
    const std::vector<Routed> own = RouteAll(router, {Down(SDLK_j, KMOD_LCTRL)});
    ASSERT_EQ(own.size(), 1u);
    EXPECT_EQ(own[0].key, 'J');
    EXPECT_TRUE(own[0].ctrl);
    // While typing, P and M are letters; F11 stays the window's.
    router.setTyping(true);
    EXPECT_EQ(RouteAll(router, {Down(SDLK_p), Down(SDLK_m), Down(SDLK_F11)}),
              (std::vector<Routed>{KD(80), KD(77), {Command::ToggleFullscreen}}));
    // Asked for a new binding: the next key pressed, whatever it is; Esc keeps the old one.
    router.setCapturing(true);
    EXPECT_EQ(
        RouteAll(router, {Down(SDLK_LSHIFT), Down(SDLK_F11), Up(SDLK_F11), Down(SDLK_ESCAPE)}),
        (std::vector<Routed>{{Command::BindKey, SDLK_F11}, {Command::Back}}));
}

// While paused nothing reaches the game; afterwards the game is told of the keys it held that
// were let go meanwhile, in order, and never of a key it was not given as pressed.
TEST(PauseGate, TheGameHearsOfEveryKeyLetGoDuringAPause) {
    const Routed click{Command::MouseDown, 1};
    // Steps: an input, or a pause ('p' for P, 'm' for the menu) taken ('+') or ended ('-').
    struct Step {
        char pause = 0, edge = 0;
        Routed input{};
    };
    const auto hold = [](char p) { return Step{p, '+'}; };
    const auto end = [](char p) { return Step{p, '-'}; };
    const auto in = [](Routed r) { return Step{0, 0, r}; };
    const struct {
        const char* what;
        std::vector<Step> steps;
        std::vector<Routed> game;
    } cases[] = {
        {"an arrow let go during the pause: released after it",
         {in(KD(39)), hold('p'), in(KD(39)), in(KU(39)), end('p')},
         {KD(39), KU(39)}},
        {"two let go, in their order; a third kept held",
         {in(KD(37)), in(KD(39)), in(KD(32)), hold('p'), in(KU(39)), in(KU(37)), end('p')},
         {KD(37), KD(39), KD(32), KU(39), KU(37)}},
        {"let go and pressed again during the pause: still held, nothing owed",
         {in(KD(39)), hold('p'), in(KU(39)), in(KD(39)), end('p'), in(KU(39))},
         {KD(39), KU(39)}},
        {"pressed during the pause: neither it nor its release, but its repeat",
         {hold('m'), in(KD(13)), end('m'), in(KU(13)), in(KD(37)), hold('p'), in(KD(39)), end('p'),
          in(KD(39)), in(KU(39))},
         {KD(37), KD(39), KU(39)}},
        {"two reasons: play resumes when both are gone",
         {in(KD(37)), hold('p'), hold('m'), in(KU(37)), end('m'), in(click), end('p'), in(click)},
         {KD(37), KU(37), click}},
    };
    for (const auto& c : cases) {
        PauseGate gate;
        std::vector<Routed> game;
        for (const Step& step : c.steps) {
            const PauseReason reason = step.pause == 'p' ? PauseReason::Player : PauseReason::Menu;
            if (step.edge == '+') {
                gate.hold(reason);
            } else if (step.edge == '-') {
                gate.release(reason, game);
            } else if (gate.pass(step.input)) {
                game.push_back(step.input);
            }
        }
        EXPECT_EQ(game, c.game) << c.what;
        EXPECT_FALSE(gate.paused()) << c.what;
    }
}

TEST(InputRouter, MousePressesCountOnlyOnThePicture) {
    InputRouter router;
    const std::vector<Routed> routed =
        RouteAll(router, {Press(100, 1000), Press(719, 1000), Press(3120, 180), Press(1920, 2000),
                          Press(720, 180), Press(1920, 1080, SDL_BUTTON_RIGHT),
                          Press(3119, 1979, SDL_BUTTON_MIDDLE), Press(1920, 1080, SDL_BUTTON_X1)});
    EXPECT_EQ(routed,
              (std::vector<Routed>{
                  {Command::MouseDown, 1}, {Command::MouseDown, 2}, {Command::MouseDown, 4}}));
}

// A virtual controller on SDL's game-controller API, as a player's would be.
class Controller : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(pads_.ok()) << pads_.error();
        plugIn();
    }
    void TearDown() override {
        unplug();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }

    void plugIn() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "hopla test pad";
        index_ = SDL_JoystickAttachVirtualEx(&desc);
        ASSERT_GE(index_, 0) << SDL_GetError();
        joystick_ = SDL_JoystickOpen(index_);
        ASSERT_NE(joystick_, nullptr) << SDL_GetError();
    }
    void unplug() {
        if (joystick_) SDL_JoystickClose(joystick_);
        if (index_ >= 0) SDL_JoystickDetachVirtual(index_);
        joystick_ = nullptr;
        index_ = -1;
    }

    // Every event SDL has now, routed at `now`.
    std::vector<Routed> pump(InputRouter& router, Duration now) {
        std::vector<Routed> out;
        SDL_Event e;
        while (SDL_PollEvent(&e) == 1) router.route(e, now, kFourK, 800, 600, out);
        return out;
    }
    void button(SDL_GameControllerButton b, bool down) {
        SDL_JoystickSetVirtualButton(joystick_, b, down ? 1 : 0);
    }
    void axis(SDL_GameControllerAxis a, Sint16 value) {
        SDL_JoystickSetVirtualAxis(joystick_, a, value);
    }

    SdlSubsystem pads_{SDL_INIT_GAMECONTROLLER};
    int index_ = -1;
    SDL_Joystick* joystick_ = nullptr;
};

TEST_F(Controller, ButtonsAndStickAreKeysAndMouseButtons) {
    InputRouter router(RepeatTiming{milliseconds(500), milliseconds(30)});
    pump(router, Duration(0));
    ASSERT_EQ(router.controllers(), 1u);
    EXPECT_EQ(router.family(), InputFamily::Keyboard);  // till a button is pressed
    const auto at = [](int ms) { return Duration(milliseconds(ms)); };
    const struct {
        const char* what;
        std::function<void()> act;
        std::vector<Routed> routed;
    } steps[] = {
        {"d-pad left", [&] { button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true); }, {KD(37)}},
        {"stick left as well: still one key", [&] { axis(SDL_CONTROLLER_AXIS_LEFTX, -30000); }, {}},
        {"d-pad let go, stick still left",
         [&] { button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false); },
         {}},
        {"stick back within its dead zone",
         [&] { axis(SDL_CONTROLLER_AXIS_LEFTX, 10000); },
         {KU(37)}},
        {"stick half right", [&] { axis(SDL_CONTROLLER_AXIS_LEFTX, 20000); }, {KD(39)}},
        {"stick eased off but not released", [&] { axis(SDL_CONTROLLER_AXIS_LEFTX, 13000); }, {}},
        {"stick flicked left", [&] { axis(SDL_CONTROLLER_AXIS_LEFTX, -32768); }, {KU(39), KD(37)}},
        {"stick centred", [&] { axis(SDL_CONTROLLER_AXIS_LEFTX, 0); }, {KU(37)}},
        {"Start", [&] { button(SDL_CONTROLLER_BUTTON_START, true); }, {KD(32)}},
        {"Start let go", [&] { button(SDL_CONTROLLER_BUTTON_START, false); }, {KU(32)}},
        {"Back", [&] { button(SDL_CONTROLLER_BUTTON_BACK, true); }, {KD(32)}},
        {"left shoulder: faster",
         [&] { button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, true); },
         {{Command::MouseDown, 1}}},
        {"right shoulder: slower",
         [&] { button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true); },
         {{Command::MouseDown, 2}}},
        {"A, B, d-pad up and down: the menu's",
         [&] {
             for (const auto b : {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B,
                                  SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_DOWN})
                 button(b, true);
         },
         {{Command::Select}, {Command::Back}, {Command::Up}, {Command::Down}}},
        {"Y: the editor's action",
         [&] { button(SDL_CONTROLLER_BUTTON_Y, true); },
         {{Command::Action}}},
        {"right trigger past half: next page",
         [&] { axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 20000); },
         {{Command::PageNext}}},
        {"pulled further: nothing more",
         [&] { axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767); },
         {}},
        {"let go, left trigger pulled",
         [&] {
             axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0);
             axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
         },
         {{Command::PagePrevious}}},
        {"Start with Back held: the menu",
         [&] { button(SDL_CONTROLLER_BUTTON_START, true); },
         {{Command::Menu}}},
        {"Guide: the menu", [&] { button(SDL_CONTROLLER_BUTTON_GUIDE, true); }, {{Command::Menu}}},
        {"a new binding asked for: X is taken",
         [&] {
             router.setCapturing(true);
             button(SDL_CONTROLLER_BUTTON_X, true);
         },
         {{Command::BindButton, SDL_CONTROLLER_BUTTON_X}}},
        {"... and B is Back",
         [&] {
             button(SDL_CONTROLLER_BUTTON_B, false);
             pump(router, Duration(0));  // SDL sees a state, not the presses between two looks
             button(SDL_CONTROLLER_BUTTON_B, true);
         },
         {{Command::Back}}},
        {"X bound to Right steers right",
         [&] {
             router.setCapturing(false);
             KeyBindings keys;
             keys.padRight = {SDL_CONTROLLER_BUTTON_X};
             router.setKeyBindings(keys);
             button(SDL_CONTROLLER_BUTTON_X, false);
             pump(router, Duration(0));
             button(SDL_CONTROLLER_BUTTON_X, true);
         },
         {KD(39)}},
        {"X let go, the defaults again",
         [&] {
             button(SDL_CONTROLLER_BUTTON_X, false);
             router.setKeyBindings({});
         },
         {KU(39)}},
        {"d-pad right held", [&] { button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true); }, {KD(39)}},
    };
    int t = 0;
    for (const auto& step : steps) {
        step.act();
        EXPECT_EQ(pump(router, at(t)), step.routed) << step.what;
        t += 10;
    }
    EXPECT_EQ(router.family(), InputFamily::Xbox);  // SDL's virtual controller: no maker's
    // Held: the keyboard's repeat, first after the delay, then at the rate.
    ASSERT_EQ(router.nextRepeat(), at(t - 10 + 500));
    std::vector<Routed> repeats;
    router.repeatDue(at(t - 10 + 500 + 65), repeats);
    EXPECT_EQ(repeats, (std::vector<Routed>{KD(39), KD(39), KD(39)}));
    // Unplugged while held: the keys are let go and nothing repeats any more.
    unplug();
    EXPECT_EQ(pump(router, at(t + 600)), (std::vector<Routed>{KU(32), KU(39)}));
    EXPECT_EQ(router.controllers(), 0u);
    EXPECT_EQ(router.nextRepeat(), std::nullopt);
}

// The ball's track, tick by tick, with Right held for 1.5 s through the keyboard or a controller.
using Track = std::vector<std::pair<int, int>>;

struct Timed {
    Duration at;
    SDL_Event event;
};

// Runs the game to `until`; input due at the time of a tick goes first, as in the real loop.
void Drive(SimCore& sim, InputRouter& router, std::deque<Timed>& keyboard, Duration until) {
    for (;;) {
        std::optional<Duration> next = router.nextRepeat();
        if (!keyboard.empty() && (!next || keyboard.front().at < *next)) next = keyboard.front().at;
        if (!next || *next > until) break;
        sim.runUntil(SimCore::ToMs(*next) - 1e-6);
        sim.clock().advanceTo(*next);
        std::vector<Routed> out;
        if (!keyboard.empty() && keyboard.front().at == *next) {
            router.route(keyboard.front().event, *next, kFourK, 800, 600, out);
            keyboard.pop_front();
        } else {
            router.repeatDue(*next, out);
        }
        for (const Routed& r : out) {
            if (r.command == Command::KeyDown) sim.keyDown(r.code);
            if (r.command == Command::KeyUp) sim.keyUp(r.code);
        }
    }
    sim.runUntil(SimCore::ToMs(until));
}

TEST_F(Controller, AHeldDirectionGivesTheBallTheTrackOfAHeldArrowKey) {
    const RepeatTiming keyboardRepeat;  // the X server's 660 ms and 40 ms
    const auto hold = milliseconds(1500), after = milliseconds(1000);

    // A game in the title room, the ball bouncing in place.
    auto start = [](Track& track, ObserverHandle& tracking) {
        auto sim = std::make_unique<SimCore>(7, HOPLA_BUILD_DIR, WaveFileLength);
        sim->runUntil(10500);
        EXPECT_TRUE(sim->form().Timer1.running());
        tracking = sim->game().observe([&track, s = sim.get()](std::string_view handler) {
            if (handler == "Timer1") track.emplace_back(s->state().TrailX[0], s->state().TrailY[0]);
        });
        return sim;
    };

    // The keyboard: the press, the X server's repeats, the release.
    Track keys;
    {
        ObserverHandle tracking;
        auto sim = start(keys, tracking);
        InputRouter router(keyboardRepeat);
        const Duration t0 = sim->clock().now();
        std::deque<Timed> keyboard{{t0, Down(SDLK_RIGHT)}};
        for (Duration t = t0 + keyboardRepeat.delay; t < t0 + hold; t += keyboardRepeat.interval)
            keyboard.push_back({t, Again(SDLK_RIGHT)});
        keyboard.push_back({t0 + hold, Up(SDLK_RIGHT)});
        Drive(*sim, router, keyboard, t0 + hold + after);
    }

    // The controller's d-pad, then its stick, held over the same ticks.
    for (const bool stick : {false, true}) {
        Track pad;
        ObserverHandle tracking;
        auto sim = start(pad, tracking);
        InputRouter router(keyboardRepeat);
        unplug();  // plugged in again while playing
        plugIn();
        pump(router, Duration(0));
        ASSERT_EQ(router.controllers(), 1u);
        const Duration t0 = sim->clock().now();
        std::deque<Timed> none;
        auto set = [&](bool on) {
            if (stick)
                axis(SDL_CONTROLLER_AXIS_LEFTX, on ? 32767 : 0);
            else
                button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, on);
        };
        auto deliver = [&](Duration at) {
            for (const Routed& r : pump(router, at)) {
                if (r.command == Command::KeyDown) sim->keyDown(r.code);
                if (r.command == Command::KeyUp) sim->keyUp(r.code);
            }
        };
        set(true);
        deliver(t0);
        Drive(*sim, router, none, t0 + hold - Duration(1));
        sim->clock().advanceTo(t0 + hold);
        set(false);
        deliver(t0 + hold);
        Drive(*sim, router, none, t0 + hold + after);
        EXPECT_EQ(pad, keys) << (stick ? "stick" : "d-pad");
    }

    // And the key did move the ball: without it the ball bounces in place.
    Track still;
    {
        ObserverHandle tracking;
        auto sim = start(still, tracking);
        sim->runFor(SimCore::ToMs(hold + after));
    }
    // (Held long enough, Right takes the ball out of the title room into a game.)
    ASSERT_GE(still.size(), keys.size());
    still.resize(keys.size());
    EXPECT_NE(still, keys);
    EXPECT_NE(keys.back().first, keys.front().first);
}

}  // namespace
}  // namespace hopla
