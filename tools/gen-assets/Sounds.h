// The game's eight sound effects, synthesised.
#pragma once

#include <string>
#include <vector>

#include "tools/gen-assets/Synth.h"

namespace hopla::gen {

struct NamedSound {
    std::string file;  // the name the game plays it by
    Samples samples;
};

std::vector<NamedSound> MakeSounds();

}  // namespace hopla::gen
