// What the window tests share: SDL's virtual game controller of a maker's face layout, plugged
// in for its scope; the video driver a test opens its window on; the window's picture read back.
#pragma once

#include <SDL.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

#include "frontend/SdlHandles.h"
#include "toolkit/Image.h"

namespace hopla::testing {

// A controller of each face layout, as SDL tells them apart: by maker and product number.
enum class PadMaker { Xbox, PlayStation, Nintendo };

// Sets an environment variable for the scope, as it was before afterwards. SDL's own setter, so
// that SDL reads it on Windows too.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = SDL_getenv(name)) old_ = old;
        SDL_setenv(name, value, 1);
    }
    ~ScopedEnv() { SDL_setenv(name_, old_ ? old_->c_str() : "", 1); }  // "": SDL's unset
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};

// The invisible video driver, or the one HOPLA_TEST_VIDEO names (x11, when a test runs under a
// virtual X server), for the scope.
class TestVideo {
  public:
    TestVideo() : env_("SDL_VIDEODRIVER", Driver()) {}

  private:
    static const char* Driver() {
        const char* driver = std::getenv("HOPLA_TEST_VIDEO");
        return driver && *driver ? driver : "dummy";
    }
    ScopedEnv env_;
};

// Plugged in at construction (SDL's library must be initialised); `error` says why not. The
// window of a test never has the focus, which SDL asks of controller input by default.
class VirtualPad {
  public:
    explicit VirtualPad(PadMaker maker = PadMaker::Xbox) {
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        if (!subsystem_.ok()) {
            error = subsystem_.error();
            return;
        }
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        switch (maker) {  // an Xbox One S, a DualShock 4, a Switch Pro Controller
            case PadMaker::Xbox:
                desc.vendor_id = 0x045E;
                desc.product_id = 0x02EA;
                break;
            case PadMaker::PlayStation:
                desc.vendor_id = 0x054C;
                desc.product_id = 0x09CC;
                break;
            case PadMaker::Nintendo:
                desc.vendor_id = 0x057E;
                desc.product_id = 0x2009;
                break;
        }
        index_ = SDL_JoystickAttachVirtualEx(&desc);
        if (index_ >= 0) joystick_ = SDL_JoystickOpen(index_);
        if (!joystick_) error = SDL_GetError();
    }
    ~VirtualPad() {
        if (joystick_) SDL_JoystickClose(joystick_);
        if (index_ >= 0) SDL_JoystickDetachVirtual(index_);
    }
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    // Held or let go, seen at the loop's next reading of the controllers.
    void set(SDL_GameControllerButton button, bool down) const {
        SDL_JoystickSetVirtualButton(joystick_, button, down ? 1 : 0);
    }
    void setAxis(SDL_GameControllerAxis axis, Sint16 value) const {
        SDL_JoystickSetVirtualAxis(joystick_, axis, value);
    }
    // Pressed and let go `times`, each state seen by one round of `loop` (an SdlApp, a
    // WindowRunner) run here: no time passes between them, but for Guide, which SDL holds down
    // for at least 250 ms (a shorter press's release comes later, and a press meanwhile is
    // dropped).
    template <typename Loop>
    void press(Loop& loop, SDL_GameControllerButton button, int times = 1) const {
        for (int i = 0; i < times; ++i)
            for (const bool down : {true, false}) {
                if (!down && button == SDL_CONTROLLER_BUTTON_GUIDE)
                    std::this_thread::sleep_for(std::chrono::milliseconds(260));
                set(button, down);
                loop.step();
            }
    }
    // For a loop running in another thread: pressed and let go `times`, each state held `hold`,
    // long enough for a loop on a busy machine to see.
    void press(SDL_GameControllerButton button, int times = 1,
               std::chrono::milliseconds hold = std::chrono::milliseconds(250)) const {
        for (int i = 0; i < times; ++i)
            for (const bool down : {true, false}) {
                set(button, down);
                std::this_thread::sleep_for(hold);
            }
    }

    std::string error;

  private:
    SdlSubsystem subsystem_{SDL_INIT_JOYSTICK};
    int index_ = -1;
    SDL_Joystick* joystick_ = nullptr;
};

// The window's picture as SDL last sent it to the window system, as 0xRRGGBB pixels; an empty
// one when SDL cannot say.
inline Image WindowPicture(SDL_Window* window) {
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    SDL_Surface* rgb =
        surface ? SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_RGB888, 0) : nullptr;
    if (!rgb) return {};
    Image picture(rgb->w, rgb->h);
    for (int y = 0; y < rgb->h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            static_cast<const std::uint8_t*>(rgb->pixels) + y * rgb->pitch);
        for (int x = 0; x < rgb->w; ++x) picture.at(x, y) = row[x] & 0xFFFFFFu;
    }
    SDL_FreeSurface(rgb);
    return picture;
}

}  // namespace hopla::testing
