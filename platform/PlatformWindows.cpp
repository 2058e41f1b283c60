// The platform on Windows: the known folders, the font shipped beside the game, SDL's display
// bounds, a high-resolution waitable timer and Unicode file calls. Every path crosses this file
// as UTF-8 and reaches Windows as UTF-16.
#include "platform/Platform.h"

#include <SDL.h>

// windows.h first: the other Windows headers build on its definitions.
#include <windows.h>
// windows.h names the system's own ReplaceFile: the platform's is meant here.
#undef ReplaceFile

#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>
#include <timeapi.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <system_error>
#include <utility>

namespace hopla {
namespace {

// ---- Text encodings

std::wstring Wide(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

std::string Utf8(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n,
                        nullptr, nullptr);
    return utf8;
}

// What Windows says about `code`, as one short phrase without the trailing full stop.
std::string Why(DWORD code) {
    std::string why = std::system_category().message(static_cast<int>(code));
    while (!why.empty() &&
           (why.back() == '\n' || why.back() == '\r' || why.back() == '.' || why.back() == ' '))
        why.pop_back();
    return why;
}

// ---- Handles

struct HandleClose {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
using Handle = std::unique_ptr<void, HandleClose>;

Handle Owned(HANDLE h) {
    return Handle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

struct TaskMemFree {
    void operator()(wchar_t* p) const { CoTaskMemFree(p); }
};

// Writes all of `contents` to `handle`, a megabyte at most per call; false with GetLastError()
// saying why when it cannot.
bool WriteAll(HANDLE handle, std::string_view contents) {
    for (std::size_t done = 0; done < contents.size();) {
        DWORD n = 0;
        const DWORD want =
            static_cast<DWORD>(std::min<std::size_t>(contents.size() - done, 1 << 20));
        if (!WriteFile(handle, contents.data() + done, want, &n, nullptr)) return false;
        if (n == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        done += n;
    }
    return true;
}

// ---- Directories

// A known folder of the user's (Roaming application data, Pictures); empty when there is none.
std::string KnownFolder(REFKNOWNFOLDERID id) {
    wchar_t* raw = nullptr;
    const HRESULT result = SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &raw);
    std::unique_ptr<wchar_t, TaskMemFree> owned(raw);
    if (FAILED(result) || !raw) return {};
    return Utf8(raw);
}

std::string Under(const std::string& base, const char* name) {
    return base.empty() ? std::string() : base + "\\" + name;
}

// The folder above `path` (either separator); empty when there is none.
std::string Parent(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos || cut == 0 ? std::string() : path.substr(0, cut);
}

// mkdir -p for `dir`.
std::optional<std::string> MakeDirs(const std::string& dir) {
    if (dir.empty()) return std::nullopt;
    const DWORD attributes = GetFileAttributesW(Wide(dir).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    // A drive ("C:") or a share's root is there or not; it cannot be made.
    if (dir.size() <= 2 || dir.back() == ':') return std::nullopt;
    if (std::optional<std::string> error = MakeDirs(Parent(dir))) return error;
    if (!CreateDirectoryW(Wide(dir).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return "cannot create " + dir + ": " + Why(GetLastError());
    return std::nullopt;
}

}  // namespace

std::string ExecutableDir() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return "./";
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::string dir = Parent(Utf8(path));
    if (dir.empty()) return "./";
    // A tester's program in the tools folder of the game's (hopla-sim.exe) plays with the
    // game's own files, in the folder above.
    const std::string above = Parent(dir);
    if (!above.empty() && CompareStringOrdinal(Wide(dir.substr(above.size() + 1)).c_str(), -1,
                                               L"tools", -1, TRUE) == CSTR_EQUAL) {
        const DWORD game = GetFileAttributesW(Wide(above + "\\hopla.exe").c_str());
        if (game != INVALID_FILE_ATTRIBUTES && !(game & FILE_ATTRIBUTE_DIRECTORY))
            return above + "\\";
    }
    return dir + "\\";
}

std::string_view BuildTarget() {
    return "windows";
}

// %APPDATA%\hopla, where SDL_GetPrefPath("", "hopla") points, without creating it.
std::string SettingsDir() {
    return Under(KnownFolder(FOLDERID_RoamingAppData), "hopla");
}

std::string RecordsDir() {
    return SettingsDir();
}

std::string ScreenshotsDir() {
    return Under(KnownFolder(FOLDERID_Pictures), "Hopla");
}

// Windows brings no font with the game's half-width katakana that may be counted on, so the
// game ships IPAPGothic beside itself and draws every face with it.
std::string FindFontFile(const std::string&) {
    const std::string file = ExecutableDir() + "ipagp.ttf";
    const DWORD attributes = GetFileAttributesW(Wide(file).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return {};
    return file;
}

std::string NoFontAdvice() {
    return "the file " + ExecutableDir() +
           "ipagp.ttf is missing: extract the whole zip, or "
           "reinstall Hopla";
}

std::optional<DisplayArea> UsableArea(int displayIndex) {
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(displayIndex, &usable) != 0) return std::nullopt;
    return DisplayArea{usable.w, usable.h};
}

// Windows has a keyboard repeat of its own for SDL to report as key events, and no window
// manager apart from itself: neither question has an answer here.
std::optional<KeyRepeatMs> KeyRepeat(SDL_Window*) {
    return std::nullopt;
}

std::optional<bool> WindowManagerRuns(SDL_Window*) {
    return std::nullopt;
}

void ToleratesMessagesToGoneWindows() {}

// Windows gives a program whose standard handles were closed no handle at all, and the C
// library's descriptors 0 to 2 then stay unused: a file opened later never takes one of them.
void KeepStandardStreamsApart() {}

namespace {
bool LeadsNowhere(DWORD stream) {
    const HANDLE handle = GetStdHandle(stream);
    return handle == nullptr || handle == INVALID_HANDLE_VALUE;
}
}  // namespace

// The console's own handle becomes the stream's, for the system (GetStdHandle) and the C
// library (stdout, stderr, and so std::cout and std::cerr) alike. A command prompt does not
// wait for a windowed program: what it prints may come after the prompt is back.
void ReachStartingConsole() {
    const bool out = LeadsNowhere(STD_OUTPUT_HANDLE), err = LeadsNowhere(STD_ERROR_HANDLE);
    if ((!out && !err) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
    const auto reach = [](DWORD stream, FILE* file) {
        const HANDLE console =
            CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (console == INVALID_HANDLE_VALUE) return;
        SetStdHandle(stream, console);
        if (std::freopen("CONOUT$", "w", file) && file == stderr)
            std::setvbuf(stderr, nullptr, _IONBF, 0);
    };
    if (out) reach(STD_OUTPUT_HANDLE, stdout);
    if (err) reach(STD_ERROR_HANDLE, stderr);
}

// The line as a sentence: its first letter capitalised, a full stop after it.
void ShowFatalError(const std::string& line) {
    if (!LeadsNowhere(STD_ERROR_HANDLE) || line.empty()) return;
    std::string sentence = line;
    if (sentence[0] >= 'a' && sentence[0] <= 'z')
        sentence[0] = static_cast<char>(sentence[0] - 'a' + 'A');
    if (sentence.back() != '.') sentence += '.';
    MessageBoxW(nullptr, Wide(sentence).c_str(), L"Hopla",
                MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TASKMODAL);
}

bool StandardErrorIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

// Closing the console window already reaches SDL as its quit event (a console control event it
// turns into SDL_QUIT); there is no hangup signal to redirect.
void HangupEndsAsTermination() {}

// No termination signals here: the window's close request is the only way to be asked to end.
void NoteTerminationRequests() {}
bool TerminationRequested() {
    return false;
}

// A waitable timer wakes up to a third of a millisecond early under some implementations, so the
// wait goes on until the clock has passed the deadline. Without high-resolution timers (before
// Windows 10 1803) the plain timer is used with the system's 1 ms timer period for the wait.
void SleepUntil(std::chrono::steady_clock::time_point deadline) {
    using namespace std::chrono;
#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif
    Handle timer(CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                        TIMER_ALL_ACCESS));
    const bool coarse = !timer;
    if (coarse) {
        timer.reset(CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS));
        timeBeginPeriod(1);
    }
    for (auto now = steady_clock::now(); now < deadline; now = steady_clock::now()) {
        // Relative due times are negative, in units of 100 ns.
        const auto left = duration_cast<nanoseconds>(deadline - now).count();
        LARGE_INTEGER due{};
        due.QuadPart = -std::max<long long>(1, (left + 99) / 100);
        if (!timer || !SetWaitableTimer(timer.get(), &due, 0, nullptr, nullptr, FALSE)) {
            Sleep(static_cast<DWORD>(left / 1'000'000));
            if (left < 1'000'000) SwitchToThread();
            continue;
        }
        WaitForSingleObject(timer.get(), INFINITE);
    }
    if (coarse) timeEndPeriod(1);
}

// Windows has no timer slack to tighten: the precision is the timer's (SleepUntil).
void TightenTimerSlack() {}

LocalTime LocalNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return LocalTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

// A pipe or a device in the file's place is refused before any read.
SmallFile ReadSmallFile(const std::string& path, std::size_t maxBytes) {
    SmallFile file;
    Handle handle = Owned(CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle) {
        const DWORD code = GetLastError();
        if (code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND) file.error = Why(code);
        return file;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(handle.get()) != FILE_TYPE_DISK ||
        !GetFileInformationByHandle(handle.get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        file.error = "not a regular file";
        return file;
    }
    // A file that says it is too large is refused unread.
    const std::uint64_t size = std::uint64_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow;
    if (size > maxBytes) {
        file.error = "larger than " + std::to_string(maxBytes) + " bytes";
        file.tooLarge = true;
        return file;
    }
    // Room for the size it says and one byte more, which tells a file that grew meanwhile; more
    // room is made as it is needed, up to one byte past the limit.
    std::string text(static_cast<std::size_t>(size) + 1, '\0');
    std::size_t got = 0;
    while (true) {
        if (got == text.size()) {
            if (got > maxBytes) break;
            text.resize(std::min(maxBytes + 1, 2 * text.size()));
        }
        DWORD n = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(text.size() - got, 1 << 20));
        if (!ReadFile(handle.get(), text.data() + got, want, &n, nullptr)) {
            file.error = Why(GetLastError());
            return file;
        }
        if (n == 0) break;
        got += n;
    }
    if (got > maxBytes) {
        file.error = "larger than " + std::to_string(maxBytes) + " bytes";
        file.tooLarge = true;
        return file;
    }
    text.resize(got);
    file.text = std::move(text);
    return file;
}

std::optional<std::string> MakeDirectory(const std::string& path) {
    if (CreateDirectoryW(Wide(path).c_str(), nullptr)) return std::nullopt;
    const DWORD code = GetLastError();
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    if (code == ERROR_ALREADY_EXISTS && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return "cannot create " + path + ": " + Why(code);
}

// The new file is written beside the old one and moved over it; the folders above are the
// user's own by their place under the user's profile.
std::optional<std::string> ReplaceFile(const std::string& path, std::string_view contents,
                                       WriteRule rule) {
    if (const std::optional<std::string> why = WhyNotWritable(path, rule))
        return "cannot write " + path + ": " + *why;
    if (rule.makeFolders)
        if (std::optional<std::string> error = MakeDirs(Parent(path))) return error;
    const std::string temp = path + "." + std::to_string(GetCurrentProcessId()) + ".new";
    const std::wstring wideTemp = Wide(temp);
    bool written = false;
    DWORD code = 0;
    {
        Handle handle = Owned(CreateFileW(wideTemp.c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!handle) return "cannot write " + path + ": " + Why(GetLastError());
        written = WriteAll(handle.get(), contents) && FlushFileBuffers(handle.get());
        if (!written) code = GetLastError();
    }
    if (!written) {
        DeleteFileW(wideTemp.c_str());
        return "cannot write " + path + ": " + Why(code);
    }
    if (!MoveFileExW(wideTemp.c_str(), Wide(path).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        code = GetLastError();
        DeleteFileW(wideTemp.c_str());
        return "cannot write " + path + ": " + Why(code);
    }
    return std::nullopt;
}

// Asked through the file's attributes, so a device or a pipe is never opened.
std::optional<std::string> WhyNotWritable(const std::string& path, WriteRule rule) {
    const std::wstring wide = Wide(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || (code == ERROR_PATH_NOT_FOUND && rule.makeFolders)) {
            // No file yet: the folder above must be there and be one, or be made.
            const std::string parent = Parent(path);
            if (parent.empty()) return std::nullopt;
            const DWORD above = GetFileAttributesW(Wide(parent).c_str());
            if (above != INVALID_FILE_ATTRIBUTES && (above & FILE_ATTRIBUTE_DIRECTORY))
                return std::nullopt;
            if (above == INVALID_FILE_ATTRIBUTES && rule.makeFolders) return std::nullopt;
            return Why(ERROR_PATH_NOT_FOUND);
        }
        return Why(code);
    }
    // A device (NUL, CON) is no file on the disk: refused like a folder.
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return "not a regular file";
    if (attributes & FILE_ATTRIBUTE_DEVICE) return "not a regular file";
    if (!rule.overwrite) return "already exists";
    if (attributes & FILE_ATTRIBUTE_READONLY) return Why(ERROR_ACCESS_DENIED);
    return std::nullopt;
}

// Symbolic links are rare on Windows and need rights to make; the settings file is replaced
// where it is.
std::string LinkTarget(const std::string& path) {
    return path;
}

NewFile WriteNewFile(const std::string& path, std::string_view contents) {
    NewFile result;
    if (std::optional<std::string> error = MakeDirs(Parent(path))) {
        result.error = *error;
        return result;
    }
    const std::wstring wide = Wide(path);
    DWORD code = 0;
    {
        // CREATE_NEW fails on any file of that name, one made meanwhile included.
        Handle handle = Owned(CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!handle) {
            code = GetLastError();
            if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS)
                result.existed = true;
            else
                result.error = "cannot write " + path + ": " + Why(code);
            return result;
        }
        if (WriteAll(handle.get(), contents)) {
            result.written = true;
            return result;
        }
        code = GetLastError();
    }
    DeleteFileW(wide.c_str());
    result.error = "cannot write " + path + ": " + Why(code);
    return result;
}

std::optional<std::string> RenameFile(const std::string& from, const std::string& to) {
    if (MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_REPLACE_EXISTING))
        return std::nullopt;
    return "cannot rename " + from + " to " + to + ": " + Why(GetLastError());
}

}  // namespace hopla
