// Finding a font file for a face name through fontconfig, with the game's fallbacks.
#pragma once

#include <string>

namespace hopla {

// Tries the face itself, "MS PGothic", "IPAPGothic", any face covering Japanese, then any
// sans-serif face. Empty when fontconfig knows no font at all. Each face is asked of
// fontconfig once per process.
std::string FindFontFile(const std::string& face);

}  // namespace hopla
