// Saving a whole file so that neither a crash nor a full disk leaves half of it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Writes the bytes as the new content of the file the path names; a symbolic link is followed
// to its target and stays a link. The bytes go to "<target>.tmp-<pid>" beside the target, made
// new (never through a link or into an existing file) and locked while written, which then
// replaces it in one rename and keeps its permission bits: a failure or a kill at any point
// leaves either the old content or the new one, and two games saving at once never mix, each
// writing its own temporary file. A save killed half-way leaves its temporary file; the next
// save removes those no save holds locked any more. Where the target cannot be replaced
// (nothing can be created beside it, other names, another owner) it is rewritten in place,
// never emptied first: see OverwriteRegularFile for what a kill then leaves. Its lock is waited
// for two seconds at most (then EWOULDBLOCK). A file that cannot be opened for writing is left
// as it is. One process saves one file from one thread at a time.
// Returns 0, or the errno value of the failure.
int SaveWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

// A text rewritten in place and killed before it was cut to its length ends in the zero bytes
// it was padded with; its readers take it without them.
std::string WithoutSavePadding(const std::string& text);

// Test switch: make the next writes fail after this many bytes (negative: never fail).
void SetWriteFailureAfterBytes(long bytes);
