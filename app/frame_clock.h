// Program time from the high-resolution counter, and the frame pacing.
#pragma once

#include <cstdint>

struct FrameClock {
    int64_t counter_start;
    double seconds_per_tick;
    double frame_start;
    double frame_time;
};

extern FrameClock frame_clock;

// The single-precision 0.005 s widened to double.
constexpr double frame_budget = (double)0.005f;

// Starts program time at 0.
void clock_start();
// Seconds since clock_start.
double clock_seconds();

// The relative due time (100 ns units, negative or 0) that pads a frame whose
// work took `frame_time` up to the budget; false when no wait is needed.
bool pacing_due_time(double frame_time, int64_t* due_time);
// Sleeps after the swap so the frame takes at least the budget.
void pace_frame();
