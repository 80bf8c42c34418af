#include <GLFW/glfw3.h>

#include "app/app.h"
#include "app/frame_clock.h"
#include "app/input.h"
#include "common/save_folder.h"
#include "platform/platform.h"
#include "render/gl.h"
#include "render/matrix.h"
#include "render/renderer.h"

GLFWwindow* main_window;
bool quit_requested;

bool start_up() {
    clock_start();
    if (!platform_use_executable_folder()) {
        platform_report_error("cannot find the program's own folder; assets are looked up there");
        return false;
    }
    choose_save_folder();
    if (!glfwInit()) {
        platform_report_error("cannot initialise GLFW: is a display available?");
        return false;
    }
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    main_window = glfwCreateWindow(540, 960, "game", nullptr, nullptr);
    if (!main_window) {
        platform_report_error("cannot open a window with an OpenGL 3.3 core context");
        return false;
    }
    glfwMakeContextCurrent(main_window);
    pixel_scale = 1;
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
    glClearColor(254 / 255.0f, 235 / 255.0f, 193 / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    return true;
}
