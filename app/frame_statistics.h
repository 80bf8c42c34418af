// Frames drawn, counted and written into the window title once a second (0
// for a second of a still screen), with a short notice behind them for a few
// seconds when the program has news.
#pragma once

#include <cstdint>

struct FrameStatistics {
    uint16_t frames_counted;
    uint16_t frames_shown;
    double last_title_update;
    double notice_until;
    char notice[96];
};

extern FrameStatistics frame_statistics;

// How long a notice stays in the title.
constexpr double title_notice_seconds = 4.0;

void reset_frame_statistics(double now);
// Counts a frame drawn.
void count_frame();
// True, with `title` filled and the count started again, when a second has
// passed since the last title.
bool title_due(double now, char* title, int capacity);
// The title as it stands: the last frame count, and the notice while it lasts.
void compose_title(double now, char* title, int capacity);
// The title set on the window when it is due; called whether or not a frame
// is drawn, so a still second reads 0.
void update_frame_title(double now);
// Puts `text` into the title at once, for title_notice_seconds, and on the
// line under the palette as a notice.
void show_title_notice(const char* text, double now);
