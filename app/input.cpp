#include "app/input.h"

#include <GLFW/glfw3.h>

#include "app/app.h"
#include "app/clipboard.h"
#include "game/game_screen.h"
#include "game/pointer_input.h"
#include "render/renderer.h"

WindowedGeometry windowed_geometry;

void toggle_fullscreen() {
    if (glfwGetWindowMonitor(main_window)) {
        glfwSetWindowMonitor(main_window, nullptr, windowed_geometry.x, windowed_geometry.y,
                             windowed_geometry.width, windowed_geometry.height, 0);
        return;
    }
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    if (!monitor) return;
    const GLFWvidmode* mode = glfwGetVideoMode(monitor);
    if (!mode) return;
    glfwGetWindowPos(main_window, &windowed_geometry.x, &windowed_geometry.y);
    glfwGetWindowSize(main_window, &windowed_geometry.width, &windowed_geometry.height);
    glfwSetWindowMonitor(main_window, monitor, 0, 0, mode->width, mode->height, mode->refreshRate);
}

void on_key(GLFWwindow*, int key, int scancode, int action, int mods) {
    KeyCode code = key_code_in_layout(key_code_from_glfw(key), glfwGetKeyName(key, scancode));
    switch (key_command(code, action, mods)) {
    case KeyCommand::quit:
        quit_requested = true;
        break;
    case KeyCommand::toggle_fullscreen:
        toggle_fullscreen();
        break;
    case KeyCommand::paste:
        paste_puzzle();
        break;
    case KeyCommand::copy:
        copy_board();
        break;
    case KeyCommand::none:
        break;
    }
}

void on_mouse_button(GLFWwindow* window, int button, int action, int) {
    if (action > 1 || button > 1) return;
    double x, y;
    glfwGetCursorPos(window, &x, &y);
    // The cursor is in window pixels; the layout is in units of pixel_scale pixels.
    handle_click(action == GLFW_PRESS, (float)(x / pixel_scale), (float)(y / pixel_scale));
}

void on_framebuffer_size(GLFWwindow*, int width, int height) {
    set_viewport((uint16_t)width, (uint16_t)height);
    // The clickable centres follow the drawing area, so clicks keep landing on
    // what is drawn after a resize or a switch to full screen.
    game_resize(view_width, view_height);
}
