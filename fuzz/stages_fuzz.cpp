// Fuzzer of the stage file reader: any bytes give a stage file or one StageFileError, nothing
// else; a stage file read formats back to text that reads as the same file.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "stage/StageFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::optional<hopla::StageFile> file;
    try {
        file = hopla::ParseStages(text, "fuzz.stages");
    } catch (const hopla::StageFileError&) {
    }
    // Outside the handler: a StageFileError here escapes and stops the fuzzer.
    if (file && !(hopla::ParseStages(hopla::FormatStages(*file), "again.stages") == *file))
        __builtin_trap();
    return 0;
}
