// Fonts in a real context: baking, the cache file on disk, failures and the
// registry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "gl/text_support.h"
#include "render/gl.h"
#include "render/renderer.h"

namespace fs = std::filesystem;

namespace {

const char* const poetsen = "PoetsenOne-Regular.ttf";
const char* const arial = "arialbd.ttf";

struct FontTest : ::testing::Test {
    void SetUp() override { reset_text_state(); }
    void TearDown() override { reset_text_state(); }
};

const Glyph& glyph_of(const Font* font, char ch) {
    return font->glyphs[ch - glyph_first];
}

std::vector<uint8_t> atlas_pixels(const Font* font) {
    std::vector<uint8_t> pixels(font->atlas->width * font->atlas->height);
    glBindTexture(GL_TEXTURE_2D, font->atlas->gl_texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RED, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// The cache bytes a font should have been written as.
std::vector<uint8_t> expected_cache(const Font* font) {
    std::vector<uint8_t> bytes = atlas_pixels(font);
    const uint8_t* glyphs = (const uint8_t*)font->glyphs;
    bytes.insert(bytes.end(), glyphs, glyphs + glyph_total * sizeof(Glyph));
    const uint8_t* ascent = (const uint8_t*)&font->ascent;
    bytes.insert(bytes.end(), ascent, ascent + 4);
    return bytes;
}

bool slot_is_zero(const FontSlot& slot) {
    static const FontSlot zero = {};
    return memcmp(&slot, &zero, sizeof(slot)) == 0;
}

int live_textures() {
    int count = 0;
    for (Texture* t = textures.head; t; t = t->next) count++;
    return count;
}

int registered_fonts() {
    int count = 0;
    for (FontSlot* slot = fonts.head; slot; slot = slot->next) count++;
    return count;
}

} // namespace

TEST_F(FontTest, FirstRegistrationBakesLaterOnesReadTheCache) {
    ASSERT_FALSE(fs::exists("tmp"));
    Font* baked = register_font("title_font", poetsen, 64);
    ASSERT_NE(baked, nullptr);
    EXPECT_STREQ(baked->key, "title_font");
    EXPECT_EQ(baked->size, 64);
    EXPECT_EQ(baked->baked_size, 64);
    EXPECT_EQ(baked->glyph_count, 95);
    ASSERT_NE(baked->atlas, nullptr);
    EXPECT_STREQ(baked->atlas->key, "title_font");
    EXPECT_EQ(baked->atlas->generated, 1);
    EXPECT_EQ(baked->atlas->width, 512);
    EXPECT_EQ(baked->atlas->height, 512);
    EXPECT_TRUE(glIsTexture(baked->atlas->gl_texture));
    // Crisp texels, white with the coverage as alpha.
    glBindTexture(GL_TEXTURE_2D, baked->atlas->gl_texture);
    GLint filters[2], swizzle[4];
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filters[0]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filters[1]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, swizzle);
    EXPECT_EQ(filters[0], GL_NEAREST);
    EXPECT_EQ(filters[1], GL_NEAREST);
    EXPECT_EQ(swizzle[0], GL_ONE);
    EXPECT_EQ(swizzle[1], GL_ONE);
    EXPECT_EQ(swizzle[2], GL_ONE);
    EXPECT_EQ(swizzle[3], GL_RED);
    // Ascender to descender spans the nominal size.
    EXPECT_GT(baked->ascent, 32);
    EXPECT_LT(baked->ascent, 64);
    for (int i = 0; i < glyph_total; i++) EXPECT_EQ(baked->glyphs[i].codepoint, 32 + i);
    const Glyph& space = glyph_of(baked, ' ');
    for (float corner : space.corners) EXPECT_EQ(corner, 0);
    EXPECT_GT(space.advance, 0);
    const Glyph& a = glyph_of(baked, 'A');
    EXPECT_GT(a.corners[6], 20);
    EXPECT_LT(a.y_offset, -20);
    // uvs are the glyph's box in the atlas, in whole pixels over the side.
    EXPECT_FLOAT_EQ((a.uvs[2] - a.uvs[0]) * 512, a.corners[2]);
    EXPECT_FLOAT_EQ((a.uvs[7] - a.uvs[1]) * 512, a.corners[7]);

    const std::string cache = "tmp/font.title_font.64";
    std::vector<uint8_t> written = file_bytes(cache);
    ASSERT_EQ(written.size(), 269748u);
    EXPECT_TRUE(written == expected_cache(baked));
    std::vector<uint8_t> atlas = atlas_pixels(baked);
    EXPECT_GT(std::count(atlas.begin(), atlas.end(), 255), 1000);

    // Without its font file the key still loads: it comes from the cache.
    fs::rename("fonts/PoetsenOne-Regular.ttf", "fonts/moved.ttf");
    Font* cached = register_font("title_font", poetsen, 64);
    fs::rename("fonts/moved.ttf", "fonts/PoetsenOne-Regular.ttf");
    ASSERT_NE(cached, nullptr);
    EXPECT_NE(cached, baked);
    EXPECT_EQ(find_font("title_font"), cached);
    EXPECT_EQ(memcmp(cached->glyphs, baked->glyphs, glyph_total * sizeof(Glyph)), 0);
    EXPECT_EQ(cached->ascent, baked->ascent);
    EXPECT_TRUE(atlas_pixels(cached) == atlas);
    EXPECT_TRUE(file_bytes(cache) == written);
}

TEST_F(FontTest, AtlasSideFollowsTheBakedSize) {
    Font* font = register_font("big", poetsen, 65);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->atlas->width, 1024);
    EXPECT_EQ(file_bytes("tmp/font.big.65").size(), 1056180u);
    const Glyph& w = glyph_of(font, 'W');
    EXPECT_FLOAT_EQ((w.uvs[2] - w.uvs[0]) * 1024, w.corners[2]);

    // At double density the bake is twice the size, in a cache file of its
    // own, and the ascent stays in logical units.
    pixel_scale = 2;
    Font* sharp = register_font("sharp", poetsen, 40);
    pixel_scale = 1;
    ASSERT_NE(sharp, nullptr);
    EXPECT_EQ(sharp->baked_size, 80);
    EXPECT_EQ(sharp->atlas->width, 1024);
    EXPECT_EQ(file_bytes("tmp/font.sharp.40@2x").size(), 1056180u);
    EXPECT_FALSE(fs::exists("tmp/font.sharp.40"));
    EXPECT_LT(sharp->ascent, 40);
    EXPECT_GT(glyph_of(sharp, 'W').corners[6], 40);

    // The two scales never read each other's bake, even where the atlas side
    // (and so the file's length) is the same: 32 at double density is 64.
    Font* plain = register_font("sharp", poetsen, 40);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->atlas->width, 512);
    EXPECT_EQ(file_bytes("tmp/font.sharp.40").size(), 269748u);
    EXPECT_EQ(file_bytes("tmp/font.sharp.40@2x").size(), 1056180u);
    Font* digits = register_font("digits", poetsen, 32);
    pixel_scale = 2;
    Font* sharp_digits = register_font("digits", poetsen, 32);
    pixel_scale = 1;
    ASSERT_NE(digits, nullptr);
    ASSERT_NE(sharp_digits, nullptr);
    EXPECT_GT(glyph_of(sharp_digits, '8').corners[7], 1.8f * glyph_of(digits, '8').corners[7]);
    EXPECT_EQ(file_bytes("tmp/font.digits.32").size(), 269748u);
    EXPECT_EQ(file_bytes("tmp/font.digits.32@2x").size(), 269748u);
    EXPECT_FALSE(file_bytes("tmp/font.digits.32") == file_bytes("tmp/font.digits.32@2x"));
}

// Names as written: Latin-1, Greek and Cyrillic below the ASCII glyphs, in an
// atlas twice as wide; the cache holds the ASCII glyphs only, so a second
// start bakes them again the same.
TEST_F(FontTest, WideFontDrawsNamesBeyondAscii) {
    Font* wide = register_wide_font("status", arial, 14);
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide->atlas->width, 1024);
    int free_row = atlas_first_free_row(wide->glyphs, 1024);
    for (uint32_t codepoint : {0xE9u, 0x17Eu, 0x3A9u, 0x416u, 0x44Fu}) {
        const Glyph* g = find_glyph(wide, codepoint);
        EXPECT_NE(g, find_glyph(wide, '?')) << codepoint;
        EXPECT_GT(g->advance, 3) << codepoint;
        EXPECT_GE(g->uvs[1] * 1024, free_row) << codepoint;
    }
    // What no range covers, and an ASCII font's wide characters, show as '?'.
    EXPECT_EQ(find_glyph(wide, 0x4E2D), find_glyph(wide, '?'));
    Font* plain = register_font("plain", arial, 14);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(find_glyph(plain, 0xE9), find_glyph(plain, '?'));
    EXPECT_EQ(file_bytes("tmp/font.status.14").size(), (size_t)font_cache_length(1024));
    Glyph first[wide_glyph_total];
    memcpy(first, wide->wide_glyphs, sizeof(first));
    Font* again = register_wide_font("status", arial, 14);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(memcmp(first, again->wide_glyphs, sizeof(first)), 0);
}

TEST_F(FontTest, DamagedCachesAreRebakedAndRewritten) {
    Font* reference = register_font("title_font", poetsen, 64);
    ASSERT_NE(reference, nullptr);
    const std::string cache = "tmp/font.title_font.64";
    const std::vector<uint8_t> good = file_bytes(cache);
    ASSERT_EQ(good.size(), 269748u);
    std::vector<uint8_t> reference_glyphs((const uint8_t*)reference->glyphs,
                                          (const uint8_t*)(reference->glyphs + glyph_total));
    release_font(reference);

    std::vector<uint8_t> truncated(good.begin(), good.end() - 1);
    std::vector<uint8_t> too_long = good;
    too_long.push_back(0);
    std::vector<uint8_t> garbage(good.size() / 2, 0xee);
    for (const std::vector<uint8_t>* damaged : {&truncated, &too_long, &garbage}) {
        SCOPED_TRACE("length " + std::to_string(damaged->size()));
        put_file(cache, *damaged);
        Font* font = register_font("title_font", poetsen, 64);
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(memcmp(font->glyphs, reference_glyphs.data(), reference_glyphs.size()), 0);
        EXPECT_TRUE(file_bytes(cache) == good);
        release_font(font);
    }
    put_file(cache, {});
    ASSERT_NE(register_font("title_font", poetsen, 64), nullptr);
    EXPECT_TRUE(file_bytes(cache) == good);
}

TEST_F(FontTest, CacheOfAnotherFontFileIsUsedUnchanged) {
    Font* arial_font = register_font("k", arial, 32);
    Font* poetsen_font = register_font("p", poetsen, 32);
    ASSERT_NE(arial_font, nullptr);
    ASSERT_NE(poetsen_font, nullptr);
    ASSERT_NE(glyph_of(arial_font, 'W').advance, glyph_of(poetsen_font, 'W').advance);
    const std::vector<uint8_t> arial_cache = file_bytes("tmp/font.k.32");

    // Only the key and size name the cache: another font file under "k" gets
    // the glyphs baked from the first.
    Font* reused = register_font("k", poetsen, 32);
    ASSERT_NE(reused, nullptr);
    EXPECT_EQ(memcmp(reused->glyphs, arial_font->glyphs, glyph_total * sizeof(Glyph)), 0);
    EXPECT_TRUE(file_bytes("tmp/font.k.32") == arial_cache);
}

TEST_F(FontTest, UnreadableFontFilesFailCleanly) {
    put_file("fonts/garbage.ttf", std::vector<uint8_t>(5000, 'x'));
    // Cut inside the glyph outlines, with the tables that describe them whole:
    // stb_truetype would accept it and read past the end.
    const std::vector<uint8_t> real = file_bytes("fonts/arialbd.ttf");
    put_file("fonts/half.ttf", std::vector<uint8_t>(real.begin(), real.begin() + 20000));
    put_file("fonts/empty.ttf", {});
    for (const char* name : {"nope.ttf", "garbage.ttf", "half.ttf", "empty.ttf"}) {
        SCOPED_TRACE(name);
        ::testing::internal::CaptureStderr();
        Font* font = register_font("bad", name, 32);
        std::string report = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(font, nullptr);
        EXPECT_NE(report.find(std::string("fonts/") + name), std::string::npos) << report;
        // Its slot and its texture are given back, and nothing is cached.
        EXPECT_EQ(fonts.head, nullptr);
        EXPECT_TRUE(slot_is_zero(fonts.slots[0]));
        EXPECT_EQ(textures.head, nullptr);
        EXPECT_FALSE(fs::exists("tmp/font.bad.32"));
    }
    // A file name too long for the path is cut, finds nothing and fails the same way.
    std::string long_name(300, 'n');
    EXPECT_EQ(register_font("bad", long_name.c_str(), 32), nullptr);
    EXPECT_EQ(registered_fonts(), 0);
}

TEST_F(FontTest, UnwritableCacheStillGivesAFont) {
    // A plain file where the cache folder should be.
    put_file("tmp", {'x'});
    Font* font = register_font("title_font", poetsen, 64);
    ASSERT_NE(font, nullptr);
    EXPECT_TRUE(glIsTexture(font->atlas->gl_texture));
    EXPECT_GT(glyph_of(font, 'W').advance, 0);
    std::vector<uint8_t> atlas = atlas_pixels(font);
    EXPECT_GT(std::count(atlas.begin(), atlas.end(), 255), 1000);
    EXPECT_TRUE(fs::is_regular_file("tmp"));
    fs::remove("tmp");
}

TEST_F(FontTest, GlyphsThatDoNotFitLeaveAUsableUncachedFont) {
    // At 510 pixels only part of the character set fits a 2048 atlas.
    pixel_scale = 2;
    Font* font = register_font("huge", poetsen, 255);
    pixel_scale = 1;
    ASSERT_NE(font, nullptr);
    EXPECT_GT(glyph_of(font, '!').advance, 0);
    EXPECT_GT(glyph_of(font, '!').corners[6], 0);
    const Glyph& tilde = glyph_of(font, '~');
    EXPECT_EQ(tilde.codepoint, '~');
    EXPECT_EQ(tilde.advance, 0);
    for (float corner : tilde.corners) EXPECT_EQ(corner, 0);
    EXPECT_FALSE(fs::exists("tmp/font.huge.255@2x"));
}

TEST_F(FontTest, NewestFontOfAKeyWinsAndReleaseFreesItsSlot) {
    Font* first = register_font("k", poetsen, 32);
    Font* second = register_font("k", poetsen, 32);
    Font* other = register_font("other", arial, 32);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(first, &fonts.slots[0].font);
    EXPECT_EQ(second, &fonts.slots[1].font);
    EXPECT_EQ(other, &fonts.slots[2].font);
    EXPECT_EQ(find_font("k"), second);
    EXPECT_EQ(find_font("other"), other);
    EXPECT_EQ(find_font("ot"), nullptr);
    EXPECT_EQ(find_font("unknown"), nullptr);

    uint32_t second_texture = second->atlas->gl_texture;
    release_font(second);
    EXPECT_FALSE(glIsTexture(second_texture));
    EXPECT_TRUE(slot_is_zero(fonts.slots[1]));
    EXPECT_EQ(find_font("k"), first);
    EXPECT_EQ(live_textures(), 2);
    EXPECT_EQ(fonts.head, &fonts.slots[2]);
    EXPECT_EQ(fonts.slots[2].next, &fonts.slots[0]);
    // Releasing what is not registered changes nothing.
    release_font(&fonts.slots[7].font);
    EXPECT_EQ(registered_fonts(), 2);

    // The freed slot is the lowest free one, and the newcomer heads the list.
    Font* reused = register_font("again", arial, 32);
    EXPECT_EQ(reused, &fonts.slots[1].font);
    EXPECT_EQ(fonts.head, &fonts.slots[1]);
    EXPECT_EQ(fonts.slots[1].next, &fonts.slots[2]);

    clear_fonts();
    for (const FontSlot& slot : fonts.slots) EXPECT_TRUE(slot_is_zero(slot));
    EXPECT_EQ(fonts.head, nullptr);
}

TEST_F(FontTest, FullPoolsRefuseANewFont) {
    for (int i = 0; i < font_capacity; i++) ASSERT_NE(register_font("f", poetsen, 32), nullptr);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(register_font("one_too_many", poetsen, 32), nullptr);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("one_too_many"), std::string::npos);
    EXPECT_EQ(registered_fonts(), font_capacity);
    EXPECT_EQ(live_textures(), font_capacity);
    EXPECT_EQ(find_font("one_too_many"), nullptr);
    reset_text_state();

    // A full texture pool: the font gives its slot back.
    while (texture_acquire("filler")) {
    }
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(register_font("no_atlas", poetsen, 32), nullptr);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("no_atlas"), std::string::npos);
    EXPECT_EQ(fonts.head, nullptr);
    EXPECT_TRUE(slot_is_zero(fonts.slots[0]));
    EXPECT_EQ(live_textures(), texture_capacity);
}

TEST_F(FontTest, LongKeysAreCutToFit) {
    std::string key(200, 'k');
    Font* font = register_font(key.c_str(), poetsen, 32);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(strlen(font->key), 127u);
    EXPECT_EQ(find_font(key.c_str()), font);
    EXPECT_EQ(find_font(key.substr(0, 127).c_str()), font);
    EXPECT_EQ(find_font(key.substr(0, 126).c_str()), nullptr);
    EXPECT_EQ(strlen(font->atlas->key), 127u);
    EXPECT_TRUE(fs::exists("tmp/font." + key.substr(0, 127) + ".32"));
}

TEST_F(FontTest, FittingToAWindowsScaleBakesThereAndLaysTextsOutAgain) {
    Font* font = register_font("status", arial, 14);
    ASSERT_NE(font, nullptr);
    // The registry outlives the test body, so the text must too.
    static TextObject text;
    ASSERT_TRUE(create_text_object(&text, "status", "step 1,000,000"));
    const uint16_t width = text.width;
    const std::vector<uint8_t> atlas = atlas_pixels(font);

    // Half the scale: half the pixels, about the same width in units.
    fit_texts_to_scale(0.5f);
    EXPECT_EQ(font->baked_size, 7);
    EXPECT_EQ(font->size, 14);
    EXPECT_NEAR(text.width, width, 3);
    EXPECT_LT(glyph_of(font, 'W').corners[2], 9);
    EXPECT_EQ(text.texture, font->atlas->gl_texture);

    // With a least pixel height the size in units grows instead.
    font->least_pixels = 9;
    fit_texts_to_scale(0.5f);
    EXPECT_EQ(font->size, 18);
    EXPECT_EQ(font->baked_size, 9);
    EXPECT_GT(text.width, width * 5 / 4);

    // Back at the start's scale it is the bake it started with, and only
    // that one was cached.
    fit_texts_to_scale(1);
    EXPECT_EQ(font->size, 14);
    EXPECT_EQ(text.width, width);
    EXPECT_TRUE(atlas_pixels(font) == atlas);
    EXPECT_EQ(std::distance(fs::directory_iterator("tmp"), fs::directory_iterator()), 1);

    // Without its font file it stays as it is, and is not tried each frame.
    fs::rename("fonts/arialbd.ttf", "fonts/moved.ttf");
    fit_texts_to_scale(0.75f);
    fs::rename("fonts/moved.ttf", "fonts/arialbd.ttf");
    EXPECT_EQ(font->baked_size, 14);
    EXPECT_EQ(font->scale, 1);
    EXPECT_EQ(text.width, width);
    fit_texts_to_scale(0.75f);
    EXPECT_EQ(font->baked_size, 14);
}
