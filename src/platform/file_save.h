// Saving a whole file so that neither a crash nor a full disk leaves half of it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Writes the bytes as the new content of the file the path names; a symbolic link is followed
// to its target and stays a link. The bytes go to "<target>.tmp" beside the target, which then
// replaces it in one rename and keeps its permission bits: a failure at any point leaves
// either the old content or the new one, and two saves at once never mix. The temporary name
// is the same for every save, so one killed half-way leaves nothing that the next does not
// reuse. Where nothing can be created beside the target, it is rewritten in place, as opening
// it for writing would. A file that cannot be opened for writing is left as it is.
// Returns 0, or the errno value of the failure.
int SaveWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Test switch: make the next writes fail after this many bytes (negative: never fail).
void SetWriteFailureAfterBytes(long bytes);
