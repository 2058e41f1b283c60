// The platform on Linux: /proc, the XDG directories, fontconfig, X11 through SDL and
// clock_nanosleep; its files and local time are the POSIX ones of PlatformPosix.cpp.
#include "platform/Platform.h"
#include "platform/PlatformPosix.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <fcntl.h>
#include <fontconfig/fontconfig.h>
#include <signal.h>
#include <strings.h>
#include <sys/prctl.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <system_error>

// Last: Xlib's macros (None, True, Status) would trip the headers above.
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xproto.h>

namespace hopla {
namespace {

// ---- Directories

std::string WithoutTrailingSlashes(std::string dir) {
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir;
}

// A desktop base directory: $variable when it is absolute, else $HOME followed by
// `underHome`; empty when neither variable helps.
std::string BaseDir(const char* variable, const char* underHome) {
    const char* value = std::getenv(variable);
    const char* home = std::getenv("HOME");
    if (value && value[0] == '/') return WithoutTrailingSlashes(value);
    if (home && home[0] == '/') return WithoutTrailingSlashes(std::string(home) + underHome);
    return {};
}

std::string GameDir(const std::string& base) {
    return base.empty() ? std::string() : base + "/hopla";
}

// The value user-dirs.dirs gives `key` when it is written the simple way the desktop writes it:
// KEY="$HOME/folder" or KEY="/absolute/folder". None when the file, the key or a usable value
// is missing; the last line for the key counts, as when the shell reads the file.
std::optional<std::string> UserDir(const std::string& file, std::string_view key) {
    const SmallFile read = ReadSmallFile(file, 64 * 1024);
    if (!read.text) return std::nullopt;
    std::optional<std::string> found;
    std::istringstream lines(*read.text);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, key.size(), key) != 0 ||
            line.compare(start + key.size(), 1, "=") != 0)
            continue;
        std::string value = line.substr(start + key.size() + 1);
        value.erase(value.find_last_not_of(" \t\r") + 1);
        found.reset();
        if (value.size() < 2 || value.front() != '"' || value.back() != '"') continue;
        value = value.substr(1, value.size() - 2);
        if (value.find_first_of("\"\\`") != std::string::npos) continue;  // quoting: not simple
        if (value.rfind("$HOME", 0) == 0 && (value.size() == 5 || value[5] == '/')) {
            const char* home = std::getenv("HOME");
            if (!home || home[0] != '/') continue;
            value = home + value.substr(5);
        }
        if (value.front() != '/' || value.find('$') != std::string::npos) continue;
        found = WithoutTrailingSlashes(value);
    }
    return found;
}

std::string PicturesDir() {
    const std::string config = BaseDir("XDG_CONFIG_HOME", "/.config");
    if (!config.empty())
        if (std::optional<std::string> dir =
                UserDir(config + "/user-dirs.dirs", "XDG_PICTURES_DIR"))
            return *dir;
    if (const char* env = std::getenv("XDG_PICTURES_DIR"); env && env[0] == '/')
        return WithoutTrailingSlashes(env);
    if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        return WithoutTrailingSlashes(std::string(home) + "/Pictures");
    return {};
}

// ---- Fonts (every fontconfig object is released on every path)

struct PatternFree {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using Pattern = std::unique_ptr<FcPattern, PatternFree>;

// The best match for a pattern, if `accept` likes it.
template <typename Accept>
std::string Match(FcPattern* query, Accept accept) {
    FcConfigSubstitute(nullptr, query, FcMatchPattern);
    FcDefaultSubstitute(query);
    FcResult result = FcResultNoMatch;
    Pattern found(FcFontMatch(nullptr, query, &result));
    if (!found || result != FcResultMatch || !accept(found.get())) return {};
    FcChar8* file = nullptr;
    if (FcPatternGetString(found.get(), FC_FILE, 0, &file) != FcResultMatch) return {};
    return reinterpret_cast<const char*>(file);
}

std::string ByFamily(const std::string& family) {
    Pattern query(FcPatternCreate());
    FcPatternAddString(query.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    return Match(query.get(), [&](FcPattern* found) {
        FcChar8* name = nullptr;
        for (int i = 0; FcPatternGetString(found, FC_FAMILY, i, &name) == FcResultMatch; ++i)
            if (strcasecmp(reinterpret_cast<const char*>(name), family.c_str()) == 0) return true;
        return false;
    });
}

std::string Japanese() {
    Pattern query(FcPatternCreate());
    FcLangSet* langs = FcLangSetCreate();
    FcLangSetAdd(langs, reinterpret_cast<const FcChar8*>("ja"));
    FcPatternAddLangSet(query.get(), FC_LANG, langs);
    FcLangSetDestroy(langs);
    return Match(query.get(), [](FcPattern* found) {
        FcCharSet* chars = nullptr;
        if (FcPatternGetCharSet(found, FC_CHARSET, 0, &chars) != FcResultMatch) return false;
        // Full-width Latin and half-width katakana are what the game prints.
        return FcCharSetHasChar(chars, 0xFF28) && FcCharSetHasChar(chars, 0xFF8A);
    });
}

std::string SansSerif() {
    Pattern query(FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif")));
    return Match(query.get(), [](FcPattern*) { return true; });
}

std::string LookUpFont(const std::string& face) {
    if (!FcInit()) return {};
    for (const std::string& family : {face, std::string("MS PGothic"), std::string("IPAPGothic")})
        if (std::string file = ByFamily(family); !file.empty()) return file;
    if (std::string file = Japanese(); !file.empty()) return file;
    return SansSerif();
}

// ---- X11, through SDL's own connection to the server

XErrorHandler xErrorsBefore = nullptr;  // Xlib's own, or whatever SDL set before

int OnXError(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
    return xErrorsBefore ? xErrorsBefore(display, error) : 0;
}

Display* X11DisplayOf(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || SDL_GetWindowWMInfo(window, &info) != SDL_TRUE ||
        info.subsystem != SDL_SYSWM_X11)
        return nullptr;
    return info.info.x11.display;
}

}  // namespace

std::string ExecutableDir() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || exe.parent_path().empty()) return "./";
    std::string dir = exe.parent_path().string();
    if (dir.back() != '/') dir += '/';
    return dir;
}

std::string_view BuildTarget() {
    return "linux";
}

std::string SettingsDir() {
    return GameDir(BaseDir("XDG_CONFIG_HOME", "/.config"));
}

std::string RecordsDir() {
    return GameDir(BaseDir("XDG_DATA_HOME", "/.local/share"));
}

std::string ScreenshotsDir() {
    const std::string pictures = PicturesDir();
    if (pictures.empty()) return {};
    return (pictures == "/" ? std::string() : pictures) + "/Hopla";
}

// The fonts installed do not change while the game runs: each face is looked up once.
std::string FindFontFile(const std::string& face) {
    static std::mutex mutex;
    static std::map<std::string, std::string> found;
    std::lock_guard lock(mutex);
    auto it = found.find(face);
    if (it == found.end()) it = found.emplace(face, LookUpFont(face)).first;
    return it->second;
}

// Debian's package of the face the game asks for first after its own.
std::string NoFontAdvice() {
    return "no font found (install fonts-ipafont-gothic)";
}

std::optional<DisplayArea> UsableArea(int displayIndex) {
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(displayIndex, &usable) != 0) return std::nullopt;
    return DisplayArea{usable.w, usable.h};
}

std::optional<KeyRepeatMs> KeyRepeat(SDL_Window* window) {
    Display* display = X11DisplayOf(window);
    if (!display) return std::nullopt;
    unsigned int delay = 0, interval = 0;
    if (!XkbGetAutoRepeatRate(display, XkbUseCoreKbd, &delay, &interval) || delay == 0 ||
        interval == 0)
        return std::nullopt;
    return KeyRepeatMs{delay, interval};
}

void ToleratesMessagesToGoneWindows() {
    if (!xErrorsBefore) xErrorsBefore = XSetErrorHandler(OnXError);
}

std::optional<bool> WindowManagerRuns(SDL_Window* window) {
    Display* display = X11DisplayOf(window);
    if (!display) return std::nullopt;
    // An EWMH window manager names its check window on the root window.
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None) return false;
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                                          XA_WINDOW, &type, &format, &items, &after, &data);
    const bool runs = status == Success && type == XA_WINDOW && items == 1;
    if (data) XFree(data);
    return runs;
}

// libstdc++'s steady_clock is CLOCK_MONOTONIC, so its time points are absolute times of it.
void SleepUntil(std::chrono::steady_clock::time_point deadline) {
    using std::chrono::nanoseconds;
    const auto ns = std::chrono::duration_cast<nanoseconds>(deadline.time_since_epoch()).count();
    timespec at{};
    at.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
    at.tv_nsec = static_cast<long>(ns % 1'000'000'000);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {
    }
}

void TightenTimerSlack() {
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
}

void KeepStandardStreamsApart() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        // The lowest free number is `fd` itself. Input opened for writing only, output for
        // reading only: every use fails with EBADF, as on the closed descriptor.
        const int stand = ::open("/dev/null", (fd == STDIN_FILENO ? O_WRONLY : O_RDONLY));
        if (stand >= 0 && stand != fd) ::close(stand);
    }
}

// A Linux program has the streams its starter gave it, and the player reads standard error.
void ReachStartingConsole() {}
void ShowFatalError(const std::string&) {}

bool StandardErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

void HangupEndsAsTermination() {
    struct sigaction before {};
    // Started under nohup: hangups stay ignored.
    if (::sigaction(SIGHUP, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) return;
    struct sigaction action {};
    action.sa_handler = [](int) { ::raise(SIGTERM); };  // raise is safe in a handler
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGHUP, &action, nullptr);
}

namespace {

// Written only by the handler below; a signal's handler can do no more than this.
volatile std::sig_atomic_t terminationNoted = 0;
struct sigaction terminationBefore {};

void NoteTermination(int signal) {
    terminationNoted = 1;
    if (terminationBefore.sa_handler != SIG_DFL && terminationBefore.sa_handler != SIG_IGN) {
        terminationBefore.sa_handler(signal);
        return;
    }
    // Nobody to tell: the request ends the program as it would have.
    ::signal(SIGTERM, terminationBefore.sa_handler);
    ::raise(SIGTERM);
}

}  // namespace

void NoteTerminationRequests() {
    struct sigaction action {};
    action.sa_handler = NoteTermination;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, &terminationBefore);
}

bool TerminationRequested() {
    return terminationNoted != 0;
}

// Linux keeps every file once it is written.
void FileChanged(const std::string&) {}

}  // namespace hopla
