// Stage files, demos and wave files read whole through the platform's one reader and handed to
// their parsers, which see only text and bytes.
#pragma once

#include <optional>
#include <string>

#include "demo/Demo.h"
#include "demo/DemoFile.h"
#include "stage/StageFile.h"
#include "toolkit/Clock.h"
#include "toolkit/Wave.h"

namespace hopla {

// Reads and checks a whole stage file. A missing file, a directory, a FIFO or other special
// file, a file over kMaxStageFileBytes, binary bytes, text that is not UTF-8, or any line that
// breaks the format throws StageFileError, one line naming the file; nothing else is thrown for
// bad input.
StageFile ReadStageFile(const std::string& path);

// The whole text of a demo file; a missing or unreadable file, a special file or one over
// kMaxDemoBytes throws DemoError naming it.
std::string ReadDemoText(const std::string& path);
// Reads and checks a whole demo (ParseDemo over ReadDemoText).
Demo ReadDemoFile(const std::string& path);

// A wave file decoded (DecodeWave); nullopt for a missing file, a directory or a device too,
// the problem named ("the file is missing", "not a regular file"). A file larger than
// kMaxWaveFileBytes is refused unread.
std::optional<Wave> ReadWaveFile(const std::string& path, std::string* problem = nullptr);
// How long the wave file at `path` plays; 0 when it cannot be read or decoded. What the
// headless runner's waiting sounds take of the virtual clock.
Duration WaveFileLength(const std::string& path);

}  // namespace hopla
