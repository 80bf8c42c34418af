// The window's place: full screen on the monitor that holds most of it, and back.
#include "app/window_place.h"

#include <GLFW/glfw3.h>

#include <algorithm>

#include "app/app.h"
#include "app/input.h"

WindowedGeometry windowed_geometry;

int overlap_area(int x, int y, int width, int height, int other_x, int other_y, int other_width,
                 int other_height) {
    int across = std::min(x + width, other_x + other_width) - std::max(x, other_x);
    int down = std::min(y + height, other_y + other_height) - std::max(y, other_y);
    return across > 0 && down > 0 ? across * down : 0;
}

// The monitor that holds most of the window; the primary one when it holds none.
static GLFWmonitor* monitor_under_window() {
    GLFWmonitor* best = glfwGetPrimaryMonitor();
    int x, y, width, height;
    glfwGetWindowPos(main_window, &x, &y);
    glfwGetWindowSize(main_window, &width, &height);
    int count = 0;
    GLFWmonitor** monitors = glfwGetMonitors(&count);
    int most = 0;
    for (int i = 0; i < count; i++) {
        const GLFWvidmode* mode = glfwGetVideoMode(monitors[i]);
        if (!mode) continue;
        int monitor_x, monitor_y;
        glfwGetMonitorPos(monitors[i], &monitor_x, &monitor_y);
        int area =
            overlap_area(x, y, width, height, monitor_x, monitor_y, mode->width, mode->height);
        if (area <= most) continue;
        most = area;
        best = monitors[i];
    }
    return best;
}

// The frame after a switch would be drawn with the old viewport until the
// resize event arrives; the size is asked for at once instead.
static void follow_framebuffer() {
    int width, height;
    glfwGetFramebufferSize(main_window, &width, &height);
    on_framebuffer_size(main_window, width, height);
}

void toggle_fullscreen() {
    if (glfwGetWindowMonitor(main_window)) {
        glfwSetWindowMonitor(main_window, nullptr, windowed_geometry.x, windowed_geometry.y,
                             windowed_geometry.width, windowed_geometry.height, 0);
        follow_framebuffer();
        return;
    }
    GLFWmonitor* monitor = monitor_under_window();
    if (!monitor) return;
    const GLFWvidmode* mode = glfwGetVideoMode(monitor);
    if (!mode) return;
    glfwGetWindowPos(main_window, &windowed_geometry.x, &windowed_geometry.y);
    glfwGetWindowSize(main_window, &windowed_geometry.width, &windowed_geometry.height);
    glfwSetWindowMonitor(main_window, monitor, 0, 0, mode->width, mode->height, mode->refreshRate);
    follow_framebuffer();
}
