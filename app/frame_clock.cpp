#include "app/frame_clock.h"

#include "platform/platform.h"

FrameClock frame_clock;

void clock_start() {
    frame_clock.seconds_per_tick = platform_seconds_per_tick();
    frame_clock.counter_start = platform_counter_now();
}

double clock_seconds() {
    return (double)(platform_counter_now() - frame_clock.counter_start) *
           frame_clock.seconds_per_tick;
}

bool pacing_due_time(double frame_time, int64_t* due_time) {
    if (!(frame_time < frame_budget)) return false;
    int64_t microseconds = (int64_t)((frame_budget - frame_time) * 1000000.0);
    *due_time = microseconds * -10;
    return true;
}

void pace_frame() {
    int64_t due_time;
    if (pacing_due_time(frame_clock.frame_time, &due_time)) platform_wait_relative(due_time);
}
