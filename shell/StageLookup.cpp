// Finding stage files by name, and the file a demo names by its name and hash.
#include "shell/StageLookup.h"

#include <cstdio>
#include <filesystem>

#include "demo/DemoStages.h"
#include "shell/GameFiles.h"
#include "toolkit/Escape.h"
#include "toolkit/FilePath.h"

#ifndef HOPLA_STAGES_FROM_EXE
#define HOPLA_STAGES_FROM_EXE "../../../share/games/hopla/stages"
#endif

namespace hopla {
namespace {

constexpr std::string_view kExtension = ".stages";

// A path names its file itself; a bare name is looked up in the stage folders.
bool IsPath(std::string_view arg) {
    return arg.empty() || arg.find('/') != std::string_view::npos ||
#ifdef _WIN32
           arg.find('\\') != std::string_view::npos ||
#endif
           arg.ends_with(kExtension);
}

bool Exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(PathFromUtf8(path), error);
}

std::string FileName(std::string_view name) {
    std::string file(name);
    if (!file.ends_with(kExtension)) file += kExtension;
    return file;
}

// The stage file at `path` when it is one and its table has `hash`.
std::optional<ChosenStages> WithHash(const std::string& path, std::uint64_t hash) {
    if (!Exists(path)) return std::nullopt;
    try {
        ChosenStages chosen = LoadStages(path, "", "");
        if (chosen.id.hash == hash) return chosen;
    } catch (const StageFileError&) {
        // Not the file the demo needs: the next one may be.
    }
    return std::nullopt;
}

// A demo's name is a file's name in a stage folder, never a path of its own.
bool PlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string_view::npos;
}

std::string Hex(std::uint64_t v) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(v));
    return text;
}

}  // namespace

std::vector<std::string> StageFolders(const std::string& userDir, const std::string& exeDir) {
    std::vector<std::string> folders;
    if (!userDir.empty()) folders.push_back(JoinPath(userDir, "stages"));
    // An installed game's shared data folder; none where the stages lie beside the programs.
    if (!std::string_view(HOPLA_STAGES_FROM_EXE).empty())
        folders.push_back(exeDir + HOPLA_STAGES_FROM_EXE);
    folders.push_back(JoinPath(exeDir, "stages"));
    return folders;
}

std::vector<std::string> StageFileCandidates(std::string_view arg, const std::string& userDir,
                                             const std::string& exeDir) {
    if (IsPath(arg)) return {std::string(arg)};
    std::vector<std::string> paths;
    for (const std::string& folder : StageFolders(userDir, exeDir))
        paths.push_back(JoinPath(folder, FileName(arg)));
    return paths;
}

ChosenStages LoadStages(std::string_view arg, const std::string& userDir,
                        const std::string& exeDir) {
    const std::vector<std::string> paths = StageFileCandidates(arg, userDir, exeDir);
    std::string path = IsPath(arg) ? paths.front() : std::string();
    for (const std::string& candidate : paths) {
        if (Exists(candidate)) {
            path = candidate;
            break;
        }
    }
    if (path.empty()) {
        std::string folders;
        for (const std::string& folder : StageFolders(userDir, exeDir))
            folders += (folders.empty() ? "" : ", ") + Escaped(folder);
        throw StageFileError("no stage file " + Escaped(FileName(arg)) + " in " + folders +
                             " (a file in this folder: --stages ./" + Escaped(FileName(arg)) + ")");
    }
    ChosenStages chosen;
    chosen.file = ReadStageFile(path);
    chosen.path = path;
    const std::u8string file = PathFromUtf8(path).filename().u8string();
    std::string name(file.begin(), file.end());
    if (name.ends_with(kExtension) && name.size() > kExtension.size())
        name.resize(name.size() - kExtension.size());
    chosen.id = {name, StagesHash(&chosen.file)};
    return chosen;
}

StagesForDemo ChooseStagesForDemo(const Demo& demo, std::optional<ChosenStages> given,
                                  const std::string& userDir, const std::string& exeDir) {
    StagesForDemo result;
    const std::optional<std::string> refusal =
        StagesRefusal(demo, given ? std::optional(given->id) : std::nullopt);
    if (!refusal) {
        result.stages = std::move(given);
        return result;
    }
    if (!demo.stages) {  // recorded on the game's own stages: nothing to look for
        result.refusal = refusal;
        return result;
    }
    const DemoStages& wanted = *demo.stages;
    std::vector<std::string> folders;
    if (PlainName(wanted.name)) folders = StageFolders(userDir, exeDir);
    for (const std::string& folder : folders) {
        if (std::optional<ChosenStages> found =
                WithHash(JoinPath(folder, FileName(wanted.name)), wanted.hash)) {
            if (!given) {
                result.stages = std::move(found);
                return result;
            }
            result.refusal = *refusal + ": play it without --stages, which finds them in " +
                             Escaped(found->path);
            return result;
        }
    }
    // The working folder is not searched, but a file there is worth naming.
    const std::string here = "./" + FileName(wanted.name);
    if (PlainName(wanted.name) && WithHash(here, wanted.hash)) {
        result.refusal = *refusal + ": play it with --stages " + Escaped(here);
        return result;
    }
    std::string where;
    for (const std::string& folder : folders) {
        const std::u8string shown = PathFromUtf8(folder).lexically_normal().u8string();
        where += (where.empty() ? "" : ", ") + std::string(shown.begin(), shown.end());
    }
    result.refusal = *refusal + ", which no " + Escaped(FileName(wanted.name)) +
                     (where.empty() ? std::string() : " in " + Escaped(where)) +
                     " holds: play it with --stages FILE, a stage file whose stages hash to " +
                     Hex(wanted.hash);
    return result;
}

}  // namespace hopla
