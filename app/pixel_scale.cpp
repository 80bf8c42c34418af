#include "app/pixel_scale.h"

#include <GLFW/glfw3.h>

#include <cmath>

#include "render/renderer.h"

static constexpr float scale_steps = 32;
static constexpr float smallest_scale = 0.25f;
static constexpr float largest_scale = 4;

float pixel_scale_for(float content_scale_x, float content_scale_y, int work_width, int work_height,
                      WindowFrame frame) {
    if (work_width <= 0 || work_height <= 0) return 1;
    float wanted = fminf(content_scale_x, content_scale_y);
    if (!(wanted > 0)) wanted = 1;
    float fit_x = (float)(work_width - frame.left - frame.right) / layout_units_width;
    float fit_y = (float)(work_height - frame.top - frame.bottom) / layout_units_height;
    float scale = fminf(wanted, fminf(fit_x, fit_y));
    // Whole 32nds: lines snap to pixels anyway, and a finer choice gains nothing.
    scale = floorf(scale * scale_steps) / scale_steps;
    return fminf(largest_scale, fmaxf(smallest_scale, scale));
}

int window_pixels(int units, float scale) {
    return (int)ceilf((float)units * scale);
}

int position_inside(int position, int size, int frame_before, int frame_after, int area_start,
                    int area_size) {
    int last = area_start + area_size - frame_after - size;
    if (position > last) position = last;
    if (position < area_start + frame_before) position = area_start + frame_before;
    return position;
}

int size_inside(int wanted, int least, int frame, int area_size) {
    int most = area_size - frame;
    if (wanted > most) wanted = most;
    return wanted < least ? least : wanted;
}

void size_and_place_window(GLFWwindow* window) {
    WindowFrame frame{};
    glfwGetWindowFrameSize(window, &frame.left, &frame.top, &frame.right, &frame.bottom);
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    float content_x = 1, content_y = 1;
    int x = 0, y = 0, width = 0, height = 0;
    if (monitor) {
        glfwGetMonitorContentScale(monitor, &content_x, &content_y);
        glfwGetMonitorWorkarea(monitor, &x, &y, &width, &height);
    }
    pixel_scale = pixel_scale_for(content_x, content_y, width, height, frame);
    int window_width = window_pixels(layout_units_width, pixel_scale);
    int window_height = window_pixels(layout_units_height, pixel_scale);
    glfwSetWindowSize(window, window_width, window_height);
    // Half the size it opens at: smaller, the digits and lines would not read.
    glfwSetWindowSizeLimits(window, window_width / 2, window_height / 2, GLFW_DONT_CARE,
                            GLFW_DONT_CARE);
    if (!monitor) return;
    int left = 0, top = 0;
    glfwGetWindowPos(window, &left, &top);
    int inside_left = position_inside(left, window_width, frame.left, frame.right, x, width);
    int inside_top = position_inside(top, window_height, frame.top, frame.bottom, y, height);
    // Moved only when needed: elsewhere the system's placement stands.
    if (inside_left != left || inside_top != top) glfwSetWindowPos(window, inside_left, inside_top);
}
