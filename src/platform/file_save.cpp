// Saving a whole file: a temporary file beside it renamed over it, or, where the new file could
// not take the old one's place whole (nothing can be made beside it, another owner, other
// names), the file itself rewritten.
#include "platform/file_save.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

long writeFailureAfterBytes = -1;

// Links are followed at most this many times, as the kernel does.
constexpr int kMaxLinks = 40;

// Owns an open file descriptor.
class OpenFile {
public:
    explicit OpenFile(int fd = -1) : fd_(fd) {}
    ~OpenFile() { Close(); }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    int Fd() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }
    void Reset(int fd) {
        Close();
        fd_ = fd;
    }

private:
    void Close() {
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
    }
    int fd_;
};

// The file a path leads to. A link to a file that does not exist yet leads to that name,
// so that the save creates it there.
std::string FollowLinks(const std::string& path) {
    fs::path current = path;
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(current, error))) break;
        const fs::path target = fs::read_symlink(current, error);
        if (error) break;
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return current.string();
}

// Waits for the lock; a file system without locks is written unlocked.
void LockWholeFile(int fd) {
    while (flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
}

bool IsRegularFile(int fd) {
    struct stat status {};
    return fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

// A rename would leave the other names of a file with hard links on the old table. A file
// with no name left was replaced by another save since it was opened: rewriting it would put
// the table into a file no one can open (and into the hands of whoever still reads it), so
// the new file takes the name instead.
bool ReplaceableByRename(const struct stat& status) { return S_ISREG(status.st_mode) && status.st_nlink <= 1; }

// Gives the new file the old one's owner, group and permission bits, as rewriting the old file
// keeps them. Another player's file in a shared folder cannot be given away: EPERM.
int TakeOverOwnerAndMode(int fd, const struct stat& old) {
    struct stat fresh {};
    if (fstat(fd, &fresh) != 0) return errno;
    const bool ownerDiffers = fresh.st_uid != old.st_uid || fresh.st_gid != old.st_gid;
    if (ownerDiffers && fchown(fd, old.st_uid, old.st_gid) != 0) return EPERM;
    return fchmod(fd, old.st_mode & 0777) == 0 ? 0 : errno;
}

// Writes all bytes at the file's position; the test switch cuts them short. 0 or an errno.
int WriteAll(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t limit = bytes.size();
    const bool injectFailure = writeFailureAfterBytes >= 0 &&
                               static_cast<std::size_t>(writeFailureAfterBytes) < bytes.size();
    if (injectFailure) limit = static_cast<std::size_t>(writeFailureAfterBytes);
    std::size_t done = 0;
    while (done < limit) {
        const ssize_t written = write(fd, bytes.data() + done, limit - done);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return errno;
        if (written == 0) return ENOSPC;
        done += static_cast<std::size_t>(written);
    }
    return injectFailure ? ENOSPC : 0;
}

// Empties the file and writes the bytes to the disk. 0 or an errno.
int WriteFromStart(int fd, const std::vector<std::uint8_t>& bytes) {
    const bool regular = IsRegularFile(fd);
    if (regular && ftruncate(fd, 0) != 0) return errno;
    const int error = WriteAll(fd, bytes);
    if (error != 0) return error;
    if (regular && fsync(fd) != 0) return errno;
    return 0;
}

// Every save writes a temporary file of its own, "<target>.tmp-<pid>", so two games saving at
// once never write into the same file, whether or not the file system honours locks.
std::string TemporaryNameOf(const std::string& target, pid_t pid) { return target + ".tmp-" + std::to_string(pid); }

// The process a file name beside the target says it was written by, or 0 for any other name.
pid_t WriterOfTemporary(const std::string& fileName, const std::string& targetName) {
    const std::string prefix = targetName + ".tmp-";
    if (fileName.compare(0, prefix.size(), prefix) != 0) return 0;
    const std::string digits = fileName.substr(prefix.size());
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) return 0;
    return static_cast<pid_t>(std::stol(digits));
}

// A save killed half-way leaves its temporary file; the next save removes those whose
// processes are gone. Any other name, a link or folder so named, or a file of a process still
// running is left alone.
void RemoveAbandonedTemporaries(const std::string& target) {
    const fs::path targetPath(target);
    const fs::path folder = targetPath.has_parent_path() ? targetPath.parent_path() : fs::path(".");
    const std::string targetName = targetPath.filename().string();
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        const pid_t writer = WriterOfTemporary(entry->path().filename().string(), targetName);
        std::error_code unknown;
        const bool plainFile = fs::is_regular_file(entry->symlink_status(unknown));  // as saves make them
        if (writer > 0 && plainFile && kill(writer, 0) != 0 && errno == ESRCH) unlink(entry->path().c_str());
    }
}

// The save as opening the file for writing does it: the old content is gone first.
int RewriteInPlace(int fd, const std::vector<std::uint8_t>& bytes) {
    LockWholeFile(fd);
    return WriteFromStart(fd, bytes);
}

}  // namespace

int SaveWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const std::string target = FollowLinks(path);
    // Opening for writing changes nothing yet, but tells whether the file may be written.
    OpenFile existing(open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!existing.IsOpen() && errno != ENOENT) return errno;
    struct stat old {};
    if (existing.IsOpen() && fstat(existing.Fd(), &old) != 0) return errno;
    if (existing.IsOpen() && !ReplaceableByRename(old)) return RewriteInPlace(existing.Fd(), bytes);

    RemoveAbandonedTemporaries(target);
    const std::string temporaryName = TemporaryNameOf(target, getpid());
    OpenFile temporary(
        open(temporaryName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666));
    if (!temporary.IsOpen()) {
        const int createError = errno;
        return existing.IsOpen() ? RewriteInPlace(existing.Fd(), bytes) : createError;
    }

    int error = WriteFromStart(temporary.Fd(), bytes);
    if (error == 0 && existing.IsOpen()) error = TakeOverOwnerAndMode(temporary.Fd(), old);
    if (error == 0 && std::rename(temporaryName.c_str(), target.c_str()) != 0) error = errno;
    if (error == 0) return 0;
    unlink(temporaryName.c_str());
    // A file that cannot be replaced (in a folder with the sticky bit, or owned by another
    // player, say) is rewritten.
    const bool replaceRefused = error == EPERM || error == EACCES || error == EBUSY;
    return replaceRefused && existing.IsOpen() ? RewriteInPlace(existing.Fd(), bytes) : error;
}

void SetWriteFailureAfterBytes(long bytes) { writeFailureAfterBytes = bytes; }
