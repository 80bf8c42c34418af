#include <gtest/gtest.h>

#include "gl/gl_context.h"
#include "gl/render_checks.h"
#include "render/gl.h"
#include "render/matrix.h"
#include "render/renderer.h"
#include "render/shapes.h"

TEST(RenderShapes, FullAreaRectCoversEveryPixel) {
    clear_frame(0, 0, 0);
    draw_rect({0, 0}, view_width, view_height, 10, 200, 30, 255);
    std::vector<Pixel> frame = read_frame();
    int missed = 0;
    for (const Pixel& p : frame) missed += !(p.r == 10 && p.g == 200 && p.b == 30);
    EXPECT_EQ(missed, 0);
    expect_default_uniforms();
    EXPECT_EQ(matrices.depth, 0);
}

TEST(RenderShapes, OutlineLiesInsideItsBox) {
    clear_frame(0, 0, 0);
    draw_rect_outline({100, 200}, 50, 40, 3, 255, 255, 0, 255);
    std::vector<Pixel> frame = read_frame();
    int drawn = 0;
    for (int y = 0; y < 960; y++) {
        for (int x = 0; x < 540; x++) {
            const Pixel& p = frame[y * 540 + x];
            bool inside = x >= 100 && x < 150 && y >= 200 && y < 240;
            bool ring = inside && (x < 103 || x >= 147 || y < 203 || y >= 237);
            if (ring) {
                EXPECT_TRUE(pixel_near(p, 255, 255, 0)) << x << "," << y;
            } else if (y >= 190 && y < 250 && x >= 90 && x < 160) {
                EXPECT_TRUE(pixel_near(p, 0, 0, 0)) << x << "," << y;
            }
            drawn += p.r != 0;
        }
    }
    EXPECT_EQ(drawn, 50 * 40 - 44 * 34);
    expect_default_uniforms();

    // Thickness 0 draws nothing.
    clear_frame(0, 0, 0);
    draw_rect_outline({10, 10}, 20, 20, 0, 255, 255, 0, 255);
    frame = read_frame();
    drawn = 0;
    for (const Pixel& p : frame) drawn += p.r != 0;
    EXPECT_EQ(drawn, 0);

    // A box of 2t fills completely; translucent, every pixel is blended once.
    clear_frame(0, 0, 0);
    draw_rect_outline({300, 300}, 6, 6, 3, 255, 0, 0, 128);
    frame = read_frame();
    drawn = 0;
    for (const Pixel& p : frame) drawn += p.r != 0;
    EXPECT_EQ(drawn, 36);
    for (int y = 300; y < 306; y++)
        for (int x = 300; x < 306; x++)
            EXPECT_TRUE(pixel_near(frame[y * 540 + x], 128, 0, 0, 1)) << x << "," << y;
    expect_default_uniforms();
}

TEST(RenderShapes, TranslucentRectBlendsAndRestoresDefaults) {
    clear_frame(0, 0, 200);
    draw_rect({10, 10}, 20, 20, 255, 0, 0, 128);
    EXPECT_TRUE(pixel_near(read_pixel(20, 20), 128, 0, 100, 2));
    EXPECT_TRUE(pixel_near(read_pixel(9, 20), 0, 0, 200));
    expect_default_uniforms();

    // An opaque rect after it comes out at full strength: alpha went back to 1.
    draw_rect({40, 10}, 20, 20, 0, 255, 0, 255);
    EXPECT_TRUE(pixel_near(read_pixel(50, 20), 0, 255, 0));
    EXPECT_EQ(matrices.depth, 0);
}

TEST(RenderShapes, ViewportFollowsTheFramebuffer) {
    // A framebuffer smaller than the layout shows all of it scaled down: (0, 0)
    // stays at the top-left corner of the viewport, which GL puts at the
    // bottom-left of the window, and a unit is half a pixel.
    set_viewport(270, 600);
    EXPECT_EQ(view_width, 540);
    EXPECT_EQ(view_height, 1200);
    clear_frame(0, 0, 0);
    draw_rect({0, 0}, 10, 10, 255, 255, 255, 255);
    EXPECT_TRUE(pixel_near(read_pixel(0, 360), 255, 255, 255));
    EXPECT_TRUE(pixel_near(read_pixel(4, 364), 255, 255, 255));
    EXPECT_TRUE(pixel_near(read_pixel(5, 364), 0, 0, 0));
    EXPECT_TRUE(pixel_near(read_pixel(4, 365), 0, 0, 0));
    // Snapped lines there and at 1.5: whole pixels, one at least.
    EXPECT_EQ(whole_pixels(0.5f), 2.0f);
    EXPECT_EQ(snap_to_pixel(45.5f), 46.0f);
    pixel_scale = 1.5f;
    set_viewport(810, 1440);
    EXPECT_EQ(whole_pixels(1), 2 / 1.5f);
    EXPECT_EQ(snap_to_pixel(175), 263 / 1.5f);
    pixel_scale = 1;
    set_viewport(270, 480);

    // A minimised window: the viewport follows, the drawing area and projection stay.
    Mat4 projection = matrices.projection;
    set_viewport(0, 480);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 0);
    EXPECT_EQ(viewport[3], 480);
    EXPECT_EQ(view_width, 540);
    EXPECT_EQ(view_height, 960);
    for (int i = 0; i < 16; i++) EXPECT_EQ(matrices.projection.m[i], projection.m[i]);
    set_viewport(540, 0);
    EXPECT_EQ(view_width, 540);

    // Two pixels per unit, but a framebuffer only 540 x 960: one pixel a unit.
    pixel_scale = 2;
    set_viewport(540, 960);
    EXPECT_EQ(view_scale, 1.0f);

    pixel_scale = 1;
    set_viewport(540, 960);
    EXPECT_EQ(view_width, 540);
    EXPECT_EQ(view_height, 960);
}
