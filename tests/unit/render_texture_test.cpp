#include <gtest/gtest.h>

#include <cstring>
#include <string>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb_image_write.h>

#include "render/texture.h"

// A PNG of the given size whose pixel (x, y) is (x, y, x + y, 255 - x).
static std::string make_png(int width, int height) {
    std::string rgba((size_t)width * height * 4, '\0');
    for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
            size_t at = ((size_t)y * width + x) * 4;
            rgba[at] = (char)x;
            rgba[at + 1] = (char)y;
            rgba[at + 2] = (char)(x + y);
            rgba[at + 3] = (char)(255 - x);
        }
    }
    int length = 0;
    unsigned char* png = stbi_write_png_to_mem((const unsigned char*)rgba.data(), width * 4, width,
                                               height, 4, &length);
    std::string bytes((const char*)png, (size_t)length);
    STBIW_FREE(png);
    return bytes;
}

static bool decode(const std::string& bytes, Image* image) {
    return image_decode((const unsigned char*)bytes.data(), (int32_t)bytes.size(), image);
}

TEST(RenderImage, DecodesPngToRgbaTopRowFirst) {
    Image image;
    ASSERT_TRUE(decode(make_png(5, 3), &image));
    EXPECT_EQ(image.width, 5);
    EXPECT_EQ(image.height, 3);
    for (int y = 0; y < 3; y++) {
        for (int x = 0; x < 5; x++) {
            const unsigned char* p = image.pixels + (y * 5 + x) * 4;
            EXPECT_EQ(p[0], x);
            EXPECT_EQ(p[1], y);
            EXPECT_EQ(p[2], x + y);
            EXPECT_EQ(p[3], 255 - x);
        }
    }
    image_free(&image);
    EXPECT_EQ(image.pixels, nullptr);
}

TEST(RenderImage, RejectsWhatIsNotAUsablePng) {
    Image image = {};
    std::string png = make_png(16, 16);
    EXPECT_FALSE(decode("", &image));
    EXPECT_FALSE(decode("this is not an image at all", &image));
    EXPECT_FALSE(decode(png.substr(0, png.size() / 2), &image));
    EXPECT_FALSE(decode(png.substr(0, 20), &image));
    EXPECT_FALSE(image_decode(nullptr, 10, &image));

    // A header that claims zero width.
    std::string zero_width = png;
    memset(&zero_width[16], 0, 4);
    EXPECT_FALSE(decode(zero_width, &image));
    EXPECT_EQ(image.pixels, nullptr);

    // A side longer than a texture may be is refused; the longest allowed one decodes.
    EXPECT_FALSE(decode(make_png(8193, 1), &image));
    EXPECT_EQ(image.pixels, nullptr);
    ASSERT_TRUE(decode(make_png(1, 8192), &image));
    EXPECT_EQ(image.height, 8192);
    image_free(&image);
}

TEST(RenderTexturePool, AcquireTakesLowestFreeSlotNewestFirst) {
    textures = {};
    Texture* first = texture_acquire("first");
    Texture* second = texture_acquire("second");
    ASSERT_EQ(first, &textures.slots[0]);
    ASSERT_EQ(second, &textures.slots[1]);
    EXPECT_EQ(textures.head, second);
    EXPECT_EQ(second->next, first);
    EXPECT_EQ(first->next, nullptr);
    EXPECT_STREQ(second->key, "second");
    EXPECT_EQ(second->in_use, 1);
    EXPECT_EQ(second->gl_texture, 0u);
    EXPECT_EQ(second->path[0], 0);

    // A key longer than the field is cut, not written past it.
    std::string long_key(300, 'k');
    Texture* third = texture_acquire(long_key.c_str());
    EXPECT_EQ(strlen(third->key), sizeof(third->key) - 1);
    textures = {};
}

TEST(RenderTexturePool, FullPoolGivesNothing) {
    textures = {};
    for (int i = 0; i < texture_capacity; i++) ASSERT_NE(texture_acquire("t"), nullptr);
    EXPECT_EQ(texture_acquire("one too many"), nullptr);
    int live = 0;
    for (Texture* t = textures.head; t; t = t->next) live++;
    EXPECT_EQ(live, texture_capacity);
    textures = {};
}
