// Routing of keys, mouse presses and controllers.
#include "frontend/InputRouter.h"

#include <algorithm>
#include <cstdlib>

#include "app/Keys.h"
#include "frontend/KeyCodes.h"
#include "platform/Platform.h"

namespace hopla {
namespace {

// The left stick counts as pushed past half its travel and as released under about a third,
// so that a stick held near the edge does not chatter.
constexpr int kStickPush = 16384;
constexpr int kStickRelease = 11000;

// Shift, Ctrl, Alt (AltGr too) and Super only change what other keys do.
bool IsModifier(SDL_Keycode sym) {
    switch (sym) {
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
        case SDLK_LCTRL:
        case SDLK_RCTRL:
        case SDLK_LALT:
        case SDLK_RALT:
        case SDLK_LGUI:
        case SDLK_RGUI:
        case SDLK_MODE:
            return true;
        default:
            return false;
    }
}

// The shell numbers a controller's buttons as SDL does.
static_assert(static_cast<int>(PadButton::South) == SDL_CONTROLLER_BUTTON_A);
static_assert(static_cast<int>(PadButton::DpadRight) == SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
static_assert(static_cast<int>(PadButton::Touchpad) == SDL_CONTROLLER_BUTTON_TOUCHPAD);

// The face layout of a controller type: its buttons' names follow it.
InputFamily FamilyOf(SDL_GameControllerType type) {
    switch (type) {
        case SDL_CONTROLLER_TYPE_PS3:
        case SDL_CONTROLLER_TYPE_PS4:
        case SDL_CONTROLLER_TYPE_PS5:
            return InputFamily::PlayStation;
        case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_PRO:
            return InputFamily::Nintendo;
        default:
            return InputFamily::Xbox;
    }
}

}  // namespace

std::optional<Command> WindowCommandOf(SDL_Keycode key, Uint16 modifiers) {
    const bool ctrl = modifiers & KMOD_CTRL, alt = modifiers & KMOD_ALT, gui = modifiers & KMOD_GUI;
    if (!ctrl && !alt && !gui) {
        switch (key) {
            case SDLK_F11:
                return Command::ToggleFullscreen;
            case SDLK_F12:
                return Command::Screenshot;
            case SDLK_ESCAPE:
                return Command::Menu;
            case SDLK_p:
            case SDLK_PAUSE:
                return Command::Pause;
            case SDLK_m:
                return Command::Mute;
            default:
                break;
        }
    }
    if ((key == SDLK_RETURN || key == SDLK_KP_ENTER) && alt && !ctrl && !gui)
        return Command::ToggleFullscreen;
    if (ctrl && !alt && !gui) {
        if (key == SDLK_PLUS || key == SDLK_EQUALS || key == SDLK_KP_PLUS) return Command::ScaleUp;
        if (key == SDLK_MINUS || key == SDLK_KP_MINUS) return Command::ScaleDown;
    }
    return std::nullopt;
}

void InputRouter::route(const SDL_Event& event, Duration now, const Layout& layout, int w, int h,
                        std::vector<Routed>& out) {
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (event.type == SDL_KEYDOWN) family_ = InputFamily::Keyboard;
            routeKey(event.key, out);
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (PictureAt(layout, w, h, event.button.x, event.button.y))
                if (const std::optional<int> button = MouseButtonFromSdl(event.button.button))
                    out.push_back({Command::MouseDown, *button});
            break;
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED:
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
        case SDL_CONTROLLERAXISMOTION:
            routeController(event, now, out);
            break;
        default:
            break;
    }
}

void InputRouter::routeKey(const SDL_KeyboardEvent& key, std::vector<Routed>& out) {
    const SDL_Keycode sym = key.keysym.sym;
    if (IsModifier(sym)) return;
    if (capturing_) {
        if (key.type == SDL_KEYDOWN && !key.repeat)
            out.push_back(sym == SDLK_ESCAPE ? Routed{Command::Back}
                                             : Routed{Command::BindKey, sym});
        return;
    }
    const int own = VirtualKeyFromSdl(sym).value_or(0);
    const bool ctrl = (key.keysym.mod & KMOD_CTRL) != 0;
    if (key.type == SDL_KEYUP) {
        if (windowKeysDown_.erase(sym) > 0) return;
        if (const std::optional<int> code = GameKeyOf(bindings_, sym))
            out.push_back({Command::KeyUp, *code, own, ctrl});
        return;
    }
    // A repeat belongs to whoever got the press.
    if (key.repeat && windowKeysDown_.contains(sym)) return;
    // While typing, the letters P and M type.
    const bool types = typing_ && (sym == SDLK_p || sym == SDLK_m);
    if (!key.repeat && !types) {
        windowKeysDown_.erase(sym);  // its release went astray (the window lost the focus)
        if (const std::optional<Command> command = WindowCommandOf(sym, key.keysym.mod)) {
            windowKeysDown_.insert(sym);
            out.push_back({*command});
            return;
        }
    }
    if (const std::optional<int> code = GameKeyOf(bindings_, sym))
        out.push_back({Command::KeyDown, *code, own, ctrl});
}

void InputRouter::routeController(const SDL_Event& event, Duration now, std::vector<Routed>& out) {
    if (event.type == SDL_CONTROLLERDEVICEADDED) {
        ControllerHandle handle(SDL_GameControllerOpen(event.cdevice.which));
        if (!handle) return;
        const SDL_JoystickID id =
            SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(handle.get()));
        // Already open: SDL counted a second opening, which the handle closes again.
        if (!pads_.contains(id)) {
            Pad& pad = pads_[id];
            pad.family = FamilyOf(SDL_GameControllerGetType(handle.get()));
            pad.handle = std::move(handle);
        }
        return;
    }
    if (event.type == SDL_CONTROLLERDEVICEREMOVED) {
        const auto it = pads_.find(event.cdevice.which);
        if (it == pads_.end()) return;
        pads_.erase(it);
        settle(now, out);  // what it held is let go
        return;
    }
    const SDL_JoystickID id =
        event.type == SDL_CONTROLLERAXISMOTION ? event.caxis.which : event.cbutton.which;
    const auto it = pads_.find(id);
    if (it == pads_.end()) return;
    Pad& pad = it->second;
    if (event.type == SDL_CONTROLLERBUTTONDOWN) family_ = pad.family;
    if (event.type == SDL_CONTROLLERAXISMOTION) {
        if (event.caxis.axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT ||
            event.caxis.axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT) {
            // A trigger counts once when pulled past half, again only after it was let go.
            const bool right = event.caxis.axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT;
            bool& pulled = right ? pad.rightTrigger : pad.leftTrigger;
            if (!pulled && event.caxis.value >= kStickPush) {
                pulled = true;
                out.push_back({right ? Command::PageNext : Command::PagePrevious});
            } else if (event.caxis.value < kStickRelease) {
                pulled = false;
            }
            return;
        }
        if (event.caxis.axis != SDL_CONTROLLER_AXIS_LEFTX) return;
        const int value = event.caxis.value;
        if (value <= -kStickPush)
            pad.stick = -1;
        else if (value >= kStickPush)
            pad.stick = 1;
        else if (std::abs(value) < kStickRelease)
            pad.stick = 0;
        settle(now, out);
        return;
    }
    const bool down = event.type == SDL_CONTROLLERBUTTONDOWN;
    const int button = event.cbutton.button;
    if (button < 0 || button >= kPadButtons) return;
    if (capturing_ && button != SDL_CONTROLLER_BUTTON_B) {
        if (down) out.push_back({Command::BindButton, button});
        return;
    }
    switch (button) {
        case SDL_CONTROLLER_BUTTON_GUIDE:
            if (down) out.push_back({Command::Menu});
            return;
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            if (down) out.push_back({Command::Up});
            return;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            if (down) out.push_back({Command::Down});
            return;
        case SDL_CONTROLLER_BUTTON_A:
            if (down) out.push_back({Command::Select});
            return;
        case SDL_CONTROLLER_BUTTON_B:
            if (down) out.push_back({Command::Back});
            return;
        case SDL_CONTROLLER_BUTTON_Y:
            if (down) out.push_back({Command::Action});
            return;
        case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
            if (down) out.push_back({Command::MouseDown, kMouseLeft});
            return;
        case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
            if (down) out.push_back({Command::MouseDown, kMouseRight});
            return;
        case SDL_CONTROLLER_BUTTON_START:
        case SDL_CONTROLLER_BUTTON_BACK: {
            // The second of the two pressed while the first is held: the menu.
            const PadButton other =
                button == SDL_CONTROLLER_BUTTON_START ? PadButton::Back : PadButton::Start;
            if (down && pad.held.contains(other)) out.push_back({Command::Menu});
            break;
        }
        default:
            break;
    }
    if (down)
        pad.held.insert(static_cast<PadButton>(button));
    else
        pad.held.erase(static_cast<PadButton>(button));
    settle(now, out);
}

void InputRouter::settle(Duration now, std::vector<Routed>& out) {
    const KeyBindings bindings = WithDefaults(bindings_);
    const auto holds = [](const Pad& pad, const std::vector<std::int32_t>& buttons) {
        return std::any_of(buttons.begin(), buttons.end(), [&](std::int32_t button) {
            return pad.held.contains(static_cast<PadButton>(button));
        });
    };
    std::set<int> held;
    for (const auto& [id, pad] : pads_) {
        if (pad.stick < 0 || holds(pad, bindings.padLeft)) held.insert(kVkLeft);
        if (pad.stick > 0 || holds(pad, bindings.padRight)) held.insert(kVkRight);
        if (holds(pad, bindings.padBack)) held.insert(kVkSpace);
    }
    for (const int code : padKeysDown_)
        if (!held.contains(code)) {
            out.push_back({Command::KeyUp, code});
            // As on the keyboard: letting go of the repeating key ends the repeat.
            if (repeatKey_ == code) repeatKey_.reset();
        }
    for (const int code : held)
        if (!padKeysDown_.contains(code)) {
            out.push_back({Command::KeyDown, code});
            // The last direction pressed is the one that repeats, as the last key on a keyboard.
            if (code == kVkLeft || code == kVkRight) {
                repeatKey_ = code;
                nextRepeat_ = now + repeat_.delay;
            }
        }
    padKeysDown_ = std::move(held);
}

std::optional<Duration> InputRouter::nextRepeat() const {
    if (!repeatKey_) return std::nullopt;
    return nextRepeat_;
}

void InputRouter::repeatDue(Duration now, std::vector<Routed>& out) {
    while (repeatKey_ && nextRepeat_ <= now) {
        out.push_back({Command::KeyDown, *repeatKey_});
        nextRepeat_ += repeat_.interval;
    }
}

RepeatTiming KeyboardRepeatOf(SDL_Window* window) {
    RepeatTiming timing;
    if (const std::optional<KeyRepeatMs> system = KeyRepeat(window)) {
        timing.delay = std::chrono::milliseconds(system->delayMs);
        timing.interval = std::chrono::milliseconds(system->intervalMs);
    }
    return timing;
}

}  // namespace hopla
