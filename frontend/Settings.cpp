// Settings file: screened for size and binary content, parsed by libinih, written atomically.
#include "frontend/Settings.h"

#include <fcntl.h>
#include <ini.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "frontend/Options.h"

namespace hopla {
namespace {

// The game writes about 120 bytes; anything much larger is not its file.
constexpr std::size_t kMaxFileBytes = 4096;
// libinih reads lines in pieces of this many bytes; a longer line would come apart in pieces
// that could each look like an entry, so such a file is refused before parsing.
constexpr std::size_t kMaxLineBytes = 160;

constexpr std::string_view kWindow = "window", kSound = "sound";

std::string Lower(std::string_view text) {
    std::string s(text);
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::optional<bool> ParseBool(std::string_view text) {
    const std::string s = Lower(text);
    if (s == "true" || s == "yes" || s == "on" || s == "1") return true;
    if (s == "false" || s == "no" || s == "off" || s == "0") return false;
    return std::nullopt;
}

struct Parse {
    Settings settings;
    std::string error;  // the first problem
};

int OnEntry(void* user, const char* section, const char* name, const char* value) {
    auto& parse = *static_cast<Parse*>(user);
    auto fail = [&](std::string why) {
        if (parse.error.empty()) parse.error = std::move(why);
        return 0;
    };
    const std::string key = Lower(name);
    if (section == kSound) {
        if (key != "volume") return fail("unknown key '" + std::string(name).substr(0, 40) + "'");
        const std::optional<int> volume = ParseVolume(value);
        if (!volume) return fail("volume must be a whole number from 0 to 100");
        parse.settings.volume = *volume;
        return 1;
    }
    if (section != kWindow) return fail("unknown section [" + std::string(section) + "]");
    if (key == "scale") {
        if (Lower(value) == "auto") {
            parse.settings.scale.reset();
        } else if (const std::optional<int> n = ParseScale(value)) {
            parse.settings.scale = n;
        } else {
            return fail("scale must be auto or a whole number from 1 to 8");
        }
    } else if (key == "fullscreen") {
        const std::optional<bool> b = ParseBool(value);
        if (!b) return fail("fullscreen must be true or false");
        parse.settings.fullscreen = *b;
    } else if (key == "scaling") {
        const std::optional<ScalingMode> mode = ParseScaling(value);
        if (!mode) return fail("scaling must be integer or fit");
        parse.settings.scaling = *mode;
    } else if (key == "pause_when_unfocused") {
        const std::optional<bool> b = ParseBool(value);
        if (!b) return fail("pause_when_unfocused must be true or false");
        parse.settings.pauseWhenUnfocused = *b;
    } else {
        return fail("unknown key '" + std::string(name).substr(0, 40) + "'");
    }
    return 1;
}

// Reads at most kMaxFileBytes + 1 bytes of a regular file without blocking on a pipe or a
// device. Sets `error` when the file exists but cannot be used; false with no error: missing.
bool ReadSmallFile(const std::string& path, std::string& text, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno != ENOENT) error = std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error = "not a regular file";
        ::close(fd);
        return false;
    }
    char buffer[kMaxFileBytes + 1];
    std::size_t got = 0;
    while (got < sizeof buffer) {
        const ssize_t n = ::read(fd, buffer + got, sizeof buffer - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = std::strerror(errno);
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (got > kMaxFileBytes) {
        error = "larger than " + std::to_string(kMaxFileBytes) + " bytes";
        return false;
    }
    text.assign(buffer, got);
    return true;
}

// What makes a text unfit for the parser: binary bytes or an over-long line.
std::string Unfit(std::string_view text) {
    std::size_t lineStart = 0;
    int line = 1;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\n') {
            if (i - lineStart > kMaxLineBytes)
                return "line " + std::to_string(line) + " is too long";
            lineStart = i + 1;
            ++line;
            continue;
        }
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 && c != '\t' && c != '\r') return "not a text file";
    }
    return {};
}

// mkdir -p for the directories above `path`; the base of the configuration is private.
bool MakeParents(const std::string& path, std::string& error) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string dir = path.substr(0, slash);
        if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
            error = "cannot create " + dir + ": " + std::strerror(errno);
            return false;
        }
    }
    return true;
}

}  // namespace

std::string SettingsPath(const char* xdgConfigHome, const char* home) {
    std::string base;
    if (xdgConfigHome && xdgConfigHome[0] == '/')
        base = xdgConfigHome;
    else if (home && home[0] == '/')
        base = std::string(home) + "/.config";
    else
        return {};
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    return base + "/hopla/settings.ini";
}

LoadedSettings LoadSettings(const std::string& path) {
    LoadedSettings loaded;
    std::string text, error;
    if (!ReadSmallFile(path, text, error)) {
        if (!error.empty()) loaded.warning = "ignoring " + path + ": " + error;
        return loaded;
    }
    if (std::string why = Unfit(text); !why.empty()) {
        loaded.warning = "ignoring " + path + ": " + why;
        return loaded;
    }
    Parse parse;
    // The first error is the one reported, so parsing stops there.
    ini_stop_on_first_error = true;
    const int status = ini_parse_string(text.c_str(), &OnEntry, &parse);
    if (status != 0) {
        loaded.warning = "ignoring " + path + ": line " + std::to_string(status) + ": " +
                         (parse.error.empty() ? "not a setting" : parse.error);
        return loaded;
    }
    loaded.settings = parse.settings;
    return loaded;
}

std::string FormatSettings(const Settings& settings) {
    std::string text = "# Hopla's remembered window choices; the game rewrites this file.\n";
    text += "[window]\n";
    text += "scale = " + (settings.scale ? std::to_string(*settings.scale) : "auto") + "\n";
    text += std::string("fullscreen = ") + (settings.fullscreen ? "true" : "false") + "\n";
    text += "scaling = " + std::string(ScalingName(settings.scaling)) + "\n";
    text += std::string("pause_when_unfocused = ") +
            (settings.pauseWhenUnfocused ? "true" : "false") + "\n";
    text += "[sound]\n";
    text += "volume = " + std::to_string(settings.volume) + "\n";
    return text;
}

std::optional<std::string> SaveSettings(const std::string& path, const Settings& settings) {
    std::string error;
    if (path.empty()) return "no place for settings (neither XDG_CONFIG_HOME nor HOME is set)";
    if (!MakeParents(path, error)) return error;
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return "cannot write " + path + ": " + std::strerror(errno);
    const std::string text = FormatSettings(settings);
    bool written = true;
    for (std::size_t done = 0; done < text.size() && written;) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0)
            written = false;
        else
            done += static_cast<std::size_t>(n);
    }
    const int savedErrno = errno;
    ::fchmod(fd, 0644);
    if (::close(fd) != 0 && written) written = false;
    if (!written) {
        ::unlink(temp.c_str());
        return "cannot write " + path + ": " + std::strerror(savedErrno);
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int renameErrno = errno;
        ::unlink(temp.c_str());
        return "cannot write " + path + ": " + std::strerror(renameErrno);
    }
    return std::nullopt;
}

}  // namespace hopla
