#include "app/frame_statistics.h"

#include <GLFW/glfw3.h>

#include <cstdio>

#include "app/app.h"

FrameStatistics frame_statistics;

void reset_frame_statistics(double now) {
    frame_statistics.frames_counted = 0;
    frame_statistics.last_title_update = now;
}

bool count_frame(double now, char* title, int capacity) {
    frame_statistics.frames_counted++;
    if (now - frame_statistics.last_title_update < 1.0) return false;
    snprintf(title, (size_t)capacity, "%s (fps: %d)", "game", (int)frame_statistics.frames_counted);
    reset_frame_statistics(now);
    return true;
}

void update_frame_statistics(double now) {
    char title[64];
    if (count_frame(now, title, (int)sizeof(title))) glfwSetWindowTitle(main_window, title);
}
