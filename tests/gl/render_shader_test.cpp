#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "gl/gl_context.h"
#include "gl/render_checks.h"
#include "platform/platform.h"
#include "render/matrix.h"
#include "render/renderer.h"
#include "render/shader.h"
#include "render/shapes.h"

static const char* const vertex_path = "shaders_desktop/vertex.c";
static const char* const fragment_path = "shaders_desktop/fragment.c";

// The usual fragment shader with red and blue swapped in its output.
static const char* const swapped_fragment = R"(#version 330 core
in vec2 uv;
uniform sampler2D image;
uniform vec3 color;
uniform float alpha;
uniform int no_texture;
out vec4 fragment_color;
void main() {
    vec4 texel = no_texture != 0 ? vec4(1.0) : texture(image, uv);
    fragment_color = (texel * vec4(color, alpha)).bgra;
}
)";

static const char* const uncompilable_fragment = "#version 330 core\nvoid main() { nonsense }\n";

// Compiles, but its input does not match the vertex stage's output.
static const char* const unlinkable_fragment = R"(#version 330 core
in vec3 uv;
out vec4 fragment_color;
void main() { fragment_color = vec4(uv, 1.0); }
)";

static std::string read_text(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Draws the probe rectangle (200, 100, 50) at (10, 10)-(30, 30) on black.
static Pixel draw_probe() {
    clear_frame(0, 0, 0);
    draw_rect({10, 10}, 20, 20, 200, 100, 50, 255);
    return read_pixel(20, 20);
}

class RenderShaderReload : public ::testing::Test {
  protected:
    void SetUp() override {
        vertex_source = read_text(vertex_path);
        fragment_source = read_text(fragment_path);
        ASSERT_FALSE(vertex_source.empty());
        ASSERT_FALSE(fragment_source.empty());
    }
    // Puts the good sources back and reloads them for the tests that follow.
    void TearDown() override {
        save(vertex_path, vertex_source);
        save(fragment_path, fragment_source);
        check();
        EXPECT_TRUE(pixel_near(draw_probe(), 200, 100, 50));
    }
    // Every save gets a time no earlier save had, so the watch always sees it.
    void save(const char* path, const std::string& text) {
        seconds_ahead += 2;
        write_file_with_new_mtime(path, text, seconds_ahead);
    }
    void check() { shader_reload_changed(shader_program.last_check_time + 0.6); }

    std::string vertex_source, fragment_source;
    static int seconds_ahead;
};
int RenderShaderReload::seconds_ahead = 0;

TEST_F(RenderShaderReload, EditedFragmentShaderTakesEffectAfterHalfASecond) {
    uint32_t program = shader_program.program;
    EXPECT_TRUE(pixel_near(draw_probe(), 200, 100, 50));
    save(fragment_path, swapped_fragment);

    shader_program.last_check_time = 10.0;
    shader_reload_changed(10.5);
    EXPECT_TRUE(pixel_near(draw_probe(), 200, 100, 50));
    shader_reload_changed(10.6);
    EXPECT_EQ(shader_program.last_check_time, 10.6);
    EXPECT_TRUE(pixel_near(draw_probe(), 50, 100, 200));
    int64_t mtime = 0;
    ASSERT_TRUE(platform_file_mtime(fragment_path, &mtime));
    EXPECT_EQ(shader_program.fragment_mtime, mtime);

    // Same program object, current, with its defaults back after the link.
    EXPECT_EQ(shader_program.program, program);
    expect_default_uniforms();
    // A translucent draw still blends (its red now lands in blue), and the
    // alpha goes back to 1.
    clear_frame(0, 0, 100);
    draw_rect({10, 10}, 20, 20, 255, 0, 0, 128);
    EXPECT_TRUE(pixel_near(read_pixel(20, 20), 0, 0, 178, 2));
    expect_default_uniforms();
}

TEST_F(RenderShaderReload, BrokenSourceKeepsTheLastGoodProgram) {
    save(fragment_path, swapped_fragment);
    check();
    ASSERT_TRUE(pixel_near(draw_probe(), 50, 100, 200));

    save(fragment_path, uncompilable_fragment);
    testing::internal::CaptureStderr();
    check();
    std::string told = testing::internal::GetCapturedStderr();
    EXPECT_NE(told.find(fragment_path), std::string::npos) << told;
    EXPECT_NE(told.find("compile"), std::string::npos) << told;
    EXPECT_TRUE(pixel_near(draw_probe(), 50, 100, 200));
    expect_default_uniforms();
    // Told once: the next check finds the same time and stays quiet.
    testing::internal::CaptureStderr();
    check();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    save(fragment_path, unlinkable_fragment);
    testing::internal::CaptureStderr();
    check();
    told = testing::internal::GetCapturedStderr();
    EXPECT_NE(told.find("link"), std::string::npos) << told;
    EXPECT_TRUE(pixel_near(draw_probe(), 50, 100, 200));
    expect_default_uniforms();

    // The good source again: drawn right, in the right place, with the defaults.
    save(fragment_path, fragment_source);
    testing::internal::CaptureStderr();
    check();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(pixel_near(draw_probe(), 200, 100, 50));
    EXPECT_TRUE(pixel_near(read_pixel(9, 20), 0, 0, 0));
    EXPECT_TRUE(pixel_near(read_pixel(30, 20), 0, 0, 0));
    expect_default_uniforms();
}

TEST_F(RenderShaderReload, TouchedVertexSourceRelinksWithTheProjection) {
    save(vertex_path, vertex_source);
    check();
    int64_t mtime = 0;
    ASSERT_TRUE(platform_file_mtime(vertex_path, &mtime));
    EXPECT_EQ(shader_program.vertex_mtime, mtime);

    // The projection is uploaded transposed, so GL holds it column by column.
    float projection[16] = {};
    glGetUniformfv(shader_program.program, shader_program.loc_projection_matrix, projection);
    for (int i = 0; i < 4; i++)
        for (int j = 0; j < 4; j++)
            EXPECT_EQ(projection[4 * j + i], matrices.projection.m[4 * i + j]) << i << "," << j;
    EXPECT_TRUE(pixel_near(draw_probe(), 200, 100, 50));
    EXPECT_TRUE(pixel_near(read_pixel(9, 20), 0, 0, 0));

    // An older copy put back counts as a change too: the time differs.
    write_file_with_new_mtime(vertex_path, vertex_source, -3600);
    check();
    ASSERT_TRUE(platform_file_mtime(vertex_path, &mtime));
    EXPECT_EQ(shader_program.vertex_mtime, mtime);

    // Both files saved: one check takes both.
    save(vertex_path, vertex_source);
    save(fragment_path, swapped_fragment);
    check();
    int64_t vertex_mtime = 0, fragment_mtime = 0;
    platform_file_mtime(vertex_path, &vertex_mtime);
    platform_file_mtime(fragment_path, &fragment_mtime);
    EXPECT_EQ(shader_program.vertex_mtime, vertex_mtime);
    EXPECT_EQ(shader_program.fragment_mtime, fragment_mtime);
    EXPECT_TRUE(pixel_near(draw_probe(), 50, 100, 200));
}

TEST_F(RenderShaderReload, DeletedSourceIsSkipped) {
    int64_t stored = shader_program.fragment_mtime;
    remove(fragment_path);
    testing::internal::CaptureStderr();
    check();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(shader_program.fragment_mtime, stored);
    EXPECT_TRUE(pixel_near(draw_probe(), 200, 100, 50));
}

TEST_F(RenderShaderReload, StartUpFailuresNameTheFile) {
    const ShaderProgram running = shader_program;

    remove(fragment_path);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(shader_load());
    std::string told = testing::internal::GetCapturedStderr();
    EXPECT_NE(told.find(fragment_path), std::string::npos) << told;

    save(fragment_path, fragment_source);
    save(vertex_path, "#version 330 core\nvoid main() { nonsense }\n");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(shader_load());
    told = testing::internal::GetCapturedStderr();
    EXPECT_NE(told.find(vertex_path), std::string::npos) << told;
    EXPECT_NE(told.find("compile"), std::string::npos) << told;

    save(vertex_path, vertex_source);
    save(fragment_path, unlinkable_fragment);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(shader_load());
    told = testing::internal::GetCapturedStderr();
    EXPECT_NE(told.find("link"), std::string::npos) << told;

    // None of the failed attempts took over from the running program.
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ((uint32_t)current, running.program);
    shader_program = running;
}
