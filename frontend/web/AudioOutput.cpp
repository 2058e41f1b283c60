// The sound's output in the browser: the page's AudioWorklet (frontend/web/sound-worklet.js),
// which asks through its port for the samples it will play next; the page's event loop answers
// with a block mixed here. Where the page has no worklet (an old browser, or one whose audio runs
// at another rate) SDL's own output, on the deprecated ScriptProcessorNode.
#include <emscripten.h>

#include <cstdint>
#include <vector>

#include "frontend/AudioOutput.h"
#include "frontend/SdlSound.h"

namespace hopla {
namespace {

// clang-format off
// Whether the page made the worklet's node (index.html, on the first click or tap).
EM_JS(int, HoplaWorkletReady, (), { return Module.hoplaSound ? 1 : 0; });
// From now on each of the worklet's asks for `need` frames is answered with that many, mixed by
// _hopla_sound_pull (interleaved 16-bit) and handed over as one Float32Array per channel.
EM_JS(void, HoplaWorkletConnect, (void* output, int channels), {
    var node = Module.hoplaSound;
    node.port.onmessage = function(event) {
        Module.hoplaSoundHeard = event.data.heard;
        var frames = event.data.need;
        var at = Module._hopla_sound_pull(output, frames) >> 1;
        var blocks = [];
        for (var c = 0; c < channels; c++) {
            var block = new Float32Array(frames);
            for (var i = 0; i < frames; i++) block[i] = HEAP16[at + i * channels + c] / 32768;
            blocks.push(block);
        }
        node.port.postMessage(blocks, blocks.map(function(b) { return b.buffer; }));
    };
    node.port.postMessage("start");
});
// No more asks answered; what the worklet still holds is dropped.
EM_JS(void, HoplaWorkletDisconnect, (), {
    Module.hoplaSound.port.onmessage = null;
    Module.hoplaSound.port.postMessage("stop");
});
// clang-format on

class WorkletOutput final : public AudioOutput {
  public:
    WorkletOutput(Fill fill, void* user) : fill_(fill), user_(user) {
        HoplaWorkletConnect(this, kDeviceChannels);
    }
    ~WorkletOutput() override { HoplaWorkletDisconnect(); }
    WorkletOutput(const WorkletOutput&) = delete;
    WorkletOutput& operator=(const WorkletOutput&) = delete;

    void setPaused(bool paused) override { paused_ = paused; }

    // The next `frames` frames, silent while paused, in a buffer kept until the next call.
    const std::int16_t* pull(int frames) {
        block_.assign(static_cast<std::size_t>(frames > 0 ? frames : 0) * kDeviceChannels, 0);
        if (!paused_ && !block_.empty()) fill_(user_, block_.data(), block_.size());
        return block_.data();
    }

  private:
    Fill fill_;
    void* user_;
    bool paused_ = false;
    std::vector<std::int16_t> block_;
};

}  // namespace

std::unique_ptr<AudioOutput> OpenAudioOutput(AudioOutput::Fill fill, void* user,
                                             std::string& problem) {
    if (HoplaWorkletReady()) return std::make_unique<WorkletOutput>(fill, user);
    return OpenSdlAudioOutput(fill, user, problem);
}

}  // namespace hopla

// The page's answer to the worklet's ask (HoplaWorkletConnect).
extern "C" EMSCRIPTEN_KEEPALIVE const std::int16_t* hopla_sound_pull(void* output, int frames) {
    return static_cast<hopla::WorkletOutput*>(output)->pull(frames);
}
