// Saving a whole file so that neither a crash nor a full disk leaves half of it.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Writes the bytes as the new content of the file the path names; a symbolic link is followed
// to its target and stays a link. The save first takes the file's own lock (waited for two
// seconds at most, then EWOULDBLOCK) and holds it until the new content has the name, so that
// the saves of several games follow one another. The bytes go to "<target>.tmp-<pid>" beside
// the target (where something else has that name, "<target>.tmp-<pid>-<digits>"), made new
// (never through a link or into an existing file) and locked while written, which then
// replaces it in one rename and keeps its permission bits: a failure or a kill at any point
// leaves either the old content or the new one, and two games saving at once never mix, each
// writing its own temporary file. A save killed half-way leaves its temporary file; the next
// save removes those no save holds locked any more. Where the target cannot be replaced
// (nothing can be created beside it, other names, another owner) it is rewritten in place,
// never emptied first: see OverwriteRegularFile for what a kill then leaves. A file that cannot
// be opened for writing is left as it is. One process saves one file from one thread at a time.
// Returns 0, or the errno value of the failure.
int SaveWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Makes a new file with the bytes, whole or not at all: they are written to a temporary file
// beside it, which then takes the name by a link, so that a file that has the name (made by
// another game meanwhile too) is never written over: EEXIST. Returns 0, or the errno value.
int SaveNewFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Makes the bytes to save from what the file holds under the save's lock: called with that
// content (nullptr when there is no file yet, or it is a device or a pipe, which hold nothing
// to build on), it fills `bytes` and returns true, or returns false to leave the file as it is.
using MergeWithSaved = std::function<bool(const std::vector<std::uint8_t>* saved, std::vector<std::uint8_t>& bytes)>;
// SaveWholeFile with the bytes made from the file as another game may have saved it since it
// was read, so that neither game's save is lost. A file that is there but cannot be read, or is
// larger than `largest`, is never written over: EACCES or EFBIG. 0 also when merge kept the file.
int SaveMergedFile(const std::string& path, std::size_t largest, const MergeWithSaved& merge);

// While one lives, the saves made share one wait for locks of two seconds at most, so that the
// files saved together at a goal cannot hold up the game longer than one of them could.
class SharedLockWait {
public:
    SharedLockWait();
    ~SharedLockWait();
    SharedLockWait(const SharedLockWait&) = delete;
    SharedLockWait& operator=(const SharedLockWait&) = delete;

private:
    bool owner_;
};

// A text rewritten in place and killed before it was cut to its length ends in the zero bytes
// it was padded with; its readers take it without them.
std::string WithoutSavePadding(const std::string& text);

// Test switch: make the next writes fail after this many bytes (negative: never fail).
void SetWriteFailureAfterBytes(long bytes);
// Test reading: the milliseconds all saves so far have slept waiting for locks.
long MillisecondsWaitedForLocks();
