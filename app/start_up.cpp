#include <GLFW/glfw3.h>

#include "app/app.h"
#include "app/frame_clock.h"
#include "app/input.h"
#include "app/pixel_scale.h"
#include "platform/platform.h"
#include "render/gl.h"
#include "render/matrix.h"
#include "render/renderer.h"
#include "render/shader.h"

GLFWwindow* main_window;
bool quit_requested;

bool start_up() {
    clock_start();
    if (!platform_use_executable_folder()) {
        platform_report_error("cannot find the program's own folder; assets are looked up there");
        return false;
    }
    if (!glfwInit()) {
        platform_report_error("cannot initialise GLFW: is a display available?");
        return false;
    }
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    pixel_scale = choose_pixel_scale();
    main_window = glfwCreateWindow(window_units_width * pixel_scale,
                                   window_units_height * pixel_scale, "game", nullptr, nullptr);
    if (!main_window) {
        platform_report_error("cannot open a window with an OpenGL 3.3 core context");
        return false;
    }
    glfwMakeContextCurrent(main_window);
    if (!gladLoadGL(glfwGetProcAddress)) {
        platform_report_error("cannot load the OpenGL 3.3 functions");
        return false;
    }
    glfwSetKeyCallback(main_window, on_key);
    glfwSetMouseButtonCallback(main_window, on_mouse_button);
    glfwSetFramebufferSizeCallback(main_window, on_framebuffer_size);
    if (!renderer_init()) return false;

    int width, height;
    glfwGetFramebufferSize(main_window, &width, &height);
    set_viewport((uint16_t)width, (uint16_t)height);
    matrix_load_identity();
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glClearColor(color_channel(254), color_channel(235), color_channel(193), 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    return true;
}
