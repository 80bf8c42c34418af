// The window's place: full screen on the monitor that holds most of it, and back.
#pragma once

#include <cstdint>

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
