// The best-times table and its file score.dat.
#include "records/score_table.h"

#include <algorithm>
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

// Fills the table from the file's stream as far as the stream goes.
void ReadStream(const std::vector<std::uint8_t>& stream, ScoreTable& table) {
    Int32Reader reader(stream);
    std::int32_t version = 0;
    std::int32_t count = 0;
    if (!reader.Read(version) || !reader.Read(count)) return;
    table.setCount = UsableSetCount(count);
    // A count below 1 promises no records; the sets then keep their values.
    const int setsInFile = count > 0 ? table.setCount : 0;
    for (int s = 0; s < setsInFile; ++s) {
        for (int c = 0; c < RecordsPerSet; ++c) {
            if (!ReadRecord(reader, table.records[s][c])) return;
        }
    }
}

std::vector<std::uint8_t> StreamOf(const ScoreTable& table) {
    const std::int32_t count = UsableSetCount(table.setCount);
    std::vector<std::uint8_t> stream;
    stream.reserve(8 + sizeof(CourseRecord) * RecordsPerSet * count);
    AppendInt32(stream, ScoreFileVersion);
    AppendInt32(stream, count);
    for (int s = 0; s < count; ++s) {
        for (const CourseRecord& record : table.records[s]) {
            AppendInt32(stream, record.course);
            AppendInt32(stream, record.courseState);
            AppendInt32(stream, record.bestTime);
        }
    }
    return stream;
}

// The lower of two best times, 0 standing for none.
std::int32_t LowerTime(std::int32_t a, std::int32_t b) {
    if (a == 0) return b;
    if (b == 0) return a;
    return std::min(a, b);
}

// Another game in the same folder may have saved since this one read the file: what it saved
// is kept. Each course of the set in use keeps the further state and the lower best time of
// the two; the other sets are taken as they are on disk (a set only this table holds stays).
void TakeSavedTable(const std::vector<std::uint8_t>& stream, ScoreTable& table) {
    ScoreTable saved;
    ReadStream(stream, saved);
    for (int s = 0; s < saved.setCount; ++s) {
        if (s == table.currentSet) continue;
        std::copy(std::begin(saved.records[s]), std::end(saved.records[s]), std::begin(table.records[s]));
    }
    table.setCount = std::max(UsableSetCount(table.setCount), saved.setCount);
    if (table.currentSet < 0 || table.currentSet >= MaxRecordSets) return;
    for (int c = 0; c < RecordsPerSet; ++c) {
        const CourseRecord& theirs = saved.records[table.currentSet][c];
        CourseRecord& mine = table.records[table.currentSet][c];
        mine.courseState = std::max(mine.courseState, theirs.courseState);
        mine.bestTime = LowerTime(mine.bestTime, theirs.bestTime);
    }
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
    const OutsideFile found = ReadTextModeFile(path, kLargestScoreFile, stream);
    TellGameFileNotRead("best-times file", path, found, kLargestScoreFile);
    // Its times may be all the player has: the saves refuse to write over it.
    if (found == OutsideFile::Unreadable)
        std::fprintf(stderr, "quonfel: the best-times file %s cannot be read; the game starts without its times and "
                             "does not save over it\n", Printable(path).c_str());
    if (found != OutsideFile::Read) return 0;
    ReadStream(stream, *this);
    return 1;
}

void ScoreTable::Save() {
    // The file is read again under the save's lock, so that the times another game saved in the
    // meantime are merged in, not written over. A file that is there but cannot be read is left
    // as it is, and so is one that cannot be written; the table in memory stays current and
    // the player learns why from one line on stderr.
    const std::string path = InGameFolder(ScoreFileName);
    const int error = SaveMergedTextModeFile(path, kLargestScoreFile,
                                             [this](const std::vector<std::uint8_t>* saved, std::vector<std::uint8_t>& stream) {
                                                 if (saved) TakeSavedTable(*saved, *this);
                                                 stream = StreamOf(*this);
                                                 return true;
                                             });
    if (error != 0) std::fprintf(stderr, "quonfel: could not save the best times in %s: %s\n", Printable(path).c_str(), std::strerror(error));
}

CourseRecord& ScoreTable::Current(int courseIndex) { return records[currentSet][courseIndex]; }
