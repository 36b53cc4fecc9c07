// Challenge files on any bytes: the reader takes a challenge or names its problem in one line,
// and a challenge it takes is written back to the very same bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "replays/challenge.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    PrepareReaderFuzzing();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> bytes(data, data + size);
    Challenge challenge;
    DriveRecord drive;
    const std::string problem = ReadChallenge(bytes, challenge, drive);
    if (!problem.empty()) {
        FuzzExpect(problem.find('\n') == std::string::npos, "a refusal is one line");
        return 0;
    }
    FuzzExpect(FormatChallenge(challenge) == bytes, "a challenge taken is written back the same");
    FuzzExpect(drive.course == 11 && drive.courseHash == CourseHash(challenge.map), "the drive is one of its course");
    return 0;
}
