// The platform in the browser (Emscripten): the page's preloaded data folder, settings and
// records in the browser's IndexedDB through an IDBFS folder, the page's bundled font, the
// browser window's size; its files and local time are the POSIX ones of PlatformPosix.cpp, on
// emscripten's in-memory file system and in the browser's time zone. Under node (the web
// build's tests) files are the machine's own and nothing is kept.
#include "platform/Platform.h"
#include "platform/PlatformPosix.h"

#include <emscripten.h>
#include <sys/stat.h>

#include <cstdlib>

namespace hopla {
namespace {

// Where the page's data (the wave files and the font) is preloaded; the site's build puts it
// there (cmake/Web.cmake).
constexpr const char* kPageDataDir = "/hopla/";
// The folder IDBFS keeps in the browser's IndexedDB for this site (mounted by the page before
// the game starts, see tests/web and cmake/Web.cmake's page).
constexpr const char* kKeptDir = "/kept";
// The font subset the site ships (made from IPAPGothic by cmake/Web.cmake).
constexpr const char* kFontFile = "hopla-gothic-subset.ttf";

// clang-format off
EM_JS(int, HoplaInBrowser, (), { return typeof window === "object" ? 1 : 0; });
// The folder of the running script under node, with a trailing "/".
EM_JS(char*, HoplaScriptDir, (), {
    var path = require("path");
    var dir = path.dirname(process.argv[1]) + "/";
    var size = lengthBytesUTF8(dir) + 1;
    var out = _malloc(size);
    stringToUTF8(dir, out, size);
    return out;
});
EM_JS(int, HoplaWindowWidth, (), { return window.innerWidth | 0; });
EM_JS(int, HoplaWindowHeight, (), { return window.innerHeight | 0; });
// Writes the kept folder back to IndexedDB; the page shows a failure in the console.
EM_JS(void, HoplaSyncKept, (), {
    FS.syncfs(false, function(error) {
        if (error) console.error("hopla: the browser did not keep the settings: " + error);
    });
});
// clang-format on

bool KeptDirMounted() {
    struct stat st {};
    return HoplaInBrowser() && ::stat(kKeptDir, &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string ExecutableDir() {
    if (HoplaInBrowser()) return kPageDataDir;
    char* dir = HoplaScriptDir();
    std::string result(dir);
    std::free(dir);
    return result;
}

std::string_view BuildTarget() {
    return "web";
}

std::string SettingsDir() {
    return KeptDirMounted() ? std::string(kKeptDir) + "/settings" : std::string();
}

std::string RecordsDir() {
    return KeptDirMounted() ? std::string(kKeptDir) + "/records" : std::string();
}

// A page cannot put files into the player's pictures folder.
std::string ScreenshotsDir() {
    return {};
}

// Every face is drawn with the one font the site ships.
std::string FindFontFile(const std::string&) {
    const std::string path = ExecutableDir() + kFontFile;
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? path : std::string();
}

std::string NoFontAdvice() {
    return std::string("the site's font ") + kFontFile + " is missing: reload the page";
}

// The browser window's inner size: the page enlarges the canvas to fit it.
std::optional<DisplayArea> UsableArea(int) {
    if (!HoplaInBrowser()) return std::nullopt;
    const int width = HoplaWindowWidth(), height = HoplaWindowHeight();
    if (width <= 0 || height <= 0) return std::nullopt;
    return DisplayArea{width, height};
}

// The browser repeats held keys itself and does not say how fast.
std::optional<KeyRepeatMs> KeyRepeat(SDL_Window*) {
    return std::nullopt;
}

// The browser puts the canvas on the whole screen itself.
std::optional<bool> WindowManagerRuns(SDL_Window*) {
    return true;
}

void ToleratesMessagesToGoneWindows() {}

// A page has no standard streams of its own to lose, no terminal and no hangup.
void KeepStandardStreamsApart() {}

// The page's console is the standard streams' place, and errors are shown in the page.
void ReachStartingConsole() {}
void ShowFatalError(const std::string&) {}

bool StandardErrorIsTerminal() {
    return false;
}

void HangupEndsAsTermination() {}

// No termination signals here: the window's close request is the only way to be asked to end.
void NoteTerminationRequests() {}
bool TerminationRequested() {
    return false;
}

// The browser's loop never sleeps (apps/hopla/WebMain.cpp waits between rounds with a timeout);
// a wait to the deadline is spun, for a caller outside that loop.
void SleepUntil(std::chrono::steady_clock::time_point deadline) {
    while (std::chrono::steady_clock::now() < deadline) {
    }
}

void TightenTimerSlack() {}

// After a change to a file in the kept folder, the folder is written back to IndexedDB.
void FileChanged(const std::string& path) {
    if (KeptDirMounted() && path.rfind(std::string(kKeptDir) + "/", 0) == 0) HoplaSyncKept();
}

}  // namespace hopla
