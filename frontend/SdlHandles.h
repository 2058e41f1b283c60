// Owning wrappers for the SDL handles of the frontend: each closes what it opened.
#pragma once

#include <SDL.h>

#include <memory>
#include <string>

namespace hopla {

// One SDL subsystem (video, audio, events), initialised for the wrapper's lifetime. SDL counts
// initialisations, so several wrappers of the same subsystem may coexist.
class SdlSubsystem {
  public:
    explicit SdlSubsystem(Uint32 flags) {
        if (SDL_InitSubSystem(flags) == 0)
            flags_ = flags;
        else
            error_ = SDL_GetError();
    }
    ~SdlSubsystem() {
        if (flags_ != 0) SDL_QuitSubSystem(flags_);
    }
    SdlSubsystem(const SdlSubsystem&) = delete;
    SdlSubsystem& operator=(const SdlSubsystem&) = delete;

    bool ok() const { return flags_ != 0; }
    // Why initialisation failed; empty when it worked.
    const std::string& error() const { return error_; }

  private:
    Uint32 flags_ = 0;
    std::string error_;
};

// Shuts the whole library down (hints, leftover subsystems) when the program leaves main.
class SdlLibrary {
  public:
    SdlLibrary() = default;
    ~SdlLibrary() { SDL_Quit(); }
    SdlLibrary(const SdlLibrary&) = delete;
    SdlLibrary& operator=(const SdlLibrary&) = delete;
};

struct SdlDeleter {
    void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
    void operator()(SDL_AudioStream* stream) const { SDL_FreeAudioStream(stream); }
    void operator()(char* text) const { SDL_free(text); }
    void operator()(SDL_GameController* pad) const { SDL_GameControllerClose(pad); }
};

using WindowHandle = std::unique_ptr<SDL_Window, SdlDeleter>;
using AudioStreamHandle = std::unique_ptr<SDL_AudioStream, SdlDeleter>;
using SdlText = std::unique_ptr<char, SdlDeleter>;  // strings SDL allocates for the caller
using ControllerHandle = std::unique_ptr<SDL_GameController, SdlDeleter>;

// An open audio output device; closing it stops its callback thread before returning.
class AudioDevice {
  public:
    AudioDevice() = default;
    explicit AudioDevice(SDL_AudioDeviceID id) : id_(id) {}
    ~AudioDevice() { close(); }
    AudioDevice(AudioDevice&& other) noexcept : id_(other.id_) { other.id_ = 0; }
    AudioDevice& operator=(AudioDevice&& other) noexcept {
        if (this != &other) {
            close();
            id_ = other.id_;
            other.id_ = 0;
        }
        return *this;
    }
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    SDL_AudioDeviceID id() const { return id_; }
    explicit operator bool() const { return id_ != 0; }

  private:
    void close() {
        if (id_ != 0) SDL_CloseAudioDevice(id_);
        id_ = 0;
    }
    SDL_AudioDeviceID id_ = 0;
};

}  // namespace hopla
