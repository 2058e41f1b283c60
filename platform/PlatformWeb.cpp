// The platform in the browser (Emscripten): the page's preloaded data folder, settings and
// records in the browser's IndexedDB through an IDBFS folder, the page's bundled font, the
// browser window's size, and files in emscripten's in-memory file system. Under node (the web
// build's tests) files are the machine's own and nothing is kept.
#include "platform/Platform.h"

#include <emscripten.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <system_error>

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

// After a change to a file in the kept folder, the folder is written back to IndexedDB.
void KeepIfKept(const std::string& path) {
    if (KeptDirMounted() && path.rfind(std::string(kKeptDir) + "/", 0) == 0) HoplaSyncKept();
}

bool WriteAll(int fd, std::string_view contents) {
    for (std::size_t done = 0; done < contents.size();) {
        const ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::optional<std::string> MakeParents(const std::string& path) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (parent.empty()) return std::nullopt;
    std::error_code error;
    std::filesystem::create_directories(parent, error);
    if (error) return "cannot create " + parent.string() + ": " + error.message();
    return std::nullopt;
}

}  // namespace

std::string ExecutableDir() {
    if (HoplaInBrowser()) return kPageDataDir;
    char* dir = HoplaScriptDir();
    std::string result(dir);
    std::free(dir);
    return result;
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

// A page has no standard streams of its own to lose, no terminal and no hangup.
void KeepStandardStreamsApart() {}

bool StandardErrorIsTerminal() {
    return false;
}

void HangupEndsAsTermination() {}

// The browser's loop never sleeps (frontend/WebMain.cpp waits between rounds with a timeout);
// a wait to the deadline is spun, for a caller outside that loop.
void SleepUntil(std::chrono::steady_clock::time_point deadline) {
    while (std::chrono::steady_clock::now() < deadline) {
    }
}

void TightenTimerSlack() {}

SmallFile ReadSmallFile(const std::string& path, std::size_t maxBytes) {
    SmallFile file;
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) {
        if (errno != ENOENT) file.error = std::strerror(errno);
        return file;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        file.error = "not a regular file";
        return file;
    }
    // One byte more than allowed tells a file that is too large.
    std::string text(maxBytes + 1, '\0');
    std::size_t got = 0;
    while (got < text.size()) {
        const ssize_t n = ::read(fd, text.data() + got, text.size() - got);
        if (n < 0) {
            file.error = std::strerror(errno);
            ::close(fd);
            return file;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (got > maxBytes) {
        file.error = "larger than " + std::to_string(maxBytes) + " bytes";
        return file;
    }
    text.resize(got);
    file.text = std::move(text);
    return file;
}

std::optional<std::string> WhyNotWritable(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) return "not a regular file";
        return std::nullopt;
    }
    if (errno != ENOENT) return std::strerror(errno);
    // A new file: its directory must take one.
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    const std::string dir = parent.empty() ? "." : parent.string();
    if (::stat(dir.c_str(), &st) != 0) return std::strerror(errno);
    if (!S_ISDIR(st.st_mode)) return std::strerror(ENOTDIR);
    return std::nullopt;
}

// A temporary file renamed over the old one, then the kept folder written back to IndexedDB
// when the file lies in it.
std::optional<std::string> ReplaceFile(const std::string& path, std::string_view contents) {
    if (std::optional<std::string> error = MakeParents(path)) return error;
    const std::string temp = path + ".new";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return "cannot write " + path + ": " + std::strerror(errno);
    bool written = WriteAll(fd, contents);
    const int savedErrno = errno;
    if (::close(fd) != 0 && written) written = false;
    if (!written || ::rename(temp.c_str(), path.c_str()) != 0) {
        const std::string why = std::strerror(written ? errno : savedErrno);
        ::unlink(temp.c_str());
        return "cannot write " + path + ": " + why;
    }
    KeepIfKept(path);
    return std::nullopt;
}

std::string LinkTarget(const std::string& path) {
    std::string at = path;
    for (int hop = 0; hop < 40; ++hop) {
        std::string target(4096, '\0');
        const ssize_t n = ::readlink(at.c_str(), target.data(), target.size());
        if (n < 0 || static_cast<std::size_t>(n) >= target.size()) return at;
        target.resize(static_cast<std::size_t>(n));
        if (target.front() != '/') {
            const std::size_t slash = at.rfind('/');
            if (slash != std::string::npos) target = at.substr(0, slash + 1) + target;
        }
        at = std::move(target);
    }
    return path;
}

NewFile WriteNewFile(const std::string& path, std::string_view contents) {
    NewFile result;
    if (std::optional<std::string> error = MakeParents(path)) {
        result.error = std::move(*error);
        return result;
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0) {
        if (errno == EEXIST)
            result.existed = true;
        else
            result.error = "cannot write " + path + ": " + std::strerror(errno);
        return result;
    }
    bool written = WriteAll(fd, contents);
    const int savedErrno = errno;
    if (::close(fd) != 0 && written) written = false;
    if (!written) {
        ::unlink(path.c_str());
        result.error = "cannot write " + path + ": " + std::strerror(savedErrno);
        return result;
    }
    KeepIfKept(path);
    result.written = true;
    return result;
}

std::optional<std::string> RenameFile(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0)
        return "cannot rename " + from + " to " + to + ": " + std::strerror(errno);
    KeepIfKept(to);
    return std::nullopt;
}

// The browser's own time zone, as the page's JavaScript sees it.
LocalTime LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

}  // namespace hopla
