// The font cache file: its exact bytes, its length rule, and the choice
// between cache and font file, all without a window.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "text/font.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> read_bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void write_bytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write((const char*)bytes.data(), (std::streamsize)bytes.size());
}

// A scratch folder of its own for each test.
struct CacheFolder : ::testing::Test {
    fs::path folder;
    void SetUp() override {
        char pattern[] = "/tmp/tessarin-cache-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override { fs::remove_all(folder); }
};

// Glyphs with distinct values everywhere and junk in the padding.
void fill_glyphs(Glyph* glyphs) {
    for (int i = 0; i < glyph_total; i++) {
        Glyph& g = glyphs[i];
        memset(&g, 0xab, sizeof(g));
        g.codepoint = (uint8_t)(glyph_first + i);
        for (int k = 0; k < 8; k++) g.corners[k] = i + k * 0.5f;
        for (int k = 0; k < 8; k++) g.uvs[k] = i / 95.0f + k / 1000.0f;
        g.x_offset = 1.0f;
        g.y_offset = -i * 0.25f;
        g.advance = 7.5f + i;
    }
}

uint32_t u32_at(const std::vector<uint8_t>& bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | (uint32_t)bytes[at + 3] << 24;
}

} // namespace

TEST(FontCacheFormat, SidesLengthsAndPaths) {
    EXPECT_EQ(atlas_side(1), 512);
    EXPECT_EQ(atlas_side(64), 512);
    EXPECT_EQ(atlas_side(65), 1024);
    EXPECT_EQ(atlas_side(128), 1024);
    EXPECT_EQ(atlas_side(129), 2048);
    EXPECT_EQ(font_cache_length(512), 269748);
    EXPECT_EQ(font_cache_length(1024), 1056180);

    char path[144];
    font_cache_path(path, sizeof(path), "title_font", 64, 1);
    EXPECT_STREQ(path, "tmp/font.title_font.64");
    font_cache_path(path, sizeof(path), "k", 255, 1);
    EXPECT_STREQ(path, "tmp/font.k.255");
    // A bake at double density has a name of its own.
    font_cache_path(path, sizeof(path), "digit_font", 32, 2);
    EXPECT_STREQ(path, "tmp/font.digit_font.32@2x");
    font_cache_path(path, sizeof(path), "digit_font", 32, 57 / 32.0f);
    EXPECT_STREQ(path, "tmp/font.digit_font.32@1.78125x");
    // The longest key the registry keeps still gets its whole name.
    std::string longest(127, 'k');
    font_cache_path(path, sizeof(path), longest.c_str(), 255, 2);
    EXPECT_EQ(std::string(path), "tmp/font." + longest + ".255@2x");

    // A key too long for the buffer is cut, terminated and never overruns.
    char guarded[144 + 8];
    memset(guarded, 'Z', sizeof(guarded));
    std::string key(300, 'k');
    font_cache_path(guarded, 144, key.c_str(), 32, 2);
    EXPECT_EQ(strlen(guarded), 143u);
    EXPECT_EQ(std::string(guarded, 9), "tmp/font.");
    for (int i = 144; i < (int)sizeof(guarded); i++) EXPECT_EQ(guarded[i], 'Z');
}

TEST_F(CacheFolder, WrittenBytesFollowTheFormat) {
    const int side = 512;
    std::vector<uint8_t> atlas(side * side);
    for (size_t i = 0; i < atlas.size(); i++) atlas[i] = (uint8_t)(i * 31 + i / 512);
    Glyph glyphs[glyph_total];
    fill_glyphs(glyphs);
    // The folder of the cache is made when it is missing.
    fs::path path = folder / "tmp" / "font.title_font.64";
    ASSERT_TRUE(font_cache_write(path.c_str(), side, atlas.data(), glyphs, 24.5f));

    std::vector<uint8_t> bytes = read_bytes(path);
    ASSERT_EQ(bytes.size(), 269748u);
    EXPECT_TRUE(std::equal(atlas.begin(), atlas.end(), bytes.begin()));
    for (int i = 0; i < glyph_total; i++) {
        SCOPED_TRACE("glyph " + std::to_string(i));
        size_t at = side * side + 80 * i;
        EXPECT_EQ(bytes[at], 32 + i);
        EXPECT_EQ(bytes[at + 1], 0);
        EXPECT_EQ(bytes[at + 2], 0);
        EXPECT_EQ(bytes[at + 3], 0);
        // Little-endian IEEE floats at their fixed offsets.
        float corner1;
        memcpy(&corner1, &bytes[at + 4 + 4], 4);
        EXPECT_EQ(corner1, i + 0.5f);
        EXPECT_EQ(u32_at(bytes, at + 68), 0x3f800000u); // x_offset 1.0
        float advance;
        memcpy(&advance, &bytes[at + 76], 4);
        EXPECT_EQ(advance, 7.5f + i);
    }
    EXPECT_EQ(u32_at(bytes, side * side + 7600), 0x41c40000u); // ascent 24.5
    // Nothing but the cache file: no temporary file is left.
    EXPECT_EQ(std::distance(fs::directory_iterator(path.parent_path()), {}), 1);

    // Parsing gives back what was written (the padding aside).
    std::vector<uint8_t> parsed_atlas(side * side);
    Glyph parsed[glyph_total];
    float ascent = 0;
    ASSERT_TRUE(font_cache_parse(bytes.data(), (int32_t)bytes.size(), side, parsed_atlas.data(),
                                 parsed, &ascent));
    EXPECT_EQ(parsed_atlas, atlas);
    EXPECT_EQ(ascent, 24.5f);
    for (int i = 0; i < glyph_total; i++) {
        EXPECT_EQ(parsed[i].codepoint, glyphs[i].codepoint);
        EXPECT_EQ(memcmp(parsed[i].corners, glyphs[i].corners, 76), 0) << "glyph " << i;
    }
}

TEST_F(CacheFolder, WrongLengthsAreRefusedUntouched) {
    const int side = 512;
    const int32_t length = font_cache_length(side);
    std::vector<uint8_t> bytes(length + 1, 0x11);
    std::vector<uint8_t> atlas(side * side, 0x77);
    Glyph glyphs[glyph_total];
    memset(glyphs, 0x77, sizeof(glyphs));
    float ascent = 3;
    // Empty, truncated, over-long, and a 1024 file read for a 512 atlas.
    for (int32_t wrong : {0, 1, length - 1, length + 1, font_cache_length(1024)}) {
        SCOPED_TRACE("length " + std::to_string(wrong));
        std::vector<uint8_t> file(wrong, 0x11);
        EXPECT_FALSE(font_cache_parse(file.data(), wrong, side, atlas.data(), glyphs, &ascent));
    }
    EXPECT_EQ(atlas[0], 0x77);
    EXPECT_EQ(atlas.back(), 0x77);
    EXPECT_EQ(glyphs[94].codepoint, 0x77);
    EXPECT_EQ(ascent, 3);
}

TEST_F(CacheFolder, UnwritableCacheFails) {
    // "tmp" is a plain file, so no folder can be made there.
    write_bytes(folder / "tmp", {1, 2, 3});
    std::vector<uint8_t> atlas(512 * 512);
    Glyph glyphs[glyph_total] = {};
    fs::path path = folder / "tmp" / "font.a.32";
    EXPECT_FALSE(font_cache_write(path.c_str(), 512, atlas.data(), glyphs, 1));
    EXPECT_EQ(read_bytes(folder / "tmp"), std::vector<uint8_t>({1, 2, 3}));
}

TEST_F(CacheFolder, CacheIsUsedBeforeTheFontFile) {
    const int side = 512;
    std::vector<uint8_t> atlas(side * side, 9);
    Glyph glyphs[glyph_total];
    fill_glyphs(glyphs);
    std::string cache = (folder / "tmp" / "font.k.32").string();
    std::string missing_font = (folder / "fonts" / "none.ttf").string();
    ASSERT_TRUE(font_cache_write(cache.c_str(), side, atlas.data(), glyphs, 30));

    // With a cache of the right length the font file is never needed.
    std::vector<uint8_t> loaded(side * side);
    Glyph loaded_glyphs[glyph_total];
    float ascent = 0;
    ASSERT_TRUE(font_atlas_load(cache.c_str(), missing_font.c_str(), 32, 32, side, loaded.data(),
                                loaded_glyphs, &ascent));
    EXPECT_EQ(loaded, atlas);
    EXPECT_EQ(ascent, 30);
    EXPECT_EQ(loaded_glyphs[10].advance, glyphs[10].advance);

    // The same file is the wrong length for a 1024 atlas: it counts as absent,
    // and with no font file to bake from there is nothing to load.
    std::vector<uint8_t> big(1024 * 1024);
    EXPECT_FALSE(font_atlas_load(cache.c_str(), missing_font.c_str(), 65, 65, 1024, big.data(),
                                 loaded_glyphs, &ascent));
    EXPECT_EQ(read_bytes(cache).size(), 269748u);
}

TEST_F(CacheFolder, UnreadableFontBytesAreRefused) {
    std::vector<uint8_t> atlas(512 * 512);
    Glyph glyphs[glyph_total];
    float ascent = 0;
    auto bake = [&](std::vector<uint8_t> bytes) {
        // The zero byte the file reader puts after the data.
        bytes.push_back(0);
        return font_bake(bytes.data(), (int32_t)bytes.size() - 1, 32, 32, 512, atlas.data(), glyphs,
                         &ascent);
    };
    EXPECT_EQ(bake({}), -1);
    EXPECT_EQ(bake(std::vector<uint8_t>(4000, 0x41)), -1);
    // A TrueType header whose table directory runs past the data.
    EXPECT_EQ(bake({0, 1, 0, 0, 0, 40, 0, 0, 0, 0, 0, 0, 'c', 'm', 'a', 'p'}), -1);
    // A directory that fits but points at tables beyond the end.
    const uint8_t header[28] = {0,   1,   0, 0, 0, 1, 0, 0, 0, 0,  0, 0, 'h', 'e',
                                'a', 'd', 0, 0, 0, 0, 0, 0, 0, 28, 0, 0, 1,   0};
    std::vector<uint8_t> far_table(64, 0);
    memcpy(far_table.data(), header, sizeof(header));
    EXPECT_EQ(bake(far_table), -1);
    // A font collection header: the bake only reads single fonts.
    std::vector<uint8_t> collection = {'t', 't', 'c', 'f', 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 16};
    collection.resize(64);
    EXPECT_EQ(bake(collection), -1);

    // Random bytes behind a valid tag never get as far as the rasteriser.
    srand(7);
    for (int round = 0; round < 200; round++) {
        std::vector<uint8_t> noise(16 + rand() % 2000);
        for (uint8_t& b : noise) b = (uint8_t)rand();
        noise[0] = 0, noise[1] = 1, noise[2] = 0, noise[3] = 0;
        ASSERT_EQ(bake(noise), -1) << "round " << round;
    }

    // And nothing is cached for a font that cannot be read.
    write_bytes(folder / "garbage.ttf", std::vector<uint8_t>(3000, 0x41));
    std::string cache = (folder / "tmp" / "font.g.32").string();
    EXPECT_FALSE(font_atlas_load(cache.c_str(), (folder / "garbage.ttf").c_str(), 32, 32, 512,
                                 atlas.data(), glyphs, &ascent));
    EXPECT_FALSE(fs::exists(cache));
}
