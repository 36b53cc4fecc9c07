#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "records/score_table.h"
#include "records/stopwatch.h"
#include "shared/globals.h"
#include "support/test_support.h"

namespace {

std::string TimeText(std::int64_t seconds) {
    char text[TimeTextSize];
    FormatTimeText(seconds, text);
    return text;
}

TEST(TimeText, HoursMinutesSecondsOfTheDay) {
    const struct {
        std::int64_t seconds;
        const char* text;
    } rows[] = {
        {0, "00:00:00"},     {75, "00:01:15"},    {120, "00:02:00"},   {195, "00:03:15"},
        {3725, "01:02:05"},  {86399, "23:59:59"}, {86400, "00:00:00"}, {90061, "01:01:01"},
        {-1, "00:00:00"},    {-3725, "00:00:00"},
    };
    for (const auto& row : rows) EXPECT_EQ(TimeText(row.seconds), row.text) << row.seconds;
}

class StopwatchTest : public ::testing::Test {
protected:
    void SetUp() override { clock.wallSeconds = 100; }

    std::string Drive() {
        char text[TimeTextSize];
        watch.FormatDriveTime(text);
        return text;
    }
    std::string Penalty() {
        char text[TimeTextSize];
        watch.FormatPenaltyTime(text);
        return text;
    }
    std::string Total() {
        char text[TimeTextSize];
        watch.FormatTotalTime(text);
        return text;
    }

    FakeClock clock;
    Stopwatch watch;
};

TEST_F(StopwatchTest, ResetShowsZeroTimes) {
    watch.Start();
    watch.StartPenalty();
    clock.wallSeconds = 150;
    watch.Reset();
    EXPECT_EQ(watch.watchState, Idle);
    EXPECT_EQ(watch.penaltyRunning, 0);
    EXPECT_EQ(Drive(), "00:00:00");
    EXPECT_EQ(Penalty(), "00:00:00");
    EXPECT_EQ(watch.TotalSeconds(), 0);
}

TEST_F(StopwatchTest, OnlyTheFirstStartOfADriveCounts) {
    watch.Start();
    clock.wallSeconds = 105;
    watch.Start();
    EXPECT_EQ(watch.startTime, 100);
    clock.wallSeconds = 130;
    EXPECT_EQ(Drive(), "00:00:30");
    watch.Stop();
    clock.wallSeconds = 200;
    watch.Start();
    EXPECT_EQ(watch.watchState, Stopped);
    EXPECT_EQ(watch.driveTime, 30);
    EXPECT_EQ(Drive(), "00:00:30");
}

TEST_F(StopwatchTest, PenaltyCostsAMinutePerWallClockSecond) {
    const struct {
        const char* name;
        std::int64_t start;
        std::int64_t stop;
        int charged;
    } rows[] = {
        {"100 to 103", 100, 103, 180},
        {"within second 100", 100, 100, 0},
        {"across one boundary", 100, 101, 60},
        {"clock set back", 100, 90, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        watch.Reset();
        clock.wallSeconds = row.start;
        watch.StartPenalty();
        clock.wallSeconds = row.stop;
        watch.StopPenalty();
        EXPECT_EQ(watch.penaltyTime, row.charged);
        EXPECT_EQ(watch.penaltyRunning, 0);
    }
}

TEST_F(StopwatchTest, RepeatedStartsKeepTheFirstSecond) {
    for (std::int64_t second = 100; second <= 103; ++second) {
        clock.wallSeconds = second;
        watch.StartPenalty();
        EXPECT_EQ(Penalty(), TimeText((second - 100) * 60));
    }
    watch.StopPenalty();
    EXPECT_EQ(watch.penaltyTime, 180);
    // Stopping a stopped penalty clock charges nothing more.
    clock.wallSeconds = 110;
    watch.StopPenalty();
    EXPECT_EQ(watch.penaltyTime, 180);
}

TEST_F(StopwatchTest, StartClearsThePenaltyButNotItsClock) {
    watch.StartPenalty();
    clock.wallSeconds = 102;
    watch.StopPenalty();
    watch.StartPenalty();
    watch.Start();
    EXPECT_EQ(watch.penaltyTime, 0);
    EXPECT_EQ(watch.penaltyRunning, 1);
    EXPECT_EQ(watch.penaltyStart, 102);
}

TEST_F(StopwatchTest, ScoreOfADrive) {
    watch.Start();
    clock.wallSeconds = 120;
    watch.StartPenalty();
    clock.wallSeconds = 122;
    watch.StopPenalty();
    clock.wallSeconds = 175;
    watch.Stop();
    EXPECT_EQ(Drive(), "00:01:15");
    EXPECT_EQ(Penalty(), "00:02:00");
    EXPECT_EQ(Total(), "00:03:15");
    EXPECT_EQ(watch.TotalSeconds(), 195);
}

TEST_F(StopwatchTest, ClockSetBackNeverGivesNegativeTimes) {
    watch.Start();
    watch.StartPenalty();
    clock.wallSeconds = 40;
    EXPECT_EQ(Drive(), "00:00:00");
    EXPECT_EQ(Penalty(), "00:00:00");
    watch.StopPenalty();
    watch.Stop();
    EXPECT_EQ(watch.penaltyTime, 0);
    EXPECT_EQ(watch.driveTime, 0);
    EXPECT_EQ(watch.TotalSeconds(), 0);
}

class BestTimeTest : public StopwatchTest {
protected:
    void SetUp() override {
        StopwatchTest::SetUp();
        scoreTable = std::make_unique<ScoreTable>();
        scoreTable->currentSet = 1;
        scoreTable->records[1][3].bestTime = 3725;
        scoreTable->records[0][3].bestTime = 75;
    }
    void TearDown() override { scoreTable.reset(); }

    std::string Best(int course) {
        char text[TimeTextSize];
        watch.FormatBestTime(course, text);
        return text;
    }
};

TEST_F(BestTimeTest, ReadsTheSetInUse) {
    EXPECT_EQ(Best(3), "01:02:05");
    scoreTable->currentSet = 0;
    EXPECT_EQ(Best(3), "00:01:15");
}

TEST_F(BestTimeTest, NoTimeWithoutARecord) {
    for (int course : {-1, 20, 1000}) EXPECT_EQ(Best(course), "00:00:00") << course;
    scoreTable->currentSet = MaxRecordSets;
    EXPECT_EQ(Best(3), "00:00:00");
    scoreTable.reset();
    EXPECT_EQ(Best(3), "00:00:00");
}

}  // namespace
