#include <gtest/gtest.h>

#include <cstring>

#include "gl/gl_context.h"
#include "gl/render_checks.h"
#include "render/matrix.h"
#include "render/panel.h"
#include "render/texture.h"

static bool is_zero(const Panel& panel) {
    static const Panel zero = {};
    return memcmp(&panel, &zero, sizeof(Panel)) == 0;
}

TEST(RenderPanel, RoundedPanelCoversItsBoxWithTransparentCorners) {
    Texture* image = texture_from_image("rounded_rect.png");
    ASSERT_NE(image, nullptr);
    EXPECT_STREQ(image->path, "images/rounded_rect.png");
    EXPECT_EQ(image->width, 64);
    EXPECT_EQ(image->double_density, 0);

    static Panel panel;
    ASSERT_TRUE(panel_create(&panel, {60, 60}));
    EXPECT_EQ(panel.texture, image);
    EXPECT_EQ(panel_count(), 1);

    // Opaque red, packed 0xAABBGGRR.
    clear_frame(0, 0, 0);
    panel_draw(&panel, {100, 100}, 0xFF0000FF);
    std::vector<Pixel> frame = read_frame();
    for (int y = 50; y < 150; y++) {
        for (int x = 50; x < 150; x++) {
            bool inside = x >= 70 && x < 130 && y >= 70 && y < 130;
            if (!inside) {
                EXPECT_TRUE(pixel_near(frame[y * 540 + x], 0, 0, 0)) << x << "," << y;
            }
        }
    }
    const int edges[][2] = {{70, 100}, {129, 100}, {100, 70}, {100, 129}, {100, 100}, {75, 75}};
    for (const auto& e : edges)
        EXPECT_TRUE(pixel_near(frame[e[1] * 540 + e[0]], 255, 0, 0)) << e[0] << "," << e[1];
    const int corners[][2] = {{70, 70}, {129, 70}, {70, 129}, {129, 129}};
    for (const auto& c : corners)
        EXPECT_TRUE(pixel_near(frame[c[1] * 540 + c[0]], 0, 0, 0)) << c[0] << "," << c[1];
    expect_default_uniforms();
    EXPECT_EQ(matrices.depth, 0);

    // 0x2001253D tints by (61, 37, 1) at alpha 32/255 over white.
    clear_frame(255, 255, 255);
    panel_draw(&panel, {100, 100}, 0x2001253D);
    float a = 32 / 255.0f;
    EXPECT_TRUE(pixel_near(read_pixel(100, 100), (int)(61 * a + 255 * (1 - a) + 0.5f),
                           (int)(37 * a + 255 * (1 - a) + 0.5f),
                           (int)(1 * a + 255 * (1 - a) + 0.5f), 1));
    expect_default_uniforms();

    panels_release_all();
    EXPECT_EQ(panel_count(), 0);
    EXPECT_TRUE(is_zero(panel));
    textures_release_all();
}

TEST(RenderPanel, CreateNeedsTheImageAndRoomInTheRegistry) {
    static Panel panels[panel_capacity + 1];
    ASSERT_EQ(textures.head, nullptr);
    EXPECT_FALSE(panel_create(&panels[0], {60, 60}));
    EXPECT_TRUE(is_zero(panels[0]));
    EXPECT_EQ(panel_count(), 0);

    ASSERT_NE(texture_from_image("rounded_rect.png"), nullptr);
    for (int i = 0; i < panel_capacity; i++) ASSERT_TRUE(panel_create(&panels[i], {40, 40}));
    EXPECT_FALSE(panel_create(&panels[panel_capacity], {40, 40}));
    EXPECT_EQ(panel_count(), panel_capacity);
    EXPECT_TRUE(is_zero(panels[panel_capacity]));

    // The one that was refused draws nothing.
    clear_frame(0, 0, 0);
    panel_draw(&panels[panel_capacity], {100, 100}, 0xFFFFFFFF);
    EXPECT_TRUE(pixel_near(read_pixel(100, 100), 0, 0, 0));

    uint32_t first_band = panels[0].band_arrays[0];
    EXPECT_TRUE(glIsVertexArray(first_band));
    panels_release_all();
    EXPECT_FALSE(glIsVertexArray(first_band));
    EXPECT_EQ(panel_count(), 0);
    for (const Panel& panel : panels) EXPECT_TRUE(is_zero(panel));
    textures_release_all();
}
