// The millisecond stopwatch and the interval timer on a hand-moved clock.
#include <gtest/gtest.h>

#include "engine/game_clock.h"
#include "field/seconds_counter.h"
#include "field/timer.h"
#include "field_test_support.h"

namespace {

using field_test::FakeClock;

// Pause and resume arithmetic, also across the clock's wrap past 0xFFFFFFFF.
TEST(SecondsCounter, PausedTimeDoesNotCountAlsoAcrossTheWrap) {
    for (uint32_t start : {1000u, 0xFFFFFC00u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(start);
        FakeClock clock {start};
        CSecondsCounter counter(clock.AsClock());
        ASSERT_TRUE(counter.Start());
        clock.Advance(1000);
        EXPECT_EQ(counter.GetElapsed(), 1000u);
        ASSERT_TRUE(counter.Pause());
        clock.Advance(5000);
        EXPECT_EQ(counter.GetElapsed(), 1000u);
        ASSERT_TRUE(counter.Resume());
        clock.Advance(500);
        EXPECT_EQ(counter.GetElapsed(), 1500u);
        ASSERT_TRUE(counter.Stop());
        clock.Advance(700);
        EXPECT_EQ(counter.GetElapsed(), 1500u);
        EXPECT_EQ(counter.GetState(), CSecondsCounter::csStopped);
    }
}

TEST(SecondsCounter, EachCallAnswersOnlyFromItsStates) {
    FakeClock clock {50};
    CSecondsCounter counter(clock.AsClock());
    EXPECT_EQ(counter.GetState(), CSecondsCounter::csStopped);
    EXPECT_EQ(counter.GetElapsed(), 0u);
    EXPECT_FALSE(counter.Stop());
    EXPECT_FALSE(counter.Pause());
    EXPECT_FALSE(counter.Resume());

    ASSERT_TRUE(counter.Start());
    clock.Advance(200);
    EXPECT_FALSE(counter.Start());  // running: nothing changes
    EXPECT_FALSE(counter.Resume());
    EXPECT_EQ(counter.GetElapsed(), 200u);

    ASSERT_TRUE(counter.Pause());
    EXPECT_FALSE(counter.Start());
    EXPECT_FALSE(counter.Pause());
    clock.Advance(300);
    // Stop while paused keeps now - start: the current pause counts.
    ASSERT_TRUE(counter.Stop());
    EXPECT_EQ(counter.GetElapsed(), 500u);
}

TEST(SecondsCounter, SetPausedRestoresAnElapsedTime) {
    FakeClock clock {0xFFFF0000u};
    CSecondsCounter counter(clock.AsClock());
    ASSERT_TRUE(counter.Start());
    counter.SetPaused(90000);
    clock.Advance(4000);
    EXPECT_EQ(counter.GetState(), CSecondsCounter::csPaused);
    EXPECT_EQ(counter.GetElapsed(), 90000u);
    ASSERT_TRUE(counter.Resume());
    clock.Advance(250);
    EXPECT_EQ(counter.GetElapsed(), 90250u);
}

TEST(Timer, ArmsWithAnIntervalAndElapsesUntilStopped) {
    FakeClock clock {0xFFFFF000u};
    CTimer timer(clock.AsClock());
    EXPECT_FALSE(timer.IsElapsed());
    EXPECT_FALSE(timer.Start(0));
    EXPECT_EQ(timer.GetState(), CSecondsCounter::csStopped);

    ASSERT_TRUE(timer.Start(5000));
    EXPECT_FALSE(timer.Start(5000));  // still running
    clock.Advance(4999);
    EXPECT_FALSE(timer.IsElapsed());
    clock.Advance(1);
    EXPECT_TRUE(timer.IsElapsed());
    clock.Advance(10000);
    EXPECT_TRUE(timer.IsElapsed());  // keeps running once elapsed

    ASSERT_TRUE(timer.Stop());
    EXPECT_EQ(timer.GetInterval(), 0u);
    EXPECT_FALSE(timer.IsElapsed());
    EXPECT_FALSE(timer.Stop());
    ASSERT_TRUE(timer.Start(100));
    clock.Advance(100);
    EXPECT_TRUE(timer.IsElapsed());
}

// By default both run on game time: only what the main loop hands the scene counts.
TEST(Timer, RunsOnTheGameClockByDefault) {
    CSecondsCounter level_time;
    CTimer hint;
    ASSERT_TRUE(level_time.Start());
    ASSERT_TRUE(hint.Start(1000));
    GameClock().Advance(999);
    EXPECT_EQ(level_time.GetElapsed(), 999u);
    EXPECT_FALSE(hint.IsElapsed());
    ASSERT_TRUE(level_time.Pause());
    GameClock().Advance(1);
    EXPECT_TRUE(hint.IsElapsed());
    EXPECT_EQ(level_time.GetElapsed(), 999u);
}

}  // namespace
