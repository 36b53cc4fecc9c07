// Saving a whole file: a temporary file beside it renamed over it, or, where the new file could
// not take the old one's place whole (nothing can be made beside it, another owner, other
// names), the file itself rewritten.
#include "platform/file_save.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>

namespace {

namespace fs = std::filesystem;

long writeFailureAfterBytes = -1;
long millisecondsWaitedForLocks = 0;
// What is left of the wait a SharedLockWait shares out; negative while none lives.
int sharedWaitLeft = -1;

// Links are followed at most this many times, as the kernel does.
constexpr int kMaxLinks = 40;
constexpr int kLockWaitMilliseconds = 2000;
constexpr int kLockRetryMilliseconds = 20;
// A file rewritten in place is first read whole, to be put back if the write fails; none of
// the game's files comes near this size.
constexpr off_t kLargestInPlace = 16 << 20;
// Names tried for a save's temporary file before giving up: the first is "<target>.tmp-<pid>".
constexpr int kTemporaryNames = 100;
// Times a save starts again because another save replaced the file while it waited for its lock.
constexpr int kSaveAttempts = 20;
// SaveOnce's answer when another save replaced or made the file meanwhile.
constexpr int kStartAgain = -1;

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

// Takes the file's lock, waiting for whoever holds it at most kLockWaitMilliseconds (or what is
// left of a shared wait): another program may hold it for ever, and a goal must not hang on it.
// 0, or EWOULDBLOCK when the wait was in vain. A file system without locks is written unlocked.
int LockWithinAWhile(int fd) {
    int ownWait = kLockWaitMilliseconds;
    int& waitLeft = sharedWaitLeft >= 0 ? sharedWaitLeft : ownWait;
    for (;;) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) return 0;
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK) return 0;
        if (waitLeft <= 0) return EWOULDBLOCK;
        usleep(kLockRetryMilliseconds * 1000);
        waitLeft -= kLockRetryMilliseconds;
        millisecondsWaitedForLocks += kLockRetryMilliseconds;
    }
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Whether the name still leads to the open file itself (not through a link).
bool StillNamedBy(int fd, const std::string& name) {
    struct stat open {}, named {};
    return fstat(fd, &open) == 0 && lstat(name.c_str(), &named) == 0 && SameFile(open, named);
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

// Writes all bytes at the file's position, in one write unless the system takes fewer; the
// test switch cuts them short. 0 or an errno.
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

// Writes the bytes into a new, empty file and onto the disk. 0 or an errno.
int WriteNewFile(int fd, const std::vector<std::uint8_t>& bytes) {
    const int error = WriteAll(fd, bytes);
    if (error != 0) return error;
    return fsync(fd) == 0 ? 0 : errno;
}

// The content of the open regular file, read through a second opening of its name (the file
// is open for writing only). 0, EFBIG when it holds more than `largest` bytes, or the errno of
// the failure (EAGAIN when the name no longer leads to the file).
int ReadThroughName(const std::string& name, int fd, off_t largest, std::vector<std::uint8_t>& bytes) {
    OpenFile reading(open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!reading.IsOpen()) return errno;
    struct stat written {}, read {};
    if (fstat(fd, &written) != 0 || fstat(reading.Fd(), &read) != 0) return errno;
    if (!SameFile(written, read)) return EAGAIN;
    if (read.st_size > largest) return EFBIG;
    bytes.resize(static_cast<std::size_t>(read.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = pread(reading.Fd(), bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return errno;
        if (got == 0) return EAGAIN;  // cut short meanwhile
        done += static_cast<std::size_t>(got);
    }
    return 0;
}

// The old content in place again after a failed write; false when even that failed.
bool PutBack(int fd, const std::vector<std::uint8_t>& old) {
    return pwrite(fd, old.data(), old.size(), 0) == static_cast<ssize_t>(old.size()) &&
           ftruncate(fd, static_cast<off_t>(old.size())) == 0;
}

// Writes the bytes over the file's old content without emptying it first, then cuts off what
// is left of a longer old content. A new content shorter than the old one is written padded
// with zero bytes to the old length, all in one write from the start. The kernel takes a write
// into one page of a file (4096 bytes) at once, so a kill leaves a content of up to that size
// whole: the old one, or the new one followed, until the cut, by zero bytes, which a reader
// that stops where its content ends (score.dat's) never looks at and the readers of texts drop
// (WithoutSavePadding). A write that fails puts the old content back where it could be read.
int OverwriteRegularFile(const std::string& name, int fd, off_t oldSize, const std::vector<std::uint8_t>& bytes) {
    if (oldSize > kLargestInPlace) return EFBIG;
    std::vector<std::uint8_t> old;
    const bool oldKept = ReadThroughName(name, fd, kLargestInPlace, old) == 0;
    std::vector<std::uint8_t> padded = bytes;
    if (padded.size() < static_cast<std::size_t>(oldSize)) padded.resize(static_cast<std::size_t>(oldSize), 0);
    if (lseek(fd, 0, SEEK_SET) != 0) return errno;
    int error = WriteAll(fd, padded);
    if (error == 0 && fsync(fd) != 0) error = errno;
    const bool cut = bytes.size() < padded.size();
    if (error == 0 && cut && ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) error = errno;
    if (error != 0 && oldKept) PutBack(fd, old);
    return error;
}

// Every save writes a temporary file of its own, "<target>.tmp-<pid>", so two games saving at
// once never write into the same file, whether or not the file system honours locks. Where
// something else has that name (anyone who may write the folder can plant one), random digits
// follow, which no one can have taken in advance.
std::string TemporaryNameOf(const std::string& target, int attempt) {
    const std::string name = target + ".tmp-" + std::to_string(getpid());
    if (attempt == 0) return name;
    static std::mt19937 random{std::random_device{}()};
    return name + "-" + std::to_string(std::uniform_int_distribution<std::uint32_t>(1, 999999999)(random));
}

// A whole number in digits without leading zeros, as a save writes one.
bool IsWrittenNumber(const std::string& digits) {
    return !digits.empty() && digits.size() <= 10 && digits[0] != '0' &&
           digits.find_first_not_of("0123456789") == std::string::npos;
}

// Whether a name beside the target is one a save gives its temporary file:
// "<target>.tmp-<pid>" or "<target>.tmp-<pid>-<digits>".
bool NamesATemporary(const std::string& fileName, const std::string& targetName) {
    const std::string prefix = targetName + ".tmp-";
    if (fileName.compare(0, prefix.size(), prefix) != 0) return false;
    const std::string number = fileName.substr(prefix.size());
    const std::size_t dash = number.find('-');
    if (dash == std::string::npos) return IsWrittenNumber(number);
    return IsWrittenNumber(number.substr(0, dash)) && IsWrittenNumber(number.substr(dash + 1));
}

// A temporary file as a save makes it: a plain file of this player with no other name.
bool MadeByASave(const struct stat& status) {
    return S_ISREG(status.st_mode) && status.st_uid == geteuid() && status.st_nlink == 1;
}

// A save holds the lock of its temporary file from the moment it made it until it is renamed;
// one killed half-way leaves an unlocked file behind, which is removed. The lock, not the
// process id, tells: a game in another process id space can share the folder.
void RemoveIfAbandoned(const std::string& name) {
    struct stat named {};
    if (lstat(name.c_str(), &named) != 0 || !MadeByASave(named)) return;
    OpenFile file(open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat opened {};
    if (!file.IsOpen() || fstat(file.Fd(), &opened) != 0 || !SameFile(named, opened) || !MadeByASave(opened)) return;
    if (flock(file.Fd(), LOCK_EX | LOCK_NB) != 0) return;  // in use, or no way to tell
    if (StillNamedBy(file.Fd(), name)) unlink(name.c_str());
}

// Any other name, a link or folder so named, another player's file or one in use is left alone.
void RemoveAbandonedTemporaries(const std::string& target) {
    const fs::path targetPath(target);
    const fs::path folder = targetPath.has_parent_path() ? targetPath.parent_path() : fs::path(".");
    const std::string targetName = targetPath.filename().string();
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        if (NamesATemporary(entry->path().filename().string(), targetName)) RemoveIfAbandoned(entry->path().string());
    }
}

// Makes the save's own temporary file under a name nobody holds, new (never an existing file,
// nor through a link) and locked. Another game's clean-up may take it for an abandoned one in
// the moment before the lock; then it is made again. 0 or an errno.
int CreateOwnTemporary(const std::string& target, std::string& name, OpenFile& file) {
    for (int attempt = 0; attempt < kTemporaryNames; ++attempt) {
        name = TemporaryNameOf(target, attempt);
        file.Reset(open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666));
        if (!file.IsOpen() && errno == EEXIST) continue;
        if (!file.IsOpen()) return errno;
        const int error = LockWithinAWhile(file.Fd());
        const bool ours = StillNamedBy(file.Fd(), name);
        if (error != 0 && ours) unlink(name.c_str());
        if (error != 0 || ours) return error;
    }
    return EEXIST;
}

// Rewrites the file itself, under its lock: the only way where the file cannot be replaced.
int RewriteInPlace(const std::string& name, int fd, const std::vector<std::uint8_t>& bytes) {
    if (const int error = LockWithinAWhile(fd); error != 0) return error;
    struct stat status {};
    if (fstat(fd, &status) != 0) return errno;
    // A device or a pipe is written as it is (a link to /dev/null keeps nothing, as asked).
    if (!S_ISREG(status.st_mode)) return WriteAll(fd, bytes);
    return OverwriteRegularFile(name, fd, status.st_size, bytes);
}

// What a save reads of the file before it writes: nothing, or at most `largest` bytes.
struct SavedRead {
    bool wanted;
    std::size_t largest;
};

// What the file holds under the save's lock, for the merge: `found` false when nothing is read,
// there is no file, or it is a device or a pipe, which hold nothing to build on. 0 or an errno:
// a file that cannot be read whole is never written over.
int ReadSaved(const std::string& target, const OpenFile& existing, const struct stat& old, SavedRead read,
              std::vector<std::uint8_t>& saved, bool& found) {
    found = read.wanted && existing.IsOpen() && S_ISREG(old.st_mode);
    if (!found) return 0;
    const off_t limit = static_cast<off_t>(std::min<std::size_t>(read.largest, kLargestInPlace));
    const int error = ReadThroughName(target, existing.Fd(), limit, saved);
    return error == EAGAIN ? kStartAgain : error;
}

// Gives the new file the target's name. A file made meanwhile where there was none (another
// game's first save) is not replaced unseen: the save starts again and builds on it.
int RenameIntoPlace(const std::string& from, const std::string& target, bool replaces) {
    if (!replaces) {
        if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return 0;
        if (errno == EEXIST) return kStartAgain;
        if (errno != EINVAL && errno != ENOSYS) return errno;  // else a file system that cannot tell
    }
    return std::rename(from.c_str(), target.c_str()) == 0 ? 0 : errno;
}

// One try at the save, under the target's lock; kStartAgain when another save replaced or made
// the file meanwhile.
int SaveOnce(const std::string& target, SavedRead read, const MergeWithSaved& merge) {
    // Opening for writing changes nothing yet, but tells whether the file may be written.
    OpenFile existing(open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!existing.IsOpen() && errno != ENOENT) return errno;
    struct stat old {};
    if (existing.IsOpen()) {
        if (fstat(existing.Fd(), &old) != 0) return errno;
        if (const int error = LockWithinAWhile(existing.Fd()); error != 0) return error;
        if (!StillNamedBy(existing.Fd(), target)) return kStartAgain;
    }
    std::vector<std::uint8_t> saved, bytes;
    bool found = false;
    if (const int error = ReadSaved(target, existing, old, read, saved, found); error != 0) return error;
    if (!merge(found ? &saved : nullptr, bytes)) return 0;
    if (existing.IsOpen() && !ReplaceableByRename(old)) return RewriteInPlace(target, existing.Fd(), bytes);

    RemoveAbandonedTemporaries(target);
    std::string temporaryName;
    OpenFile temporary;
    if (const int createError = CreateOwnTemporary(target, temporaryName, temporary); createError != 0) {
        return existing.IsOpen() ? RewriteInPlace(target, existing.Fd(), bytes) : createError;
    }

    int error = WriteNewFile(temporary.Fd(), bytes);
    if (error == 0 && existing.IsOpen()) error = TakeOverOwnerAndMode(temporary.Fd(), old);
    if (error == 0) error = RenameIntoPlace(temporaryName, target, existing.IsOpen());
    if (error == 0) return 0;
    unlink(temporaryName.c_str());
    // A file that cannot be replaced (in a folder with the sticky bit, or owned by another
    // player, say) is rewritten.
    const bool replaceRefused = error == EPERM || error == EACCES || error == EBUSY;
    return replaceRefused && existing.IsOpen() ? RewriteInPlace(target, existing.Fd(), bytes) : error;
}

int SaveFile(const std::string& path, SavedRead read, const MergeWithSaved& merge) {
    const std::string target = FollowLinks(path);
    for (int attempt = 0; attempt < kSaveAttempts; ++attempt) {
        const int error = SaveOnce(target, read, merge);
        if (error != kStartAgain) return error;
    }
    return EAGAIN;
}

}  // namespace

int SaveMergedFile(const std::string& path, std::size_t largest, const MergeWithSaved& merge) {
    return SaveFile(path, {true, largest}, merge);
}

int SaveWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    // Nothing on disk changes what is written, so nothing is read.
    return SaveFile(path, {false, 0}, [&bytes](const std::vector<std::uint8_t>*, std::vector<std::uint8_t>& written) {
        written = bytes;
        return true;
    });
}

int SaveNewFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    RemoveAbandonedTemporaries(path);
    std::string temporary;
    OpenFile file;
    int error = CreateOwnTemporary(path, temporary, file);
    if (error != 0) return error;
    error = WriteNewFile(file.Fd(), bytes);
    if (error == 0 && link(temporary.c_str(), path.c_str()) != 0) error = errno;
    unlink(temporary.c_str());
    return error;
}

SharedLockWait::SharedLockWait() : owner_(sharedWaitLeft < 0) {
    if (owner_) sharedWaitLeft = kLockWaitMilliseconds;
}

SharedLockWait::~SharedLockWait() {
    if (owner_) sharedWaitLeft = -1;
}

std::string WithoutSavePadding(const std::string& text) { return text.substr(0, text.find_last_not_of('\0') + 1); }

void SetWriteFailureAfterBytes(long bytes) { writeFailureAfterBytes = bytes; }

long MillisecondsWaitedForLocks() { return millisecondsWaitedForLocks; }
