// hopla-sim's demo commands: a demo file played and reported in JSON lines, a cut one salvaged.
#include "tools/sim/Playback.h"

#include <cerrno>
#include <cstring>

#include "demo/DemoFile.h"
#include "headless/DemoPlayback.h"
#include "platform/Platform.h"
#include "shell/GameFiles.h"
#include "tools/sim/Json.h"
#include "tools/sim/StateJson.h"

namespace hopla {

int PlayDemoFile(const std::string& path, std::optional<double> untilMs, const std::string& exeDir,
                 std::ostream& out, std::ostream& err, const PlaybackProgressReport& progress,
                 const ChosenStages* stages) {
    Demo demo;
    try {
        demo = ReadDemoFile(path);
    } catch (const DemoError& e) {
        err << "hopla-sim: " << e.what() << '\n';
        return kPlaybackBadDemo;
    }
    const StagesForDemo chosen = ChooseStagesForDemo(
        demo, stages ? std::optional(*stages) : std::nullopt, RecordsDir(), exeDir);
    if (chosen.refusal) {
        err << "hopla-sim: " << Escaped(path) << ": " << *chosen.refusal << '\n';
        return kPlaybackBadDemo;
    }
    // What the demo says of its making, first; a demo of format 1 says nothing.
    if (demo.origin) {
        JsonWriter json;
        json.beginObject();
        json.key("program").string(demo.origin->program);
        json.key("version").string(demo.origin->version);
        json.key("target").string(demo.origin->target);
        json.key("made").string(MakerWord(demo.origin->maker));
        json.endObject();
        out << json.str() << '\n';
    }
    SimCore sim(demo.seed, exeDir, WaveFileLength);
    if (chosen.stages) sim.game().applyStages(chosen.stages->file);
    std::optional<PlaybackProgress> lines;
    if (progress.terminal)
        lines.emplace(sim.game(), demo.endPoint, "hopla-sim", err, progress.wallClock);
    PlaybackResult result;
    try {
        result = PlayDemo(sim, demo, untilMs, [&](const DemoCheck& played, bool matched) {
            JsonWriter json;
            json.beginObject();
            json.key("t").real(sim.nowMs());
            json.key("point").integer(static_cast<long long>(played.point));
            json.key("stage").integer(played.state.stage);
            json.key("check").string(matched ? "match" : "mismatch");
            json.endObject();
            out << json.str() << '\n';
        });
    } catch (const std::exception& e) {
        out.flush();
        err << "hopla-sim: " << path << ": the game stopped: " << e.what() << '\n';
        return kPlaybackMismatch;
    }
    out << StateLine(sim.nowMs(), sim.form(), sim.state(), false,
                     result.finished ? "end" : (result.mismatch ? "mismatch" : "until"))
        << '\n'
        << std::flush;
    if (result.mismatch) {
        err << "hopla-sim: " << path << ": " << result.mismatch->message() << '\n';
        return kPlaybackMismatch;
    }
    return kPlaybackMatched;
}

int SalvageDemoFile(const std::string& path, std::ostream& out, std::ostream& err) {
    std::string kept;
    Demo demo;
    try {
        kept = SalvageDemo(ReadDemoText(path), path);
        demo = ParseDemo(kept, path);
    } catch (const DemoError& e) {
        err << "hopla-sim: " << e.what() << '\n';
        return kPlaybackBadDemo;
    }
    errno = 0;
    if (!(out << kept << std::flush)) {
        err << "hopla-sim: cannot write the output"
            << (errno != 0 ? std::string(": ") + std::strerror(errno) : std::string()) << '\n';
        return kPlaybackMismatch;
    }
    const DemoCheck& last = demo.checks.back();
    err << "hopla-sim: " << path << ": kept up to point " << last.point << " (" << last.ms
        << " ms, stage " << last.state.stage << "): " << demo.checks.size() << " checks, "
        << demo.inputs.size() << " inputs\n";
    return kPlaybackMatched;
}

}  // namespace hopla
