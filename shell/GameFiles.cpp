// Reading the game's files through the platform, with the messages the players know.
#include "shell/GameFiles.h"

#include "platform/Platform.h"

namespace hopla {
namespace {

// The file at `path`, or the phrase of `what` that says why it cannot be read: "cannot read
// the demo: no such file", or `tooLarge` for a file over `maxBytes`.
template <typename Error>
std::string ReadWhole(const std::string& path, std::uintmax_t maxBytes, const std::string& what,
                      const std::string& tooLarge) {
    SmallFile file = ReadSmallFile(path, static_cast<std::size_t>(maxBytes));
    if (file.text) return std::move(*file.text);
    if (file.tooLarge) throw Error(path + ": " + tooLarge);
    throw Error(path + ": cannot read " + what + ": " +
                (file.error.empty() ? std::string("no such file") : file.error));
}

}  // namespace

StageFile ReadStageFile(const std::string& path) {
    const std::string text =
        ReadWhole<StageFileError>(path, kMaxStageFileBytes, "the stages",
                                  "larger than " + std::to_string(kMaxStageFileBytes >> 20) +
                                      " MiB: not a stage file this program reads");
    return ParseStages(text, path);
}

std::string ReadDemoText(const std::string& path) {
    return ReadWhole<DemoError>(path, kMaxDemoBytes, "the demo",
                                "larger than " + std::to_string(kMaxDemoBytes >> 20) +
                                    " MiB: not a demo this program reads");
}

Demo ReadDemoFile(const std::string& path) {
    return ParseDemo(ReadDemoText(path), path);
}

std::optional<Wave> ReadWaveFile(const std::string& path, std::string* problem) {
    const SmallFile file = ReadSmallFile(path, static_cast<std::size_t>(kMaxWaveFileBytes));
    if (!file.text) {
        if (problem)
            *problem = file.tooLarge
                           ? "larger than " + std::to_string(kMaxWaveFileBytes >> 20) + " MB"
                       : file.error.empty() ? std::string("the file is missing")
                                            : file.error;
        return std::nullopt;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(file.text->data());
    return DecodeWave({bytes, file.text->size()}, problem);
}

Duration WaveFileLength(const std::string& path) {
    const std::optional<Wave> wave = ReadWaveFile(path);
    return wave ? wave->length() : Duration(0);
}

}  // namespace hopla
