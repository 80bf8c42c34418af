// How many framebuffer pixels a layout unit gets, and where the window opens:
// chosen once at start-up, before the window is first shown, from the monitor
// it opens on and the frame the window manager puts around it.
#pragma once

struct GLFWwindow;

// The frame's thickness on each side of a window, in pixels.
struct WindowFrame {
    int left, top, right, bottom;
};

// The monitor's content scale, lowered where needed to the largest scale at
// which the window (the layout times the scale, width rounded up) and its
// frame fit the work area (pixels), rounded down to a 32nd. 1 when the work
// area is unknown; never below a quarter nor above 4.
float pixel_scale_for(float content_scale_x, float content_scale_y, int work_width, int work_height,
                      WindowFrame frame);

// The window's width or height in pixels at a scale.
int window_pixels(int units, float scale);

// A content-area position along one axis, moved the least so that the window
// and the frame on both sides lie inside [area_start, area_start + area_size)
// where they can; the start of the area wins when they cannot.
int position_inside(int position, int size, int frame_before, int frame_after, int area_start,
                    int area_size);

// A window's size along one axis: the one wanted, but at least `least` and at
// most the area less the frame on both sides (at least `least` wins).
int size_inside(int wanted, int least, int frame, int area_size);

// Measures the hidden window's frame, sets pixel_scale for the primary
// monitor, sizes the window and moves it inside the work area. Needs GLFW
// initialised and the window not yet shown.
void size_and_place_window(GLFWwindow* window);
