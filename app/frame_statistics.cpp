#include "app/frame_statistics.h"

#include <GLFW/glfw3.h>

#include <cstdio>

#include "app/app.h"
#include "game/board/notice.h"

FrameStatistics frame_statistics;

void reset_frame_statistics(double now) {
    frame_statistics.frames_counted = 0;
    frame_statistics.last_title_update = now;
}

void compose_title(double now, char* title, int capacity) {
    if (now < frame_statistics.notice_until) {
        snprintf(title, (size_t)capacity, "game (fps: %d) - %s", (int)frame_statistics.frames_shown,
                 frame_statistics.notice);
    } else {
        snprintf(title, (size_t)capacity, "game (fps: %d)", (int)frame_statistics.frames_shown);
    }
}

void count_frame() {
    frame_statistics.frames_counted++;
}

bool title_due(double now, char* title, int capacity) {
    if (now - frame_statistics.last_title_update < 1.0) return false;
    frame_statistics.frames_shown = frame_statistics.frames_counted;
    compose_title(now, title, capacity);
    reset_frame_statistics(now);
    return true;
}

void update_frame_title(double now) {
    char title[160];
    if (title_due(now, title, (int)sizeof(title))) glfwSetWindowTitle(main_window, title);
}

void show_title_notice(const char* text, double now) {
    // The title is out of sight in full screen: the line under the palette says it too.
    post_notice(text, now);
    snprintf(frame_statistics.notice, sizeof(frame_statistics.notice), "%s", text);
    frame_statistics.notice_until = now + title_notice_seconds;
    char title[160];
    compose_title(now, title, (int)sizeof(title));
    if (main_window) glfwSetWindowTitle(main_window, title);
}
