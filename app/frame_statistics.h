// Frames counted and written into the window title once a second.
#pragma once

#include <cstdint>

struct FrameStatistics {
    uint16_t frames_counted;
    double last_title_update;
};

extern FrameStatistics frame_statistics;

void reset_frame_statistics(double now);
// Counts a frame; returns true and fills `title` when a second has passed.
bool count_frame(double now, char* title, int capacity);
// count_frame, and the title set on the window when it is due.
void update_frame_statistics(double now);
