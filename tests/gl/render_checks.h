// Checks shared by the renderer's GL tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

#include "gl/gl_context.h"
#include "render/gl.h"
#include "render/shader.h"

// Between draws the program is current and its uniforms hold the defaults.
inline void expect_default_uniforms() {
    const ShaderProgram& s = shader_program;
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ((uint32_t)current, s.program);
    float color[3] = {0, 0, 0}, alpha = 0;
    GLint no_texture = -1;
    glGetUniformfv(s.program, s.loc_color, color);
    glGetUniformfv(s.program, s.loc_alpha, &alpha);
    glGetUniformiv(s.program, s.loc_no_texture, &no_texture);
    EXPECT_EQ(color[0], 1.0f);
    EXPECT_EQ(color[1], 1.0f);
    EXPECT_EQ(color[2], 1.0f);
    EXPECT_EQ(alpha, 1.0f);
    EXPECT_EQ(no_texture, 0);
}

// Colour of a pixel, each channel within `tolerance` of the expected one.
inline ::testing::AssertionResult pixel_near(Pixel p, int r, int g, int b, int tolerance = 0) {
    if (abs(p.r - r) <= tolerance && abs(p.g - g) <= tolerance && abs(p.b - b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "pixel is (" << (int)p.r << ", " << (int)p.g << ", " << (int)p.b << "), expected ("
           << r << ", " << g << ", " << b << ") +- " << tolerance;
}
