// score.dat byte by byte: the stream, its text-mode storage, damaged files, failed writes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <set>
#include <vector>

#include "platform/file_save.h"
#include "records/score_table.h"
#include "support/test_support.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void PutInt32(Bytes& bytes, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(v >> shift));
}

// How a text-mode write stores a stream: every 0x0A becomes 0x0D 0x0A.
Bytes Stored(const Bytes& stream) {
    Bytes stored;
    for (std::uint8_t b : stream) {
        if (b == 0x0A) stored.push_back(0x0D);
        stored.push_back(b);
    }
    return stored;
}

struct RecordValues {
    std::int32_t course, courseState, bestTime;
};

// A stream of the given header with `sets` sets whose record [s][c] is Sample(s, c).
RecordValues Sample(int s, int c) { return {c, (c + s) % 3 - 1, 1000 * s + 7 * c + 1}; }

Bytes SampleStream(std::int32_t countField, int sets) {
    Bytes stream;
    PutInt32(stream, 1);
    PutInt32(stream, countField);
    for (int s = 0; s < sets; ++s) {
        for (int c = 0; c < RecordsPerSet; ++c) {
            const RecordValues r = Sample(s, c);
            PutInt32(stream, r.course);
            PutInt32(stream, r.courseState);
            PutInt32(stream, r.bestTime);
        }
    }
    return stream;
}

void ExpectFresh(const CourseRecord& record, int c) {
    EXPECT_EQ(record.course, c);
    EXPECT_EQ(record.courseState, c == 0 ? Open : Locked);
    EXPECT_EQ(record.bestTime, 0);
}

void ExpectSample(const CourseRecord& record, int s, int c) {
    const RecordValues r = Sample(s, c);
    EXPECT_EQ(record.course, r.course);
    EXPECT_EQ(record.courseState, r.courseState);
    EXPECT_EQ(record.bestTime, r.bestTime);
}

// Keeps memory right after the table, to catch a reader that writes past its records.
struct GuardedTable {
    ScoreTable table;
    std::int32_t guard[RecordsPerSet * 3 * 4];
    GuardedTable() { std::fill(std::begin(guard), std::end(guard), 0x5A5A5A5A); }
    bool GuardIntact() const {
        return std::all_of(std::begin(guard), std::end(guard), [](std::int32_t v) { return v == 0x5A5A5A5A; });
    }
};

}  // namespace

TEST(ScoreTableConstruction, OnlyThePracticeCourseOfEachSetIsOpen) {
    ScoreTable table;
    EXPECT_EQ(table.setCount, 1);
    EXPECT_EQ(table.currentSet, 0);
    EXPECT_EQ(table.currentCourse, 0);
    for (int s = 0; s < MaxRecordSets; ++s) {
        for (int c = 0; c < RecordsPerSet; ++c) ExpectFresh(table.records[s][c], c);
    }
    table.currentSet = 2;
    EXPECT_EQ(&table.Current(5), &table.records[2][5]);
}

TEST(ScoreFile, FreshTableIsSavedAsOneSetInTextModeForm) {
    ScopedWorkDir dir;
    ScoreTable table;
    table.Save();

    Bytes expected;
    PutInt32(expected, 1);
    PutInt32(expected, 1);
    for (int c = 0; c < RecordsPerSet; ++c) {
        PutInt32(expected, c);
        PutInt32(expected, c == 0 ? 0 : -1);
        PutInt32(expected, 0);
    }
    ASSERT_EQ(expected.size(), 248u);
    const Bytes stored = ReadBytes(ScoreFileName);
    EXPECT_EQ(stored, Stored(expected));
    // Course 10's own index is the byte 0x0A, so the stored file is always longer.
    EXPECT_GE(stored.size(), 249u);
}

TEST(ScoreFile, BestTimesHoldingLineFeedAndCarriageReturnBytesRoundTripExactly) {
    ScopedWorkDir dir;
    ScoreTable saved;
    const std::int32_t awkward[] = {0x0A, 0x0D, 0x0D0A, 0x0A0D, 0x0D0A0D0A, 0x0A0A0A0A, 0x0D0D0A0A, -0x0A0D};
    for (int c = 0; c < 8; ++c) {
        saved.records[0][c].bestTime = awkward[c];
        saved.records[0][c].courseState = Completed;
    }
    saved.records[0][12].courseState = 0x0D0A;
    saved.Save();

    const Bytes stored = ReadBytes(ScoreFileName);
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] == 0x0A) {
            EXPECT_TRUE(i > 0 && stored[i - 1] == 0x0D) << "bare line feed at " << i;
        }
    }

    ScoreTable loaded;
    ASSERT_EQ(loaded.Load(), 1);
    EXPECT_EQ(loaded.setCount, 1);
    for (int c = 0; c < RecordsPerSet; ++c) {
        EXPECT_EQ(loaded.records[0][c].course, saved.records[0][c].course) << c;
        EXPECT_EQ(loaded.records[0][c].courseState, saved.records[0][c].courseState) << c;
        EXPECT_EQ(loaded.records[0][c].bestTime, saved.records[0][c].bestTime) << c;
    }
}

TEST(ScoreFile, EverySetOfAFileIsReadAndWrittenBackUnchanged) {
    ScopedWorkDir dir;
    const Bytes file = Stored(SampleStream(3, 3));
    WriteBytes(ScoreFileName, file);

    ScoreTable table;
    ASSERT_EQ(table.Load(), 1);
    EXPECT_EQ(table.setCount, 3);
    for (int s = 0; s < 3; ++s) {
        for (int c = 0; c < RecordsPerSet; ++c) ExpectSample(table.records[s][c], s, c);
    }
    for (int c = 0; c < RecordsPerSet; ++c) ExpectFresh(table.records[3][c], c);

    table.Save();
    EXPECT_EQ(ReadBytes(ScoreFileName), file);
}

TEST(ScoreFile, MissingFileLeavesTheTableAsConstructed) {
    ScopedWorkDir dir;
    ScoreTable table;
    EXPECT_EQ(table.Load(), 0);
    EXPECT_EQ(table.setCount, 1);
    for (int c = 0; c < RecordsPerSet; ++c) ExpectFresh(table.records[0][c], c);
}

// Damaged files: the reader stays inside the table, takes whole records only, and leaves
// a set count that writes back a readable file.
struct DamagedCase {
    const char* name;
    Bytes stream;
    std::int32_t expectedSetCount;
    int recordsRead;  // records taken from the file, counted set by set
};

class DamagedScoreFile : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedScoreFile, ReadsWhatIsThereAndKeepsTheRestAsConstructed) {
    const DamagedCase& param = GetParam();
    ScopedWorkDir dir;
    WriteBytes(ScoreFileName, Stored(param.stream));

    GuardedTable guarded;
    ScoreTable& table = guarded.table;
    EXPECT_EQ(table.Load(), 1);
    EXPECT_TRUE(guarded.GuardIntact());
    EXPECT_EQ(table.setCount, param.expectedSetCount);
    for (int s = 0; s < MaxRecordSets; ++s) {
        for (int c = 0; c < RecordsPerSet; ++c) {
            SCOPED_TRACE(testing::Message() << "record [" << s << "][" << c << "]");
            if (s * RecordsPerSet + c < param.recordsRead) {
                ExpectSample(table.records[s][c], s, c);
            } else {
                ExpectFresh(table.records[s][c], c);
            }
        }
    }

    // What is saved now must load again into the same table.
    table.Save();
    ScoreTable again;
    ASSERT_EQ(again.Load(), 1);
    EXPECT_EQ(again.setCount, table.setCount);
    for (int s = 0; s < table.setCount; ++s) {
        for (int c = 0; c < RecordsPerSet; ++c) {
            EXPECT_EQ(again.records[s][c].courseState, table.records[s][c].courseState);
            EXPECT_EQ(again.records[s][c].bestTime, table.records[s][c].bestTime);
        }
    }
}

Bytes Truncated(Bytes bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedScoreFile,
    ::testing::Values(
        DamagedCase{"Empty", {}, 1, 0},
        DamagedCase{"VersionOnly", Truncated(SampleStream(1, 1), 4), 1, 0},
        DamagedCase{"CountWithoutRecords", Truncated(SampleStream(1, 1), 8), 1, 0},
        DamagedCase{"FiveRecordsOfOneSet", Truncated(SampleStream(1, 1), 8 + 5 * 12), 1, 5},
        DamagedCase{"LastRecordCutInTheMiddle", Truncated(SampleStream(1, 1), 8 + 7 * 12 + 8), 1, 7},
        DamagedCase{"ThreeSetsPromisedOneAndAHalfThere", Truncated(SampleStream(3, 2), 8 + 30 * 12), 3, 30},
        DamagedCase{"CountZero", SampleStream(0, 1), 1, 0},
        DamagedCase{"CountMinusOne", SampleStream(-1, 1), 1, 0},
        DamagedCase{"CountHugelyNegative", SampleStream(INT32_MIN, 1), 1, 0},
        DamagedCase{"CountElevenWithElevenSets", SampleStream(11, 11), 10, 200},
        DamagedCase{"CountHugeWithTwoSets", SampleStream(INT32_MAX, 2), 10, 40}),
    [](const ::testing::TestParamInfo<DamagedCase>& info) { return std::string(info.param.name); });

TEST(ScoreFile, FailedSaveLeavesTheOldFileWholeAndSaysWhy) {
    ScopedWorkDir dir;
    ScoreTable table;
    SetWriteFailureAfterBytes(50);
    table.Save();
    SetWriteFailureAfterBytes(-1);
    EXPECT_FALSE(std::filesystem::exists(ScoreFileName));

    table.Save();
    const Bytes before = ReadBytes(ScoreFileName);

    table.records[0][0].courseState = Completed;
    table.records[0][0].bestTime = 200;
    table.records[0][1].courseState = Open;
    for (long failAfter : {0L, 1L, 100L, 200L}) {
        SetWriteFailureAfterBytes(failAfter);
        testing::internal::CaptureStderr();
        table.Save();
        const std::string said = testing::internal::GetCapturedStderr();
        SetWriteFailureAfterBytes(-1);
        EXPECT_EQ(ReadBytes(ScoreFileName), before) << "failure after " << failAfter << " bytes";
        EXPECT_EQ(said, "quonfel: could not save the best times in score.dat: No space left on device\n");
    }
    // No half-written file is left beside it either.
    EXPECT_EQ(FilesHere(), std::vector<std::string>{ScoreFileName});

    table.Save();
    ScoreTable loaded;
    ASSERT_EQ(loaded.Load(), 1);
    EXPECT_EQ(loaded.records[0][0].bestTime, 200);
    EXPECT_EQ(loaded.records[0][1].courseState, Open);
}

// A score.dat the game may not write, or may not read (its times may be all the player has),
// stays as it is: said once at start-up for one that cannot be read, and at each save. The
// test's own user owns the file: root would read and write it whatever its mode.
TEST(ScoreFile, AScoreFileThatCannotBeWrittenOrReadStaysAsItIsAndTheTableInMemoryGoesOn) {
    const struct {
        mode_t mode;
        std::int32_t loaded;
        const char* saidAtStart;
    } cases[] = {
        {0444, 1, ""},
        {0200, 0, "quonfel: the best-times file score.dat cannot be read; the game starts without its times and "
                  "does not save over it\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::oct << c.mode);
        ScopedWorkDir dir;
        chmod(dir.Path().c_str(), 0777);
        ScoreTable table;
        table.records[0][4] = {4, Completed, 321};
        table.Save();
        const Bytes before = ReadBytes(ScoreFileName);
        GiveToUnprivilegedUser(ScoreFileName);
        chmod(ScoreFileName, c.mode);
        struct stat old {};
        stat(ScoreFileName, &old);

        EXPECT_TRUE(PassesWithoutPrivileges([&c] {
            ScoreTable table;
            testing::internal::CaptureStderr();
            EXPECT_EQ(table.Load(), c.loaded);
            EXPECT_EQ(testing::internal::GetCapturedStderr(), c.saidAtStart);
            table.records[0][0].bestTime = 200;
            testing::internal::CaptureStderr();
            table.Save();
            EXPECT_EQ(testing::internal::GetCapturedStderr(),
                      "quonfel: could not save the best times in score.dat: Permission denied\n");
            EXPECT_EQ(table.records[0][0].bestTime, 200);
        }));
        struct stat now {};
        stat(ScoreFileName, &now);
        EXPECT_EQ(now.st_ino, old.st_ino);
        EXPECT_EQ(now.st_mode & 0777, c.mode);
        chmod(ScoreFileName, 0600);
        EXPECT_EQ(ReadBytes(ScoreFileName), before);
        EXPECT_EQ(FilesHere(), std::vector<std::string>{ScoreFileName});
    }
}

// The best time of every record in the next round of a saving child. A save keeps the lower of
// its own time and the file's, so each round lowers it, by turns by 1 and by 255: its low byte is
// by turns 0x0A and 0x0B, and the stored table grows and shrinks from one save to the next.
constexpr std::int32_t kFirstBestTime = 0x0A0A0A0B;
std::int32_t NextBestTime(std::int32_t t) { return (t & 0xFF) == 0x0B ? t - 1 : t - 255; }

Bytes StoredTable(std::int32_t bestTime) {
    Bytes stream;
    PutInt32(stream, 1);
    PutInt32(stream, 1);
    for (int c = 0; c < RecordsPerSet; ++c) {
        PutInt32(stream, c);
        PutInt32(stream, c == 0 ? Open : Locked);
        PutInt32(stream, bestTime);
    }
    return Stored(stream);
}

[[noreturn]] void SaveForEver(bool unprivileged) {
    if (unprivileged && !DropPrivileges()) _exit(2);
    ScoreTable table;
    table.Load();
    for (;;) {
        const std::int32_t next = NextBestTime(table.records[0][0].bestTime);
        for (CourseRecord& record : table.records[0]) record.bestTime = next;
        table.Save();
    }
}

// A whole table of some round: its stored bytes, then at most the zero bytes an overwrite in
// place pads a shorter table with until it cuts the file. Its best time is never above the one
// of the round before.
void ExpectWholeTable(int round, std::int32_t& lowest) {
    ScoreTable loaded;
    ASSERT_EQ(loaded.Load(), 1);
    EXPECT_LE(loaded.records[0][0].bestTime, lowest) << "round " << round;
    lowest = loaded.records[0][0].bestTime;
    const Bytes expected = StoredTable(loaded.records[0][0].bestTime);
    Bytes stored = ReadBytes(ScoreFileName);
    ASSERT_GE(stored.size(), expected.size()) << "round " << round;
    EXPECT_TRUE(std::all_of(stored.begin() + expected.size(), stored.end(), [](std::uint8_t b) { return b == 0; }));
    stored.resize(expected.size());
    EXPECT_EQ(stored, expected) << "round " << round;
}

enum class SavePath { Rename, HardLink, ReadOnlyFolder };
class KilledWhileSaving : public ::testing::TestWithParam<SavePath> {};

// A game killed at any moment of a save leaves a whole table, never an empty or cut one, and at
// most its own temporary file, which the next save removes. Where score.dat has a second name
// or nothing can be made beside it, the file is rewritten in place.
TEST_P(KilledWhileSaving, LeavesAWholeTable) {
    ScopedWorkDir dir;
    chmod(dir.Path().c_str(), 0755);
    WriteBytes(ScoreFileName, StoredTable(kFirstBestTime));
    chmod(ScoreFileName, 0666);
    if (GetParam() == SavePath::HardLink) std::filesystem::create_hard_link(ScoreFileName, "backup.dat");
    if (GetParam() == SavePath::ReadOnlyFolder) chmod(".", 0555);
    std::mt19937 random(13);
    std::uniform_int_distribution<int> microseconds(0, 6000);
    int killedWithTemporary = 0;
    std::int32_t lowest = kFirstBestTime;
    std::set<std::string> allowed = {ScoreFileName, "backup.dat"};
    for (int round = 0; round < 200; ++round) {
        const pid_t saver = fork();
        ASSERT_GE(saver, 0);
        if (saver == 0) SaveForEver(GetParam() == SavePath::ReadOnlyFolder);
        usleep(static_cast<useconds_t>(microseconds(random)));
        kill(saver, SIGKILL);
        waitpid(saver, nullptr, 0);

        allowed.insert("score.dat.tmp-" + std::to_string(saver));
        const std::vector<std::string> files = FilesHere();
        killedWithTemporary += std::count(files.begin(), files.end(), "score.dat.tmp-" + std::to_string(saver));
        for (const std::string& name : files) EXPECT_TRUE(allowed.count(name)) << name;
        ExpectWholeTable(round, lowest);
    }
    std::printf("killed during a save with its temporary file in place: %d of 200\n", killedWithTemporary);
    chmod(".", 0755);
    ScoreTable().Save();
    EXPECT_EQ(FilesHere().size(), GetParam() == SavePath::HardLink ? 2u : 1u);
}

INSTANTIATE_TEST_SUITE_P(Paths, KilledWhileSaving,
                         ::testing::Values(SavePath::Rename, SavePath::HardLink, SavePath::ReadOnlyFolder));
