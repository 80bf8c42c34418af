#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb_image_write.h>

#include "gl/gl_context.h"
#include "gl/render_checks.h"
#include "platform/platform.h"
#include "render/panel.h"
#include "render/texture.h"

// PNG bytes of a solid-coloured, opaque image.
static std::string solid_png(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
    std::vector<uint8_t> rgba;
    for (int i = 0; i < width * height; i++) rgba.insert(rgba.end(), {r, g, b, 255});
    int length = 0;
    unsigned char* png = stbi_write_png_to_mem(rgba.data(), width * 4, width, height, 4, &length);
    std::string bytes((const char*)png, (size_t)length);
    STBIW_FREE(png);
    return bytes;
}

static std::string read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The first texel of a texture's level 0 and its pixel width.
static Pixel first_texel(const Texture* texture, int* pixel_width) {
    glBindTexture(GL_TEXTURE_2D, texture->gl_texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, pixel_width);
    GLint height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    std::vector<Pixel> texels((size_t)*pixel_width * height);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texels[0];
}

static bool pool_is_empty() {
    static const TexturePool empty = {};
    return memcmp(textures.slots, empty.slots, sizeof(empty.slots)) == 0 && !textures.head;
}

// The live list as slot numbers, newest first.
static std::vector<int> live_slots() {
    std::vector<int> slots;
    for (Texture* t = textures.head; t; t = t->next) slots.push_back((int)(t - textures.slots));
    return slots;
}

TEST(RenderTexture, ReleaseFreesTheSlotForReuse) {
    ASSERT_TRUE(pool_is_empty());
    Texture* image = texture_from_image("rounded_rect.png");
    Texture* atlas = texture_acquire("digit_font");
    Texture* other = texture_from_image("rounded_rect.png");
    ASSERT_NE(image, nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(live_slots(), (std::vector<int>{2, 1, 0}));
    uint32_t image_name = image->gl_texture;
    EXPECT_TRUE(glIsTexture(image_name));

    texture_release(atlas);
    EXPECT_EQ(live_slots(), (std::vector<int>{2, 0}));
    EXPECT_EQ(textures.slots[1].in_use, 0);
    // Neither a released record nor a free slot is live: nothing happens.
    texture_release(atlas);
    texture_release(&textures.slots[50]);
    EXPECT_EQ(live_slots(), (std::vector<int>{2, 0}));

    EXPECT_EQ(texture_acquire("title_font"), &textures.slots[1]);
    EXPECT_EQ(live_slots(), (std::vector<int>{1, 2, 0}));

    texture_release(image);
    EXPECT_FALSE(glIsTexture(image_name));
    EXPECT_EQ(live_slots(), (std::vector<int>{1, 2}));

    uint32_t other_name = other->gl_texture;
    textures_release_all();
    EXPECT_TRUE(pool_is_empty());
    EXPECT_FALSE(glIsTexture(other_name));
}

TEST(RenderTexture, MissingOrBrokenImageGivesNothing) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(texture_from_image("no_such_image.png"), nullptr);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("images/no_such_image.png"),
              std::string::npos);
    EXPECT_TRUE(pool_is_empty());

    write_file_with_new_mtime("images/garbage.png", "\x89PNG\r\n\x1a\nnot really", 0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(texture_from_image("garbage.png"), nullptr);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("images/garbage.png"), std::string::npos);
    EXPECT_TRUE(pool_is_empty());
    remove("images/garbage.png");
}

TEST(RenderTexture, DoubleDensityImagesCountInLogicalUnits) {
    write_file_with_new_mtime("images_x2/wide.png", solid_png(129, 11, 0, 0, 255), 0);
    write_file_with_new_mtime("images/wide.png", solid_png(20, 6, 255, 0, 0), 0);
    write_file_with_new_mtime("images/plain.png", solid_png(20, 6, 255, 0, 0), 0);

    pixel_scale = 2;
    Texture* sharp = texture_from_image("wide.png");
    Texture* plain = texture_from_image("plain.png");
    pixel_scale = 1;
    Texture* single = texture_from_image("wide.png");
    ASSERT_NE(sharp, nullptr);
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(single, nullptr);

    int pixel_width = 0;
    EXPECT_STREQ(sharp->path, "images_x2/wide.png");
    EXPECT_EQ(sharp->double_density, 1);
    EXPECT_EQ(sharp->width, 64);
    EXPECT_EQ(sharp->height, 5);
    EXPECT_TRUE(pixel_near(first_texel(sharp, &pixel_width), 0, 0, 255));
    EXPECT_EQ(pixel_width, 129);

    // Without a sharper copy the plain file is used at its own size.
    EXPECT_STREQ(plain->path, "images/plain.png");
    EXPECT_EQ(plain->double_density, 0);
    EXPECT_EQ(plain->width, 20);
    EXPECT_EQ(plain->height, 6);

    EXPECT_STREQ(single->path, "images/wide.png");
    EXPECT_EQ(single->double_density, 0);
    EXPECT_EQ(single->width, 20);

    textures_release_all();
    remove("images_x2/wide.png");
    remove("images/wide.png");
    remove("images/plain.png");
}

TEST(RenderTexture, ChangedImageFilesAreReloaded) {
    write_file_with_new_mtime("images/probe.png", solid_png(4, 4, 255, 0, 0), 0);
    Texture* probe = texture_from_image("probe.png");
    ASSERT_NE(probe, nullptr);
    // A font atlas pointing at the same file is never reloaded.
    Texture* atlas = texture_acquire("digit_font");
    atlas->generated = 1;
    strcpy(atlas->path, "images/probe.png");

    textures.last_check_time = 10.0;
    write_file_with_new_mtime("images/probe.png", solid_png(8, 2, 0, 0, 255), 2);
    uint32_t former = probe->gl_texture;
    textures_reload_changed(10.5);
    EXPECT_EQ(probe->width, 4);
    textures_reload_changed(10.6);
    EXPECT_EQ(textures.last_check_time, 10.6);
    EXPECT_EQ(probe->width, 8);
    EXPECT_EQ(probe->height, 2);
    EXPECT_NE(probe->gl_texture, former);
    EXPECT_FALSE(glIsTexture(former));
    int pixel_width = 0;
    EXPECT_TRUE(pixel_near(first_texel(probe, &pixel_width), 0, 0, 255));
    int64_t mtime = 0;
    ASSERT_TRUE(platform_file_mtime("images/probe.png", &mtime));
    EXPECT_EQ(probe->mtime, mtime);
    EXPECT_EQ(atlas->gl_texture, 0u);
    EXPECT_EQ(atlas->width, 0);

    // A file that does not decode keeps the image, and its time, for the next try.
    write_file_with_new_mtime("images/probe.png", "half a png", 4);
    uint32_t kept = probe->gl_texture;
    textures_reload_changed(11.2);
    textures_reload_changed(11.8);
    EXPECT_EQ(probe->gl_texture, kept);
    EXPECT_EQ(probe->width, 8);
    EXPECT_EQ(probe->mtime, mtime);
    write_file_with_new_mtime("images/probe.png", solid_png(3, 3, 0, 255, 0), 6);
    textures_reload_changed(12.4);
    EXPECT_EQ(probe->width, 3);
    EXPECT_TRUE(pixel_near(first_texel(probe, &pixel_width), 0, 255, 0));

    // A deleted file is skipped.
    remove("images/probe.png");
    kept = probe->gl_texture;
    textures_reload_changed(13.0);
    EXPECT_EQ(probe->gl_texture, kept);
    EXPECT_EQ(probe->width, 3);
    textures_release_all();
}

TEST(RenderTexture, PanelShowsARewrittenImage) {
    const std::string path = "images/rounded_rect.png";
    const std::string original = read_bytes(path);
    ASSERT_NE(texture_from_image("rounded_rect.png"), nullptr);
    static Panel panel;
    ASSERT_TRUE(panel_create(&panel, {60, 60}));
    clear_frame(0, 0, 0);
    panel_draw(&panel, {100, 100}, 0xFFFFFFFF);
    EXPECT_TRUE(pixel_near(read_pixel(70, 70), 0, 0, 0));

    // A square image: the panel loses its rounded corners.
    write_file_with_new_mtime(path, solid_png(64, 64, 255, 255, 255), 2);
    textures.last_check_time = 20.0;
    textures_reload_changed(20.6);
    clear_frame(0, 0, 0);
    panel_draw(&panel, {100, 100}, 0xFFFFFFFF);
    EXPECT_TRUE(pixel_near(read_pixel(70, 70), 255, 255, 255));

    write_file_with_new_mtime(path, original, 4);
    textures_reload_changed(21.2);
    clear_frame(0, 0, 0);
    panel_draw(&panel, {100, 100}, 0xFFFFFFFF);
    EXPECT_TRUE(pixel_near(read_pixel(70, 70), 0, 0, 0));
    panels_release_all();
    textures_release_all();
}
