// Running a hopla-sim script in-process and collecting its parsed output lines.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "headless/SimCore.h"
#include "shell/GameFiles.h"
#include "support/TinyJson.h"
#include "tools/sim/Script.h"

namespace hopla::testing {

struct SimRun {
    int status = -1;
    std::vector<Json> lines;  // every output line, each of which must be valid JSON
    std::vector<std::string> raw;
    std::string err;

    // The output lines holding `key` (state lines: "StageNo"; sound lines: "sound").
    std::vector<Json> with(std::string_view key) const {
        std::vector<Json> found;
        for (const Json& line : lines) {
            if (line.has(key)) found.push_back(line);
        }
        return found;
    }
};

inline SimRun SimulateOn(SimCore& sim, std::string_view script) {
    std::istringstream in{std::string(script)};
    std::ostringstream out;
    std::ostringstream err;
    SimRun run;
    run.status = RunScript(sim, in, out, err);
    run.err = err.str();
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) {
        std::optional<Json> json = ParseJson(line);
        EXPECT_TRUE(json.has_value()) << "not JSON: " << line;
        if (json) run.lines.push_back(std::move(*json));
        run.raw.push_back(line);
    }
    return run;
}

// A fresh game with the wave files of the build directory.
inline SimRun Simulate(std::string_view script, std::uint32_t seed = 1) {
    SimCore sim(seed, HOPLA_BUILD_DIR, WaveFileLength);
    return SimulateOn(sim, script);
}

}  // namespace hopla::testing
