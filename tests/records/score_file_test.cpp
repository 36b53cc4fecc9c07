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

TEST(ScoreFile, AReadOnlyScoreFileStaysAsItIsAndTheTableInMemoryGoesOn) {
    ScopedWorkDir dir;
    chmod(dir.Path().c_str(), 0777);
    ScoreTable table;
    table.Save();
    chmod(ScoreFileName, 0444);
    const Bytes before = ReadBytes(ScoreFileName);
    struct stat old {};
    stat(ScoreFileName, &old);

    EXPECT_TRUE(PassesWithoutPrivileges([&table] {
        table.records[0][0].bestTime = 200;
        testing::internal::CaptureStderr();
        table.Save();
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "quonfel: could not save the best times in score.dat: Permission denied\n");
        EXPECT_EQ(table.records[0][0].bestTime, 200);
    }));
    struct stat now {};
    stat(ScoreFileName, &now);
    EXPECT_EQ(ReadBytes(ScoreFileName), before);
    EXPECT_EQ(now.st_ino, old.st_ino);
    EXPECT_EQ(now.st_mode & 0777, 0444u);
    EXPECT_EQ(FilesHere(), std::vector<std::string>{ScoreFileName});
}

// The table a saving child writes in round k: every best time is k.
Bytes StoredTable(std::int32_t k) {
    Bytes stream;
    PutInt32(stream, 1);
    PutInt32(stream, 1);
    for (int c = 0; c < RecordsPerSet; ++c) {
        PutInt32(stream, c);
        PutInt32(stream, c == 0 ? Open : Locked);
        PutInt32(stream, k);
    }
    return Stored(stream);
}

[[noreturn]] void SaveForEver() {
    ScoreTable table;
    for (std::int32_t k = 1;; ++k) {
        for (CourseRecord& record : table.records[0]) record.bestTime = k;
        table.Save();
    }
}

// A game killed at any moment of a save leaves a whole table, and at most its own temporary
// file, which the next save removes.
TEST(ScoreFile, AGameKilledWhileSavingLeavesAWholeTable) {
    ScopedWorkDir dir;
    std::mt19937 random(13);
    std::uniform_int_distribution<int> microseconds(0, 20000);
    int killedWithTemporary = 0;
    std::set<std::string> temporaries;
    for (int round = 0; round < 200; ++round) {
        const pid_t saver = fork();
        ASSERT_GE(saver, 0);
        if (saver == 0) SaveForEver();
        usleep(static_cast<useconds_t>(microseconds(random)));
        kill(saver, SIGKILL);
        waitpid(saver, nullptr, 0);

        // Savers killed before their first save cleared anything may leave those before theirs.
        temporaries.insert("score.dat.tmp-" + std::to_string(saver));
        const std::vector<std::string> files = FilesHere();
        if (std::find(files.begin(), files.end(), "score.dat.tmp-" + std::to_string(saver)) != files.end()) {
            ++killedWithTemporary;
        }
        for (const std::string& name : files) EXPECT_TRUE(name == "score.dat" || temporaries.count(name)) << name;
        if (!std::filesystem::exists(ScoreFileName)) continue;  // killed before its first save
        ScoreTable loaded;
        ASSERT_EQ(loaded.Load(), 1);
        EXPECT_EQ(ReadBytes(ScoreFileName), StoredTable(loaded.records[0][0].bestTime)) << "round " << round;
    }
    std::printf("killed during a save with its temporary file in place: %d of 200\n", killedWithTemporary);
    ScoreTable().Save();
    EXPECT_EQ(FilesHere(), std::vector<std::string>{ScoreFileName});
}
