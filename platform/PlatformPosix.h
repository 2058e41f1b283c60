// What the POSIX calls that Linux and the browser share (PlatformPosix.cpp) ask of the system
// they are built for.
#pragma once

#include <string>

namespace hopla {

// Called by ReplaceFile, WriteNewFile and RenameFile after each has put a file in place at
// `path`: the browser writes its kept folder back to IndexedDB there; Linux has nothing to do.
void FileChanged(const std::string& path);

}  // namespace hopla
