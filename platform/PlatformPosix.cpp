// The files and the local time of Platform.h through POSIX calls, for the systems that have them:
// Linux, and the browser's emscripten file system (in memory, IndexedDB or, under node, the
// machine's own).
#include "platform/PlatformPosix.h"
#include "platform/Platform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string_view>

namespace hopla {
namespace {

// A file descriptor closed when it goes out of scope.
class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    // Closes now, for the caller to see whether the last writes failed.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

// Writes all of `contents` to `fd`; false with errno set when it cannot.
bool WriteAll(int fd, std::string_view contents) {
    for (std::size_t done = 0; done < contents.size();) {
        const ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) {
            errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// mkdir -p for the directories above `path`, each readable by the user only.
std::optional<std::string> MakeParents(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string dir = path.substr(0, slash);
        if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST)
            return "cannot create " + dir + ": " + std::strerror(errno);
    }
    return std::nullopt;
}

}  // namespace

// Asked through stat, so a pipe or a device in the file's place cannot hold the caller.
std::optional<std::string> WhyNotWritable(const std::string& path, WriteRule rule) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) return "not a regular file";
        if (!rule.overwrite) return "already exists";
        if (::access(path.c_str(), W_OK) != 0) return std::strerror(errno);
        return std::nullopt;
    }
    if (errno != ENOENT) return std::strerror(errno);
    // A new file: its folder must take one, or be made.
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    const std::string dir = parent.empty() ? "." : parent.string();
    if (::stat(dir.c_str(), &st) != 0) {
        if (errno == ENOENT && rule.makeFolders) return std::nullopt;
        return std::strerror(errno);
    }
    if (!S_ISDIR(st.st_mode)) return std::strerror(ENOTDIR);
    if (::access(dir.c_str(), W_OK | X_OK) != 0) return std::strerror(errno);
    return std::nullopt;
}

SmallFile ReadSmallFile(const std::string& path, std::size_t maxBytes) {
    SmallFile file;
    Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        if (errno != ENOENT && errno != ENOTDIR) file.error = std::strerror(errno);
        return file;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        file.error = "not a regular file";
        return file;
    }
    // A file that says it is too large is refused unread.
    if (static_cast<std::uintmax_t>(st.st_size) > maxBytes) {
        file.error = "larger than " + std::to_string(maxBytes) + " bytes";
        file.tooLarge = true;
        return file;
    }
    // Room for the size it says and one byte more, which tells a file that grew meanwhile; more
    // room is made as it is needed, up to one byte past the limit.
    std::string text(static_cast<std::size_t>(st.st_size) + 1, '\0');
    std::size_t got = 0;
    while (true) {
        if (got == text.size()) {
            if (got > maxBytes) break;
            text.resize(std::min(maxBytes + 1, 2 * text.size()));
        }
        const ssize_t n = ::read(fd.get(), text.data() + got, text.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            file.error = std::strerror(errno);
            return file;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
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

std::optional<std::string> ReplaceFile(const std::string& path, std::string_view contents,
                                       WriteRule rule) {
    const std::string target = LinkTarget(path);
    if (const std::optional<std::string> why = WhyNotWritable(target, rule))
        return "cannot write " + path + ": " + *why;
    if (rule.makeFolders)
        if (std::optional<std::string> error = MakeParents(target)) return error;
    const bool existed = ::access(target.c_str(), F_OK) == 0;
    std::string temp = target + ".XXXXXX";
    Fd fd(::mkstemp(temp.data()));
    if (fd.get() < 0) return "cannot write " + path + ": " + std::strerror(errno);
    bool written = WriteAll(fd.get(), contents) && ::fsync(fd.get()) == 0;
    const int savedErrno = errno;
    ::fchmod(fd.get(), 0644);
    if (!fd.close() && written) written = false;
    if (!written) {
        ::unlink(temp.c_str());
        return "cannot write " + path + ": " + std::strerror(savedErrno) +
               (existed ? " (the file as it was is kept)" : "");
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int renameErrno = errno;
        ::unlink(temp.c_str());
        return "cannot write " + path + ": " + std::strerror(renameErrno);
    }
    FileChanged(target);
    return std::nullopt;
}

std::string LinkTarget(const std::string& path) {
    std::string at = path;
    // As many links as the kernel follows itself before it calls it a loop.
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
    Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0644));
    if (fd.get() < 0) {
        if (errno == EEXIST)
            result.existed = true;
        else
            result.error = "cannot write " + path + ": " + std::strerror(errno);
        return result;
    }
    bool written = WriteAll(fd.get(), contents);
    const int savedErrno = errno;
    if (!fd.close() && written) written = false;
    if (!written) {
        ::unlink(path.c_str());
        result.error = "cannot write " + path + ": " + std::strerror(savedErrno);
        return result;
    }
    FileChanged(path);
    result.written = true;
    return result;
}

std::optional<std::string> MakeDirectory(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) == 0) return std::nullopt;
    const int why = errno;
    struct stat st {};
    if (why == EEXIST && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return std::nullopt;
    return "cannot create " + path + ": " + std::strerror(why);
}

std::optional<std::string> RenameFile(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0)
        return "cannot rename " + from + " to " + to + ": " + std::strerror(errno);
    FileChanged(to);
    return std::nullopt;
}

// In the system's time zone; in the browser, the one its JavaScript sees.
LocalTime LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

}  // namespace hopla
