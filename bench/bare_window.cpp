// The floor under the program's start-up: GLFW, a window with the program's
// hints and its OpenGL context, the GL functions loaded, one cream clear and
// one swap. bench/start_up.py times it as it times the program; it then
// waits for events until it is closed or killed.
#include <glad/gl.h>

#include <GLFW/glfw3.h>

int main() {
    if (!glfwInit()) return 1;
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    GLFWwindow* window = glfwCreateWindow(540, 960, "game", nullptr, nullptr);
    if (!window) return 1;
    glfwMakeContextCurrent(window);
    if (!gladLoadGL(glfwGetProcAddress)) return 1;
    glClearColor(254 / 255.0f, 235 / 255.0f, 193 / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glfwSwapBuffers(window);
    while (!glfwWindowShouldClose(window)) glfwWaitEvents();
    glfwTerminate();
    return 0;
}
