// The window's place: full screen on the monitor that holds most of it, and
// back; kept for the next run and brought back there.
#pragma once

#include <cstdint>

#include "app/session_text.h"

struct GLFWwindow;

// The window's place and size when last neither full screen nor minimised.
struct WindowedGeometry {
    int32_t x, y;
    int32_t width, height;
};
extern WindowedGeometry windowed_geometry;

// The area two rectangles share (0 when apart).
int overlap_area(int x, int y, int width, int height, int other_x, int other_y, int other_width,
                 int other_height);
// Full screen on the monitor that holds most of the window, or back.
void toggle_fullscreen();

// Follow the window as it is moved and sized; note_window_place takes its
// place once it is first shown.
void on_window_move(GLFWwindow* window, int x, int y);
void on_window_size(GLFWwindow* window, int width, int height);
void note_window_place();
// The last run's place and size, fitted to the screens there are now. Called
// while the window is hidden, after it was sized for this run's scale.
void restore_window_place(const Session& session);
