// Saving a whole file so that neither a crash nor a full disk leaves half of it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Writes the bytes as the new content of the file the path names; a symbolic link is followed
// to its target and stays a link. The bytes go to "<target>.tmp-<pid>" beside the target, which
// then replaces it in one rename and keeps its permission bits: a failure at any point leaves
// either the old content or the new one, and two games saving at once never mix, each writing
// its own temporary file. A save killed half-way leaves its temporary file; the next save
// removes those of processes that are gone. Where nothing can be created beside the target, it
// is rewritten in place, as opening it for writing would. A file that cannot be opened for
// writing is left as it is. One process saves one file from one thread at a time.
// Returns 0, or the errno value of the failure.
int SaveWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Test switch: make the next writes fail after this many bytes (negative: never fail).
void SetWriteFailureAfterBytes(long bytes);
