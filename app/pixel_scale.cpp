#include "app/pixel_scale.h"

#include <GLFW/glfw3.h>

// Room for the borders and title bar of a decorated window at 200 %, which
// the work area must hold besides the window's inside.
static constexpr int frame_width = 32;
static constexpr int frame_height = 96;

uint8_t pixel_scale_for(float content_scale_x, float content_scale_y, int work_width,
                        int work_height) {
    if (content_scale_x < 2 || content_scale_y < 2) return 1;
    bool fits = work_width >= 2 * window_units_width + frame_width &&
                work_height >= 2 * window_units_height + frame_height;
    return fits ? 2 : 1;
}

uint8_t choose_pixel_scale() {
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    if (!monitor) return 1;
    float scale_x = 1, scale_y = 1;
    glfwGetMonitorContentScale(monitor, &scale_x, &scale_y);
    int x = 0, y = 0, width = 0, height = 0;
    glfwGetMonitorWorkarea(monitor, &x, &y, &width, &height);
    return pixel_scale_for(scale_x, scale_y, width, height);
}
