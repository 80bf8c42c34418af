#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>

#include "app/app.h"
#include "app/frame_clock.h"
#include "app/input.h"
#include "app/pixel_scale.h"
#include "app/session.h"
#include "app/window_place.h"
#include "common/files.h"
#include "common/save_folder.h"
#include "platform/platform.h"
#include "render/gl.h"
#include "render/matrix.h"
#include "render/renderer.h"
#include "render/shader.h"
#include "render/texture.h"

GLFWwindow* main_window;
bool quit_requested;

// GLFW's last error code, which tells a missing OpenGL 3.3 from other failures.
static int glfw_error;

static void on_glfw_error(int code, const char*) {
    glfw_error = code;
}

static void report_window_failure() {
    if (glfw_error != GLFW_API_UNAVAILABLE && glfw_error != GLFW_VERSION_UNAVAILABLE) {
        platform_report_error("cannot open a window with an OpenGL 3.3 core context");
        return;
    }
    char message[1024];
    snprintf(message, sizeof(message),
             "cannot open the window: Tessarin needs a graphics driver with OpenGL 3.3, and "
             "this computer has none. Install the current driver for your graphics card from "
             "its maker (AMD, Intel or NVIDIA), then start Tessarin again.%s",
             platform_opengl_driver_advice());
    platform_report_error(message);
}

// The window's icon from the run folder. The Windows build has no icon file,
// as GLFW takes the icon from the exe's resources there; without the file the
// window keeps the system's default icon.
static void set_window_icon() {
    int32_t length = 0;
    char* file = read_whole_file("images/icon.png", &length);
    Image icon{};
    bool decoded = file && image_decode((const unsigned char*)file, length, &icon);
    free(file);
    if (!decoded) return;
    GLFWimage image{icon.width, icon.height, icon.pixels};
    glfwSetWindowIcon(main_window, 1, &image);
    image_free(&icon);
}

// A second copy on the same save would overwrite the first one's givens with
// its own at the end.
static StartUp claim_or_hand_over(const char* file) {
    if (claim_save_folder()) return StartUp::ready;
    if (platform_bring_holder_forward(save_folder.prefix, file)) return StartUp::handed_over;
    platform_report_error("Tessarin is already running, with the same save");
    return StartUp::failed;
}

static bool open_window() {
    glfwSetErrorCallback(on_glfw_error);
    if (!glfwInit()) {
        platform_report_error("cannot initialise GLFW: is a display available?");
        return false;
    }
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    // Hidden until sized and placed, so it never shows at the wrong size or
    // partly off screen; full screen stays up when another window has focus.
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    glfwWindowHint(GLFW_AUTO_ICONIFY, GLFW_FALSE);
    // The class a dock matches to the desktop entry's StartupWMClass; the
    // title stays "game".
    glfwWindowHintString(GLFW_X11_CLASS_NAME, "Tessarin");
    glfwWindowHintString(GLFW_X11_INSTANCE_NAME, "tessarin");
    main_window =
        glfwCreateWindow(layout_units_width, layout_units_height, "game", nullptr, nullptr);
    if (!main_window) {
        report_window_failure();
        return false;
    }
    size_and_place_window(main_window);
    restore_window_place(remembered_session);
    glfwShowWindow(main_window);
    note_window_place();
    glfwSetWindowPosCallback(main_window, on_window_move);
    glfwSetWindowSizeCallback(main_window, on_window_size);
    set_window_icon();
    glfwMakeContextCurrent(main_window);
    if (!gladLoadGL(glfwGetProcAddress)) {
        platform_report_error("cannot load the OpenGL 3.3 functions");
        return false;
    }
    glfwSetKeyCallback(main_window, on_key);
    glfwSetCharCallback(main_window, on_char);
    glfwSetMouseButtonCallback(main_window, on_mouse_button);
    glfwSetFramebufferSizeCallback(main_window, on_framebuffer_size);
    glfwSetWindowIconifyCallback(main_window, on_iconify);
    glfwSetDropCallback(main_window, on_drop);
    glfwSetCursorPosCallback(main_window, on_cursor_move);
    glfwSetScrollCallback(main_window, on_scroll);
    glfwSetWindowRefreshCallback(main_window, on_refresh);
    if (!renderer_init()) return false;

    int width, height;
    glfwGetFramebufferSize(main_window, &width, &height);
    set_viewport((uint16_t)width, (uint16_t)height);
    matrix_load_identity();
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glClearColor(color_channel(254), color_channel(235), color_channel(193), 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    if (remembered_session.full_screen) toggle_fullscreen();
    return true;
}

StartUp start_up(const char* file) {
    clock_start();
    if (!platform_use_executable_folder()) {
        platform_report_error("cannot find the program's own folder; assets are looked up there");
        return StartUp::failed;
    }
    // The lock comes before anything is written into the save folder.
    choose_save_folder();
    StartUp claimed = claim_or_hand_over(file);
    if (claimed != StartUp::ready) return claimed;
    sweep_stale_temporaries();
    load_session();
    return open_window() ? StartUp::ready : StartUp::failed;
}
