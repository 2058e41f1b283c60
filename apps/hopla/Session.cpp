// Options first (nothing of SDL before they are known good), then settings, then the game.
#include "apps/hopla/Session.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "frontend/KeyCodes.h"
#include "platform/Platform.h"
#include "shell/DemoLink.h"
#include "shell/GameFiles.h"
#include "shell/Menu.h"
#include "shell/Options.h"
#include "shell/RecordKeeper.h"
#include "shell/Settings.h"
#include "shell/Splits.h"
#include "shell/StageLookup.h"
#include "toolkit/Environment.h"
#include "toolkit/Escape.h"
#include "toolkit/FilePath.h"
#include "toolkit/Output.h"
#include "toolkit/Text.h"

namespace hopla {
namespace {

// The menu's keys page below its rows (which name the keys bound to the game's three).
std::vector<std::string> KeyLines() {
    // In the browser F12 saves the picture as a download (frontend/web/Screenshot.cpp).
    const bool inPage = BuildTarget() == "web";
    std::vector<std::string> lines = DefaultKeyLines(inPage);
    lines.push_back(std::string(inPage ? "F12: save the picture" : "F12: screenshot") +
                    "   Enter or a click: skip the opening");
    return lines;
}

// An error that ends hopla before or instead of the game: one line on standard error, and
// the same in a message box where no one would read that (Windows, started from Explorer).
int Fatal(int status, const std::string& line) {
    std::fprintf(stderr, "hopla: %s\n", line.c_str());
    ShowFatalError(line);
    return status;
}

// --export-stages and --splits: `text` as the file `path` the player typed, on standard output
// for "-". A file already there is replaced only when --force says so; the folder must be there.
int WriteOut(const std::string& path, const std::string& text, bool force, const char* what) {
    if (path == "-") {
        std::fwrite(text.data(), 1, text.size(), stdout);
        if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return 0;
        std::fprintf(stderr, "hopla: cannot write the %s to standard output\n", what);
        return 1;
    }
    if (const std::optional<std::string> error = ReplaceFile(path, text, {false, force})) {
        std::fprintf(stderr, "hopla: %s%s\n", Escaped(*error).c_str(),
                     WhyNotWritable(path, {false, force}) == "already exists"
                         ? " (--force replaces it)"
                         : "");
        return 1;
    }
    return 0;
}

}  // namespace

Session::Session() = default;
Session::~Session() = default;

int Session::finish() {
    return link_ ? link_->finish(std::cerr) : 0;
}

// Fills a session; the one way to make one.
struct SessionStart {
    static Started Run(int argc, char** argv, const EditorEntry& edit, bool inBrowser);
};

Started StartHopla(int argc, char** argv, const EditorEntry& edit, bool inBrowser) {
    return SessionStart::Run(argc, argv, edit, inBrowser);
}

int HoplaMain(int argc, char** argv, const std::function<void(SdlApp&)>& prepare,
              const EditorEntry& edit) {
    Started started = StartHopla(argc, argv, edit, false);
    if (!started.session) return started.status;
    try {
        if (prepare) prepare(started.session->app());
        started.session->app().run();
        return started.session->finish();
    } catch (const std::exception& e) {
        return Fatal(1, e.what());
    }
}

Started SessionStart::Run(int argc, char** argv, const EditorEntry& edit, bool inBrowser) {
    const auto done = [](int status) { return Started{nullptr, status}; };
    ReachStartingConsole();
    KeepStandardStreamsApart();
    const std::vector<std::string_view> args(argv + std::min(argc, 1), argv + argc);
    const ParsedOptions parsed = ParseOptions(args);
    if (!parsed.options) {
        std::fprintf(stderr, "hopla: %s\n%s", parsed.error.c_str(), Usage().c_str());
        ShowFatalError(parsed.error);
        return done(2);
    }
    const Options& options = *parsed.options;
    if (options.help) {
        std::fputs(Usage().c_str(), stdout);
        return done(CheckedOutput("hopla", 0));
    }
    if (options.version) {
        std::printf("hopla %s\n", HOPLA_VERSION);
        return done(CheckedOutput("hopla", 0));
    }
    if (options.exportStages)
        return done(WriteOut(*options.exportStages, ExportGameStages(), options.force, "stages"));
    if (options.edit && !edit) {
        std::fputs("hopla: this program has no stage editor\n", stderr);
        return done(2);
    }
    // A stage file is read whole before anything starts.
    std::optional<ChosenStages> stages;
    if (options.stages) {
        try {
            stages = LoadStages(*options.stages, RecordsDir(), ExecutableDir());
        } catch (const StageFileError& e) {
            return done(Fatal(2, e.what()));
        }
    }
    // The records of a stage file are its own, as the menu's Records page shows them.
    if (options.records) {
        const LoadedRecords loaded = LoadRecords(
            RecordsDirFor(RecordsDir(), stages ? std::optional(stages->id) : std::nullopt),
            LocalNow());
        for (const std::string& warning : loaded.warnings)
            std::fprintf(stderr, "hopla: %s\n", warning.c_str());
        if (options.splits) {
            const std::optional<std::string> lss =
                LiveSplitFile(loaded.records, stages ? stages->id.name : "Any%");
            if (!lss) {
                std::fputs("hopla: no game finished yet: no splits to write\n", stderr);
                return done(1);
            }
            if (const int status = WriteOut(*options.splits, *lss, options.force, "splits"))
                return done(status);
            if (*options.splits == "-") return done(CheckedOutput("hopla", 0));
        }
        for (const std::string& line : RecordsSummary(loaded.records, !stages))
            std::printf("%s\n", line.c_str());
        if (!loaded.unreadable.empty() && loaded.warnings.empty())
            std::printf("%s\n", loaded.unreadable.c_str());
        for (const std::string& aside : loaded.putAside)
            std::printf("A damaged records file was put aside as %s\n", Escaped(aside).c_str());
        return done(CheckedOutput("hopla", 0));
    }

    // The command line wins over what was remembered, for this run.
    AppOptions app;
    app.settingsPath = SettingsPath();
    if (!app.settingsPath.empty()) {
        const LoadedSettings loaded = LoadSettings(app.settingsPath, KeyFromName);
        for (const std::string& warning : loaded.warnings)
            std::fprintf(stderr, "hopla: %s\n", warning.c_str());
        app.remembered = loaded.settings;
        app.fullscreenChosen =
            loaded.given.contains(Setting::Fullscreen) || loaded.given.contains(Setting::Scale);
    }
    // A scale asked for is a window asked for.
    for (const auto& [setting, value] : options.settings)
        if (setting == Setting::Fullscreen || setting == Setting::Scale)
            app.fullscreenChosen = true;
    app.settings = WithCommandLine(app.remembered, options, true);
    app.remembered = WithCommandLine(app.remembered, options, false);
    app.mute = options.mute;
    if (inBrowser) {
        app.settings.fullscreen = false;  // the browser goes to the whole screen only when asked
        app.fullscreenChosen = true;
        app.holdSounds = true;
    }

    // A demo is read, or its place checked (never opened: a pipe there would hold the game
    // before any window), before any window opens. The file itself comes with the window.
    std::optional<Demo> demo;
    if (options.record)
        if (const std::optional<std::string> why = WhyNotWritable(*options.record, kTypedPath))
            return done(
                Fatal(2, "cannot write the demo " + Escaped(*options.record) + ": " + *why));
    if (options.splitsOut && *options.splitsOut != "-")
        if (const std::optional<std::string> why = WhyNotWritable(*options.splitsOut, kTypedPath))
            return done(
                Fatal(2, "cannot write the splits " + Escaped(*options.splitsOut) + ": " + *why));
    if (options.play) {
        try {
            demo = ReadDemoFile(*options.play);
        } catch (const DemoError& e) {
            return done(Fatal(2, e.what()));
        }
        // A demo of a stage file finds the file itself when --stages does not name it.
        StagesForDemo chosen = ChooseStagesForDemo(*demo, stages, RecordsDir(), ExecutableDir());
        if (chosen.refusal) return done(Fatal(2, Escaped(*options.play) + ": " + *chosen.refusal));
        stages = std::move(chosen.stages);
    }
    std::optional<DemoStages> stagesId;
    if (stages) stagesId = stages->id;
    // Without a font every text would stay blank, the menu an empty box.
    if (FindFontFile(Font{}.face).empty()) return done(Fatal(1, NoFontAdvice()));
    if (options.edit) return done(edit(*options.edit, app));

    HangupEndsAsTermination();
    auto session = std::make_unique<Session>();
    try {
        const std::uint32_t seed = demo ? demo->seed : ClockSeed();
        session->app_ = std::make_unique<SdlApp>(seed, ExecutableDir(), app);
        SdlApp& game = *session->app_;
        // Right after start-up, before the first handler: no stage has been loaded yet.
        if (stages) game.game().applyStages(stages->file);
        if (demo) {
            session->link_ = DemoLink::Playing(game.game(), game.clock(), std::move(*demo),
                                               *options.play, std::cerr, StandardErrorIsTerminal());
        } else if (options.record) {
            session->link_ =
                DemoLink::Recording(game.game(), game.clock(), seed, *options.record, stagesId,
                                    app.settings.speed < RealClock::kFullRate ? DemoMaker::Assisted
                                                                              : DemoMaker::Person);
        }
        game.setDemo(session->link_.get());
        session->keeper_ = std::make_unique<RecordKeeper>(
            game.game(), game.clock(), seed, RecordsDirFor(RecordsDir(), stagesId),
            demo ? RecordFrom::Demo : RecordFrom::Play, stagesId);
        game.setRecordKeeper(session->keeper_.get());
        SdlApp::SplitSink splits;
        if (options.splitsOut) {
            std::ostream* out = &std::cout;
            if (*options.splitsOut != "-") {
                session->splitsFile_ = std::make_unique<std::ofstream>(
                    PathFromUtf8(*options.splitsOut), std::ios::binary | std::ios::trunc);
                if (!*session->splitsFile_)
                    throw std::runtime_error("cannot write the splits " +
                                             Escaped(*options.splitsOut));
                out = session->splitsFile_.get();
            }
            // Each line at once, for a timer that reads as the game goes.
            splits = [out](const Split& split) { *out << SplitLine(split) << std::endl; };
        }
        const LoadedRecords known = LoadRecords(RecordsDirFor(RecordsDir(), stagesId), LocalNow());
        for (const std::string& warning : known.warnings)
            std::fprintf(stderr, "hopla: %s\n", warning.c_str());
        game.setRace(BestGame(known.records), std::move(splits));
        // The ghost replays the best game's demo or each stage's best run's, those there are.
        RunDemos runs = LoadRunDemos(RecordsDirFor(RecordsDir(), stagesId));
        for (const std::string& warning : runs.warnings)
            std::fprintf(stderr, "hopla: %s\n", warning.c_str());
        if (runs.game || std::any_of(runs.stages.begin(), runs.stages.end(),
                                     [](const auto& run) { return run != nullptr; }))
            game.setGhost(std::make_unique<GhostRuns>(std::move(runs.game), std::move(runs.stages),
                                                      ExecutableDir(), WaveFileLength,
                                                      stages ? &stages->file : nullptr));
        game.setKeyLines([] { return KeyLines(); });
        game.setRecordLines([dir = RecordsDirFor(RecordsDir(), stagesId), own = !stagesId] {
            const LoadedRecords loaded = LoadRecords(dir, LocalNow());
            for (const std::string& warning : loaded.warnings)
                std::fprintf(stderr, "hopla: %s\n", warning.c_str());
            return RecordsSummary(loaded.records, own);
        });
    } catch (const std::exception& e) {
        return done(Fatal(1, e.what()));
    }
    return Started{std::move(session), 0};
}

}  // namespace hopla
