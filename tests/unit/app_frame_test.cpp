#include <gtest/gtest.h>

#include <cstring>

#include "app/frame_clock.h"
#include "app/frame_statistics.h"
#include "platform/platform.h"

static int64_t due_time_for(double frame_time) {
    int64_t due = 12345;
    EXPECT_TRUE(pacing_due_time(frame_time, &due)) << frame_time;
    return due;
}

TEST(Pacing, PadsTheFrameToFiveMillisecondsInWholeMicroseconds) {
    EXPECT_EQ(frame_budget, 0.004999999888241291);
    EXPECT_EQ(due_time_for(0.002), -29990);
    EXPECT_EQ(due_time_for(0.0), -49990);
    EXPECT_EQ(due_time_for(0.0049999), 0);
    int64_t due = 777;
    EXPECT_FALSE(pacing_due_time(0.005, &due));
    EXPECT_FALSE(pacing_due_time(frame_budget, &due));
    EXPECT_FALSE(pacing_due_time(0.1, &due));
    EXPECT_EQ(due, 777) << "no timer: the due time is left alone";
}

TEST(Pacing, PrefersTheHighResolutionTimerThenThePlainOneThenNone) {
    EXPECT_EQ(choose_pacing_timer(true, true), PacingTimer::high_resolution);
    EXPECT_EQ(choose_pacing_timer(true, false), PacingTimer::high_resolution);
    EXPECT_EQ(choose_pacing_timer(false, true), PacingTimer::plain_fine_tick);
    EXPECT_EQ(choose_pacing_timer(false, false), PacingTimer::none);
    EXPECT_EQ(PacingTimer{}, PacingTimer::none) << "a zeroed record has no timer";
}

// A frame drawn at `now`, as the frame loop counts it and then asks for the title.
static bool frame_at(double now, char* title, int capacity) {
    count_frame();
    return title_due(now, title, capacity);
}

TEST(FrameStatistics, WritesTheFramesDrawnOncePerSecond) {
    char title[64] = "";
    reset_frame_statistics(10.0);
    // 200 frames 5 ms apart: the 201st begins a second after the reset.
    for (int frame = 0; frame < 200; frame++)
        EXPECT_FALSE(frame_at(10.0 + frame * 0.005, title, sizeof(title)));
    EXPECT_TRUE(frame_at(11.0, title, sizeof(title)));
    EXPECT_STREQ(title, "game (fps: 201)");
    EXPECT_EQ(frame_statistics.frames_counted, 0);
    EXPECT_EQ(frame_statistics.last_title_update, 11.0);

    // A three-second frame stretches the interval; the count is not a rate.
    EXPECT_FALSE(frame_at(11.5, title, sizeof(title)));
    EXPECT_TRUE(frame_at(14.5, title, sizeof(title)));
    EXPECT_STREQ(title, "game (fps: 2)");

    // A still second draws nothing, and says so.
    EXPECT_FALSE(title_due(15.2, title, sizeof(title)));
    EXPECT_TRUE(title_due(15.6, title, sizeof(title)));
    EXPECT_STREQ(title, "game (fps: 0)");

    // A notice rides behind the count until it times out.
    show_title_notice("not a puzzle", 15.6);
    EXPECT_TRUE(frame_at(16.6, title, sizeof(title)));
    EXPECT_STREQ(title, "game (fps: 1) - not a puzzle");
    EXPECT_TRUE(frame_at(15.6 + title_notice_seconds, title, sizeof(title)));
    EXPECT_STREQ(title, "game (fps: 1)");
}

TEST(FrameClock, StartsAtZeroAndRunsForward) {
    clock_start();
    double first = clock_seconds();
    EXPECT_GE(first, 0.0);
    EXPECT_LT(first, 0.1);
    double second = clock_seconds();
    EXPECT_GE(second, first);
}
