#include "gl/gl_context.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <utime.h>

#include "render/gl.h"
#include "render/matrix.h"
#include "render/renderer.h"

namespace fs = std::filesystem;

static std::string run_folder;
static GLFWwindow* window;

const std::string& test_run_folder() {
    return run_folder;
}

Pixel read_pixel(int x, int y) {
    Pixel pixel;
    glReadPixels(x, 960 - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, &pixel);
    return pixel;
}

std::vector<Pixel> read_frame() {
    std::vector<Pixel> bottom_up(540 * 960), top_down(540 * 960);
    glReadPixels(0, 0, 540, 960, GL_RGBA, GL_UNSIGNED_BYTE, bottom_up.data());
    for (int y = 0; y < 960; y++)
        for (int x = 0; x < 540; x++) top_down[y * 540 + x] = bottom_up[(959 - y) * 540 + x];
    return top_down;
}

void clear_frame(uint8_t r, uint8_t g, uint8_t b) {
    glClearColor(r / 255.0f, g / 255.0f, b / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    matrix_load_identity();
}

void write_file_with_new_mtime(const std::string& path, const std::string& bytes,
                               int seconds_ahead) {
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    utimbuf times;
    times.actime = times.modtime = time(nullptr) + seconds_ahead;
    utime(path.c_str(), &times);
}

// A context that cannot be had ends the run as failed: a failure in the
// environment's set-up would show every test as skipped, and CTest counts
// those as no failure.
static void require(bool ok, const char* what) {
    if (ok) return;
    fprintf(stderr, "%s\n", what);
    exit(1);
}

class GlEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        char pattern[] = "/tmp/tessarin-gl-XXXXXX";
        run_folder = mkdtemp(pattern);
        fs::copy(RUN_DIR, run_folder, fs::copy_options::recursive);
        fs::remove_all(run_folder + "/tmp");
        fs::remove(run_folder + "/autosave");
        fs::current_path(run_folder);

        glfwSetErrorCallback([](int code, const char* text) {
            fprintf(stderr, "GLFW error %#x: %s\n", code, text);
        });
        require(glfwInit(), "no display: run the GL tests under Xvfb");
        glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
        glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
        glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
        glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
        window = glfwCreateWindow(540, 960, "gl tests", nullptr, nullptr);
        require(window != nullptr, "no OpenGL 3.3 core context");
        glfwMakeContextCurrent(window);
        require(gladLoadGL(glfwGetProcAddress), "the OpenGL functions could not be loaded");
        pixel_scale = 1;
        require(renderer_init(), "the renderer did not start");
        set_viewport(540, 960);
        matrix_load_identity();
        glDisable(GL_CULL_FACE);
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    void TearDown() override {
        glfwTerminate();
        fs::remove_all(run_folder);
    }
};

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new GlEnvironment);
    return RUN_ALL_TESTS();
}
