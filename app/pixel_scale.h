// How many framebuffer pixels a layout unit gets: chosen once at start-up,
// before the window is made, from the monitor it opens on.
#pragma once

#include <cstdint>

// The window's size in layout units; it opens at this times the pixel scale.
constexpr int window_units_width = 540;
constexpr int window_units_height = 960;

// 2 when the monitor asks for at least double density and a double-size
// window with its frame fits the work area (pixels); otherwise 1.
uint8_t pixel_scale_for(float content_scale_x, float content_scale_y, int work_width,
                        int work_height);

// The choice for the primary monitor, where the window opens; 1 without one.
// Needs GLFW initialised.
uint8_t choose_pixel_scale();
