// The best-times table and its file score.dat.
#include "records/score_table.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/text_file.h"
#include "shared/game_folder.h"
#include "shared/outside_text.h"

namespace {

constexpr std::int32_t ScoreFileVersion = 1;
// Far more than the format needs: ten sets take 2408 bytes, 4816 if every byte were 0x0A.
constexpr std::size_t kLargestScoreFile = 64 * 1024;

// A count read from the file is kept within what the table holds and what can be written
// back: more than the table's sets would overrun it, and no set at all would drop set 0,
// the one in use, from the file at the next save.
std::int32_t UsableSetCount(std::int32_t count) {
    if (count > MaxRecordSets) return MaxRecordSets;
    if (count < 1) return 1;
    return count;
}

// A record is taken only when all three of its values are in the stream.
bool ReadRecord(Int32Reader& reader, CourseRecord& record) {
    CourseRecord read{};
    if (!reader.Read(read.course) || !reader.Read(read.courseState) || !reader.Read(read.bestTime)) {
        return false;
    }
    record = read;
    return true;
}

}  // namespace

ScoreTable::ScoreTable() : records{} {
    for (int s = 0; s < MaxRecordSets; ++s) {
        for (int c = 0; c < RecordsPerSet; ++c) {
            records[s][c].course = c;
            records[s][c].courseState = c == 0 ? Open : Locked;
            records[s][c].bestTime = 0;
        }
    }
}

ScoreTable::~ScoreTable() = default;

std::int32_t ScoreTable::Load() {
    const std::string path = InGameFolder(ScoreFileName);
    std::vector<std::uint8_t> stream;
    if (!ReadGameFile("best-times file", path, kLargestScoreFile, stream)) return 0;

    Int32Reader reader(stream);
    std::int32_t version = 0;
    std::int32_t count = 0;
    if (!reader.Read(version) || !reader.Read(count)) return 1;
    setCount = UsableSetCount(count);
    // A count below 1 promises no records; the sets then keep their values.
    const int setsInFile = count > 0 ? setCount : 0;
    for (int s = 0; s < setsInFile; ++s) {
        for (int c = 0; c < RecordsPerSet; ++c) {
            if (!ReadRecord(reader, records[s][c])) return 1;
        }
    }
    return 1;
}

void ScoreTable::Save() {
    const std::int32_t count = UsableSetCount(setCount);
    std::vector<std::uint8_t> stream;
    stream.reserve(8 + sizeof(CourseRecord) * RecordsPerSet * count);
    AppendInt32(stream, ScoreFileVersion);
    AppendInt32(stream, count);
    for (int s = 0; s < count; ++s) {
        for (const CourseRecord& record : records[s]) {
            AppendInt32(stream, record.course);
            AppendInt32(stream, record.courseState);
            AppendInt32(stream, record.bestTime);
        }
    }
    // A file that cannot be written is left as it was and the table in memory stays current;
    // the player learns why from one line on stderr.
    const std::string path = InGameFolder(ScoreFileName);
    const int error = WriteTextModeFile(path, stream);
    if (error != 0) std::fprintf(stderr, "quonfel: could not save the best times in %s: %s\n", path.c_str(), std::strerror(error));
}

CourseRecord& ScoreTable::Current(int courseIndex) { return records[currentSet][courseIndex]; }
