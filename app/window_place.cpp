// The window's place: full screen on the monitor that holds most of it, and
// back; kept for the next run and brought back there.
#include "app/window_place.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <cmath>

#include "app/app.h"
#include "app/input.h"
#include "app/pixel_scale.h"
#include "render/renderer.h"

WindowedGeometry windowed_geometry;

int overlap_area(int x, int y, int width, int height, int other_x, int other_y, int other_width,
                 int other_height) {
    int across = std::min(x + width, other_x + other_width) - std::max(x, other_x);
    int down = std::min(y + height, other_y + other_height) - std::max(y, other_y);
    return across > 0 && down > 0 ? across * down : 0;
}

// The monitor that holds most of a rectangle; the primary one when it holds none.
static GLFWmonitor* monitor_holding(int x, int y, int width, int height) {
    GLFWmonitor* best = glfwGetPrimaryMonitor();
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
    WindowedGeometry& at = windowed_geometry;
    glfwGetWindowPos(main_window, &at.x, &at.y);
    glfwGetWindowSize(main_window, &at.width, &at.height);
    GLFWmonitor* monitor = monitor_holding(at.x, at.y, at.width, at.height);
    if (!monitor) return;
    const GLFWvidmode* mode = glfwGetVideoMode(monitor);
    if (!mode) return;
    glfwSetWindowMonitor(main_window, monitor, 0, 0, mode->width, mode->height, mode->refreshRate);
    follow_framebuffer();
}

// Full screen, or minimised (where Windows reports a place far off), the
// window's own place is not what the next run should open at.
static bool windowed_and_shown(GLFWwindow* window) {
    return !glfwGetWindowMonitor(window) && !glfwGetWindowAttrib(window, GLFW_ICONIFIED);
}

void on_window_move(GLFWwindow* window, int x, int y) {
    if (!windowed_and_shown(window)) return;
    windowed_geometry.x = x;
    windowed_geometry.y = y;
}

void on_window_size(GLFWwindow* window, int width, int height) {
    if (!windowed_and_shown(window) || width <= 0 || height <= 0) return;
    windowed_geometry.width = width;
    windowed_geometry.height = height;
}

void note_window_place() {
    glfwGetWindowPos(main_window, &windowed_geometry.x, &windowed_geometry.y);
    glfwGetWindowSize(main_window, &windowed_geometry.width, &windowed_geometry.height);
}

void restore_window_place(const Session& session) {
    if (!session.window_known) return;
    // Kept at another pixel scale (another screen or setting): the same size
    // in layout units.
    float ratio = pixel_scale / session.scale;
    int width = (int)lroundf((float)session.width * ratio);
    int height = (int)lroundf((float)session.height * ratio);
    GLFWmonitor* monitor = monitor_holding(session.x, session.y, width, height);
    if (!monitor) return;
    int area_x, area_y, area_width, area_height;
    glfwGetMonitorWorkarea(monitor, &area_x, &area_y, &area_width, &area_height);
    WindowFrame frame{};
    glfwGetWindowFrameSize(main_window, &frame.left, &frame.top, &frame.right, &frame.bottom);
    // The size it opens at now is the least it may have, as its size limits say.
    int opened_width, opened_height;
    glfwGetWindowSize(main_window, &opened_width, &opened_height);
    width = size_inside(width, opened_width / 2, frame.left + frame.right, area_width);
    height = size_inside(height, opened_height / 2, frame.top + frame.bottom, area_height);
    glfwSetWindowSize(main_window, width, height);
    glfwSetWindowPos(
        main_window, position_inside(session.x, width, frame.left, frame.right, area_x, area_width),
        position_inside(session.y, height, frame.top, frame.bottom, area_y, area_height));
}
