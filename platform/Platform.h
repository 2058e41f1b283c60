// What the runners ask of the operating system, in one place: where files go, the font file,
// the window system's habits, a precise sleep and safe file writing. One implementation per
// system (PlatformLinux.cpp, PlatformWindows.cpp, PlatformWeb.cpp; cmake/Targets.cmake picks
// one), the files and local time of Linux and the browser shared in PlatformPosix.cpp; the
// game itself never calls any of it.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The window system is asked through SDL's own connection to it, which only a window leads to.
struct SDL_Window;

namespace hopla {

// The system this build runs on, as a demo's made line names it: "linux", "windows" or "web".
std::string_view BuildTarget();

// ---- Where things are. Each directory comes without a trailing "/" unless said otherwise,
// and empty when the system offers no place; none of them is created by asking.

// The directory holding the running executable, links resolved, with a trailing "/" ("\\" on
// Windows); "./" when the system does not tell. On Windows a program in the game folder's
// tools folder (hopla-sim.exe in the zip) gets the game folder, the one holding hopla.exe. Every
// runner asks once at start and hands it to the game, whose wave files lie there.
std::string ExecutableDir();

// The game's own folder for the remembered settings ($XDG_CONFIG_HOME/hopla, else
// ~/.config/hopla). The frontend asks once at start.
std::string SettingsDir();

// The game's own folder for records kept between runs ($XDG_DATA_HOME/hopla, else
// ~/.local/share/hopla).
std::string RecordsDir();

// The Hopla folder inside the user's pictures folder (XDG_PICTURES_DIR from user-dirs.dirs,
// else from the environment, else ~/Pictures), where screenshots are saved.
std::string ScreenshotsDir();

// ---- Text.

// The font file to draw a face with: the face itself, else "MS PGothic", "IPAPGothic", any face
// covering Japanese, any sans-serif face. Empty when the system knows no font at all. The text
// renderer asks the first time it draws in a face; each face is looked up once per process,
// from any thread.
std::string FindFontFile(const std::string& face);

// What to tell a player for whom FindFontFile finds no font, one line in the words of the
// system's players: on Linux the package that brings the game's face, on Windows the font file
// that belongs beside the game. hopla refuses to start with it; the text renderer warns with it.
std::string NoFontAdvice();

// ---- The display and the window system. SDL's video must be running.

// The size of the part of a display that windows may use (without panels and docks), in
// pixels; none when the display is not known. The frontend asks when it picks the largest scale
// that fits: at start for display 0, later for the window's display.
struct DisplayArea {
    int width;
    int height;
};
std::optional<DisplayArea> UsableArea(int displayIndex);

// The keyboard's auto-repeat that the window system gives `window`: the first repeat `delayMs`
// after the press, then one every `intervalMs`; none when it does not say. The frontend asks
// once, after opening the window, to repeat controller directions alike.
struct KeyRepeatMs {
    unsigned delayMs;
    unsigned intervalMs;
};
std::optional<KeyRepeatMs> KeyRepeat(SDL_Window* window);

// Whether a window manager runs that puts a window on the whole screen when asked; none when
// the window system cannot be asked. The frontend asks at every switch to or from the whole
// screen, and otherwise sizes the window over the display itself.
std::optional<bool> WindowManagerRuns(SDL_Window* window);

// SDL wakes its own event wait with a message to its window, sent on a second connection to the
// X server, which may read it after the window is gone (the program closing it just then);
// Xlib's default answer to that error ends the program with status 1. Makes that error (a
// message sent to a window that is gone) harmless; every other one goes to the handler before.
// Screen calls it when it opens a window; nothing off X11.
void ToleratesMessagesToGoneWindows();

// ---- The process.

// Puts a stand-in on each of standard input, output and error that was closed when the program
// was started (`>&-`): one that fails every use, so that a read or write there still fails,
// while no file the program opens later takes its number (a demo being written would get the
// output's lines). Every command-line program calls it first thing in main.
void KeepStandardStreamsApart();

// hopla is a windowed program on Windows, which gets no console of its own. Each of its standard
// streams that leads nowhere is connected to the console of the program that started it (a
// command prompt), when there is one, so that --help, --version, --records and the error lines
// are read there; a stream sent to a file or a pipe stays so. Nothing on other systems. hopla's
// main calls it first thing.
void ReachStartingConsole();

// Shows `line`, an error as printed on standard error without the program's name, to a player
// who cannot see standard error: on Windows as a sentence in a message box titled Hopla when
// standard error leads nowhere (the game started from Explorer, a shortcut or a file type), and
// only then. Nothing on other systems, whose players see the line on standard error. hopla
// calls it for every error that ends it before or instead of the game.
void ShowFatalError(const std::string& line);

// Whether standard error is a terminal that a person watches (progress lines go there only
// then). hopla and hopla-sim ask once before they play a demo back.
bool StandardErrorIsTerminal();

// Makes a hangup (the terminal closed, SIGHUP) end the program as a termination request
// (SIGTERM) does, so that the window's loop closes properly and a recording gets its end
// line. The frontend calls it once, before SDL starts, which then turns the termination into
// its quit event.
void HangupEndsAsTermination();

// From now on a termination request (SIGTERM, or a hangup made one) is noted before whatever
// handled it already runs (SDL, which turns it into its quit event), so that the program can
// tell that quit event from the window's close button and keep its work before it ends. The
// editor calls it once its window is open. Nothing on systems without such signals.
void NoteTerminationRequests();
// Whether a termination request was noted since.
bool TerminationRequested();

// ---- Time.

// Sleeps until `deadline` on the steady clock, as precisely as the system allows, never less
// (signals do not cut it short). The frontend's event wait calls it for the last stretch before
// a deadline, once the window system's coarser wait is done.
void SleepUntil(std::chrono::steady_clock::time_point deadline);

// Makes the calling thread's sleeps end when asked rather than when convenient to the system
// (on Linux up to 50 microseconds later). The frontend calls it once, on the thread of its
// loop, before the first wait.
void TightenTimerSlack();

// ---- Time of day.

// The local date and time, to the second. The frontend names screenshots and dates records
// with it.
struct LocalTime {
    int year, month, day;      // 2026, 1..12, 1..31
    int hour, minute, second;  // 0..23, 0..59, 0..60
};
LocalTime LocalNow();

// ---- Files.

// What ReadSmallFile found: the contents, or why an existing file cannot be used, or neither
// when there is no file.
struct SmallFile {
    std::optional<std::string> text;  // the file's bytes as they are, text or not
    std::string error;      // one short phrase ("not a regular file", "Permission denied")
    bool tooLarge = false;  // the error is that the file is larger than allowed
};

// Reads a whole regular file of at most `maxBytes` bytes without ever waiting on a pipe or a
// device put in its place. The one reader of whole files: the settings, the records, stage
// files, demos and wave files are all read with it, each caller with its own limit.
SmallFile ReadSmallFile(const std::string& path, std::size_t maxBytes);

// How a writer treats what it finds. The game's own files (settings, records, the best demo)
// have their folders made and are replaced; a path the player typed is written only into a
// folder that is there, and over a file already there only where the option says so.
struct WriteRule {
    bool makeFolders = true;  // the missing folders above the file are made, the user's only
    bool overwrite = true;    // a file already there is replaced; else refused
};
// A path the player typed (a demo, a stage file, a par demo's folder): its folders must be there.
inline constexpr WriteRule kTypedPath{false, true};

// Why `path` cannot be written under `rule`, asked without opening it (so that a pipe or a
// device put there is never waited on), links followed: "not a regular file" for a pipe, a
// device, a socket or a folder, "already exists" for a file `rule` may not replace, else the
// system's phrase ("Permission denied", "No such file or directory" for a missing folder,
// "Too many levels of symbolic links"); nothing when it can. hopla asks for a demo to record
// before the window opens, hopla-solve for the demos it will write before it searches.
std::optional<std::string> WhyNotWritable(const std::string& path, WriteRule rule = {});

// The one way the programs write a file: `contents` as the file `path` anew, under `rule`.
// A regular file is replaced atomically: a temporary file beside it is written, flushed to the
// disk and renamed over it, so that a reader, a crash or a full disk leaves the old file whole
// or the new one, never half of either. A symbolic link is written through to the file it ends
// at, and stays a link. Whatever WhyNotWritable refuses is refused before anything is written.
// The file itself is readable by all. Returns one line saying what went wrong ("cannot write
// PATH: why", "cannot create DIR: why"), or nothing. Settings, records, the best demo, the
// editor's saves, exported stages, par demos and hopla-sim's shots are written with it.
std::optional<std::string> ReplaceFile(const std::string& path, std::string_view contents,
                                       WriteRule rule = {});

// The file a chain of symbolic links at `path` ends at (relative links taken from the link's
// own folder), the target of a dangling link included; `path` itself when it is no link or the
// chain loops. ReplaceFile writes there, so that a linked file stays a link.
std::string LinkTarget(const std::string& path);

// Writes `contents` as a new file `path` that did not exist before (never over another file,
// not even one made meanwhile), creating the missing directories above it as ReplaceFile does.
// The frontend saves screenshots with it.
struct NewFile {
    bool written = false;
    bool existed = false;  // a file of that name was there already: nothing was written
    std::string error;     // one line when neither ("cannot write PATH: why")
};
NewFile WriteNewFile(const std::string& path, std::string_view contents);

// Makes the folder `path` when it is not there yet; its parent must exist. One line saying why
// it cannot ("cannot create PATH: No such file or directory", "...: File exists" for a file
// under the name), or nothing. hopla-solve makes its --out-dir with it.
std::optional<std::string> MakeDirectory(const std::string& path);

// Renames `from` to `to` (replacing `to`); one line saying what went wrong, or nothing. The
// frontend puts a damaged records file aside with it.
std::optional<std::string> RenameFile(const std::string& from, const std::string& to);

}  // namespace hopla
