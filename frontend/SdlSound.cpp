// Playing the game's wave files through the platform's audio output with a single voice.
#include "frontend/SdlSound.h"
#include "frontend/SdlHandles.h"
#include "shell/GameFiles.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>
#include <thread>
#include <utility>

namespace hopla {
namespace {

// How long past its end a waited-for sound may take before the wait gives up on a stalled device.
constexpr auto kStallAllowance = std::chrono::milliseconds(250);
// Silence put after a sound before resampling, so that SDL's flush hands over all of the sound:
// its resampler keeps back some hundreds of frames of the slower of the two rates, so this many
// frames of the sound's rate and as many again at the device's rate are more than enough.
// Within the rates a sound may have that is under 0.3 s, so the work follows the sound's length.
constexpr std::size_t kLookAheadFrames = 1024;

}  // namespace

std::vector<std::int16_t> ConvertForDevice(const Wave& wave) {
    if (wave.samples.empty() || !WithinWaveLimits(wave)) return {};
    AudioStreamHandle stream(SDL_NewAudioStream(AUDIO_S16SYS, static_cast<Uint8>(wave.channels),
                                                wave.rate, AUDIO_S16SYS, kDeviceChannels,
                                                kDeviceRate));
    if (!stream) return {};
    // SDL's flush loses the resampler's look-ahead when the input came in one large piece, so a
    // tail of silence goes in after the sound and what comes of it is not taken below.
    const std::size_t tailFrames =
        kLookAheadFrames + kLookAheadFrames * static_cast<std::size_t>(wave.rate) / kDeviceRate;
    const std::vector<std::int16_t> tail(tailFrames * static_cast<std::size_t>(wave.channels), 0);
    for (const std::vector<std::int16_t>* piece : {&wave.samples, &tail}) {
        const int bytes = static_cast<int>(piece->size() * sizeof(std::int16_t));
        if (SDL_AudioStreamPut(stream.get(), piece->data(), bytes) != 0) return {};
    }
    if (SDL_AudioStreamFlush(stream.get()) != 0) return {};
    const auto frames = static_cast<std::size_t>(
        (static_cast<long long>(wave.frames()) * kDeviceRate + wave.rate - 1) / wave.rate);
    std::vector<std::int16_t> out(frames * kDeviceChannels);
    std::size_t have = 0;
    while (have < out.size()) {
        const int got =
            SDL_AudioStreamGet(stream.get(), out.data() + have,
                               static_cast<int>((out.size() - have) * sizeof(std::int16_t)));
        if (got <= 0) break;
        have += static_cast<std::size_t>(got) / sizeof(std::int16_t);
    }
    out.resize(have);
    return out;
}

SdlSound::SdlSound(bool openDevice, Hold hold) : hold_(std::move(hold)) {
    if (!openDevice) return;
    std::string problem;
    output_ = OpenAudioOutput(&SdlSound::Fill, this, problem);
    if (!output_)
        std::fprintf(stderr, "hopla: no sound device (%s); the game plays silently\n",
                     problem.c_str());
}

std::shared_ptr<const SdlSound::Clip> SdlSound::load(const std::string& path) {
    auto [it, fresh] = cache_.try_emplace(path);
    if (!fresh) return it->second;
    std::optional<Wave> wave;
    std::string problem;
    try {
        wave = ReadWaveFile(path, &problem);
    } catch (const std::exception& e) {
        problem = e.what();  // out of memory: silence like any other unplayable file
    }
    // Once per file, since the outcome is cached.
    if (!wave && !problem.empty())
        std::fprintf(stderr, "hopla: %s is silent: %s\n", path.c_str(), problem.c_str());
    if (wave && wave->length() > Duration(0)) {
        auto clip = std::make_shared<Clip>();
        clip->length = wave->length();
        if (output_) clip->samples = ConvertForDevice(*wave);
        it->second = std::move(clip);
    }
    return it->second;
}

void SdlSound::play(const std::string& path, bool wait) {
    std::shared_ptr<const Clip> clip = load(path);
    std::unique_lock lock(mutex_);
    // A new sound, even a silent one, cuts off the one playing.
    voice_ = clip && !clip->samples.empty() ? clip : nullptr;
    position_ = 0;
    if (!wait || !clip) return;
    if (hold_) {
        lock.unlock();
        hold_(clip->length);
    } else if (voice_) {
        // The callback drops the voice when it has handed over the last sample; if the device
        // stalls, the wait ends a little after the sound's own length.
        const auto deadline = std::chrono::steady_clock::now() + clip->length + kStallAllowance;
        voiceEnded_.wait_until(lock, deadline, [&] { return voice_ != clip; });
    } else {
        lock.unlock();
        std::this_thread::sleep_for(clip->length);
    }
}

void SdlSound::stop(bool) {
    std::lock_guard lock(mutex_);
    voice_ = nullptr;
    position_ = 0;
}

void SdlSound::setVolume(int percent) {
    volume_.store(std::clamp(percent, 0, 100), std::memory_order_relaxed);
}

void SdlSound::setPaused(bool paused) {
    if (output_) output_->setPaused(paused);
}

void SdlSound::Fill(void* self, std::int16_t* out, std::size_t count) {
    static_cast<SdlSound*>(self)->fill(out, count);
}

void SdlSound::fill(std::int16_t* out, std::size_t count) {
    std::size_t written = 0;
    {
        std::lock_guard lock(mutex_);
        if (voice_) {
            const std::vector<std::int16_t>& samples = voice_->samples;
            if (position_ >= samples.size()) {
                // The buffer with the last samples has been taken by the device: the sound ends.
                voice_ = nullptr;
                position_ = 0;
                voiceEnded_.notify_all();
            } else {
                written = std::min(count, samples.size() - position_);
                const int volume = volume_.load(std::memory_order_relaxed);
                if (volume >= 100) {
                    std::memcpy(out, samples.data() + position_, written * sizeof(std::int16_t));
                } else {
                    const std::int16_t* from = samples.data() + position_;
                    for (std::size_t i = 0; i < written; ++i)
                        out[i] = static_cast<std::int16_t>(from[i] * volume / 100);
                }
                position_ += written;
            }
        }
    }
    std::memset(out + written, 0, (count - written) * sizeof(std::int16_t));
}

}  // namespace hopla
