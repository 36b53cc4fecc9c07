// score.dat on any bytes: the table takes what it can, and what it then writes reads back
// to exactly the same table.
#include <cstdint>
#include <cstring>

#include "fuzz_support.h"
#include "records/score_table.h"

namespace {
bool SameRecords(const ScoreTable& a, const ScoreTable& b) {
    if (a.setCount != b.setCount) return false;
    return std::memcmp(a.records, b.records, sizeof(CourseRecord) * RecordsPerSet * a.setCount) == 0;
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    PrepareReaderFuzzing();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    WriteFuzzInput(ScoreFileName, data, size);
    ScoreTable loaded;
    FuzzExpect(loaded.Load() == 1, "an existing file is read");
    FuzzExpect(loaded.setCount >= 1 && loaded.setCount <= MaxRecordSets, "set count the table holds");

    loaded.Save();
    ScoreTable reread;
    FuzzExpect(reread.Load() == 1, "the saved file is read");
    FuzzExpect(SameRecords(loaded, reread), "a saved table reads back unchanged");
    return 0;
}
