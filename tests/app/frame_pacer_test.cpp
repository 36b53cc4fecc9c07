// Frame pacing on a clock the tests set by hand.
#include <gtest/gtest.h>

#include "app/app.h"
#include "support/test_support.h"

TEST(FramePacer, HighResolutionIntervalIsATruncatedThirtiethOfTheFrequency) {
    FakeClock clock;
    const struct {
        std::int64_t frequency;
        std::int64_t interval;
    } cases[] = {{3000000, 100000}, {1000001, 33333}, {1000000000, 33333333}};
    for (const auto& c : cases) {
        clock.frequency = c.frequency;
        FramePacer pacer(clock);
        EXPECT_FALSE(pacer.UsesMillisecondClock());
        EXPECT_EQ(pacer.FrameInterval(), c.interval) << c.frequency;
    }
}

TEST(FramePacer, AFrameIsDueOnlyWhenTheClockIsStrictlyPastTheDeadline) {
    FakeClock clock;
    clock.frequency = 3000000;
    clock.counter = 500;
    FramePacer pacer(clock);
    EXPECT_FALSE(pacer.FrameDue());  // the start value itself is not past
    clock.counter = 501;
    EXPECT_TRUE(pacer.FrameDue());
    EXPECT_FALSE(pacer.FrameDue());  // the deadline moved on to 100501
    clock.counter = 100501;
    EXPECT_FALSE(pacer.FrameDue());
    clock.counter = 100502;
    EXPECT_TRUE(pacer.FrameDue());
}

TEST(FramePacer, ALateFrameCountsTheNextDeadlineFromItsOwnReading) {
    FakeClock clock;
    clock.frequency = 3000000;
    FramePacer pacer(clock);
    clock.counter = 1000000;  // ten intervals late
    EXPECT_TRUE(pacer.FrameDue());
    clock.counter = 1100000;
    EXPECT_FALSE(pacer.FrameDue());  // no frames are made up
    clock.counter = 1100001;
    EXPECT_TRUE(pacer.FrameDue());
}

TEST(FramePacer, MillisecondFallbackPutsFramesAtLeast34MillisecondsApart) {
    FakeClock clock;
    clock.hasHighResolution = false;
    clock.millis = 1000;
    FramePacer pacer(clock);
    EXPECT_TRUE(pacer.UsesMillisecondClock());
    EXPECT_EQ(pacer.FrameInterval(), 33);

    std::vector<std::uint32_t> frameTimes;
    for (clock.millis = 1000; clock.millis < 1200; ++clock.millis) {
        if (pacer.FrameDue()) frameTimes.push_back(clock.millis);
    }
    ASSERT_GE(frameTimes.size(), 2u);
    EXPECT_EQ(frameTimes[0], 1001u);
    for (std::size_t i = 1; i < frameTimes.size(); ++i) {
        EXPECT_EQ(frameTimes[i] - frameTimes[i - 1], 34u);
    }
}

TEST(FramePacer, WaitLastsUntilTheFirstTickPastTheDeadline) {
    FakeClock clock;
    clock.hasHighResolution = false;
    clock.millis = 2000;
    FramePacer pacer(clock);
    clock.millis = 2001;
    ASSERT_TRUE(pacer.FrameDue());  // next deadline 2034
    clock.millis = 2010;
    EXPECT_EQ(pacer.NanosecondsToDeadline(), 25000000);
    clock.millis = 2034;
    EXPECT_EQ(pacer.NanosecondsToDeadline(), 1000000);
    clock.millis = 2035;
    EXPECT_EQ(pacer.NanosecondsToDeadline(), 0);

    // On the counter, partial nanoseconds round up so the loop never wakes too early.
    clock.hasHighResolution = true;
    clock.frequency = 3000000;
    clock.counter = 0;
    FramePacer fine(clock);
    clock.counter = 1;
    ASSERT_TRUE(fine.FrameDue());  // next deadline 100001
    clock.counter = 50000;
    EXPECT_EQ(fine.NanosecondsToDeadline(), 16667334);  // 50002 ticks = 16667333.3 ns

    // However far away a clock that jumped back puts the deadline, the loop looks again
    // within 100 ms (and the conversion of so many ticks does not overflow).
    clock.frequency = 1000000000;
    clock.counter = 0;
    FramePacer jumped(clock);
    clock.counter = 1;
    ASSERT_TRUE(jumped.FrameDue());
    clock.counter = -(std::int64_t{1} << 62);
    EXPECT_EQ(jumped.NanosecondsToDeadline(), 100000000);
}
