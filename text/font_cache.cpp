// The CPU half of a font: baking a TrueType file into an atlas and glyph
// table, and the cache file that lets later starts skip the baking.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <stb_truetype.h>

#include "common/files.h"
#include "common/save_folder.h"
#include "platform/platform.h"
#include "text/font.h"

// Glyphs and the ascent are stored as memory holds them: little-endian 32-bit
// floats on every machine the program runs on.
static_assert(sizeof(float) == 4, "the cache stores 32-bit floats");

static constexpr int32_t glyph_table_bytes = glyph_total * (int32_t)sizeof(Glyph);

int atlas_side(uint16_t baked_size) {
    if (baked_size <= 64) return 512;
    return baked_size <= 128 ? 1024 : 2048;
}

int32_t font_cache_length(int side) {
    return side * side + glyph_table_bytes + 4;
}

void font_cache_path(char* out, int capacity, const char* key, uint8_t size, float scale) {
    if (scale == 1.0f) {
        snprintf(out, (size_t)capacity, "%stmp/font.%s.%d", save_folder.prefix, key, size);
        return;
    }
    // Scales are whole 32nds, which %g writes exactly: "2", "1.5", "1.78125".
    snprintf(out, (size_t)capacity, "%stmp/font.%s.%d@%gx", save_folder.prefix, key, size,
             (double)scale);
}

bool font_cache_parse(const uint8_t* bytes, int32_t length, int side, uint8_t* atlas, Glyph* glyphs,
                      float* ascent) {
    if (length != font_cache_length(side)) return false;
    int32_t atlas_bytes = side * side;
    memcpy(atlas, bytes, (size_t)atlas_bytes);
    memcpy(glyphs, bytes + atlas_bytes, (size_t)glyph_table_bytes);
    memcpy(ascent, bytes + atlas_bytes + glyph_table_bytes, 4);
    return true;
}

// Creates the folder part of `path` ("tmp" for the cache) when it is missing.
static void make_parent_folder(const char* path) {
    const char* slash = strrchr(path, '/');
    if (!slash) return;
    char folder[1024];
    snprintf(folder, sizeof(folder), "%.*s", (int)(slash - path), path);
    platform_make_folder(folder);
}

bool font_cache_write(const char* path, int side, const uint8_t* atlas, const Glyph* glyphs,
                      float ascent) {
    int32_t length = font_cache_length(side);
    uint8_t* bytes = (uint8_t*)malloc((size_t)length);
    if (!bytes) return false;
    int32_t atlas_bytes = side * side;
    memcpy(bytes, atlas, (size_t)atlas_bytes);
    uint8_t* records = bytes + atlas_bytes;
    memcpy(records, glyphs, (size_t)glyph_table_bytes);
    // Padding has no meaning, but the file should not depend on what memory held.
    for (int i = 0; i < glyph_total; i++) memset(records + i * sizeof(Glyph) + 1, 0, 3);
    memcpy(records + glyph_table_bytes, &ascent, 4);
    make_parent_folder(path);
    bool written = write_file_replacing(path, bytes, length);
    free(bytes);
    return written;
}

static uint32_t read_u32(const uint8_t* p) {
    return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3];
}

// stb_truetype trusts its input, so before it parses anything the bytes must
// be a single font (not a collection) whose table directory and tables lie
// inside the data: a truncated or foreign file is refused here.
bool font_data_readable(const uint8_t* data, int32_t length) {
    if (length < 16 || stbtt_GetFontOffsetForIndex(data, 0) != 0) return false;
    uint32_t table_count = (uint32_t)data[4] << 8 | data[5];
    if (12 + 16 * table_count > (uint32_t)length) return false;
    for (uint32_t i = 0; i < table_count; i++) {
        const uint8_t* entry = data + 12 + 16 * i;
        uint32_t offset = read_u32(entry + 8);
        uint32_t table_length = read_u32(entry + 12);
        if (offset > (uint32_t)length || table_length > (uint32_t)length - offset) return false;
    }
    stbtt_fontinfo info;
    return stbtt_InitFont(&info, data, 0) != 0;
}

int font_bake(const uint8_t* font_data, int32_t length, uint16_t baked_size, uint8_t size, int side,
              uint8_t* atlas, Glyph* glyphs, float* ascent) {
    if (!font_data_readable(font_data, length)) return -1;
    // Glyphs that do not fit are left zero: an empty box that does not advance.
    stbtt_bakedchar baked[glyph_total] = {};
    int result = stbtt_BakeFontBitmap(font_data, 0, baked_size, atlas, side, side, glyph_first,
                                      glyph_total, baked);
    float descent, line_gap;
    stbtt_GetScaledFontVMetrics(font_data, 0, size, ascent, &descent, &line_gap);
    for (int i = 0; i < glyph_total; i++) {
        const stbtt_bakedchar& b = baked[i];
        Glyph& g = glyphs[i];
        memset(&g, 0, sizeof(g));
        g.codepoint = (uint8_t)(glyph_first + i);
        float w = (uint8_t)(b.x1 - b.x0);
        float h = (uint8_t)(b.y1 - b.y0);
        const float corners[8] = {0, 0, w, 0, 0, h, w, h};
        memcpy(g.corners, corners, sizeof(corners));
        float u0 = b.x0 / (float)side, u1 = b.x1 / (float)side;
        float v0 = b.y0 / (float)side, v1 = b.y1 / (float)side;
        const float uvs[8] = {u0, v0, u1, v0, u0, v1, u1, v1};
        memcpy(g.uvs, uvs, sizeof(uvs));
        g.x_offset = b.xoff;
        g.y_offset = b.yoff;
        g.advance = b.xadvance;
    }
    // A positive result is the first unused row: everything fit.
    return result > 0 ? glyph_total : -result;
}

bool font_atlas_load(const char* cache_path, const char* font_path, uint16_t baked_size,
                     uint8_t size, int side, uint8_t* atlas, Glyph* glyphs, float* ascent) {
    int32_t length = 0;
    char* cached = cache_path ? read_whole_file(cache_path, &length) : nullptr;
    bool from_cache =
        cached && font_cache_parse((const uint8_t*)cached, length, side, atlas, glyphs, ascent);
    free(cached);
    if (from_cache) return true;

    char* font_data = read_whole_file(font_path, &length);
    if (!font_data) return false;
    int fitted =
        font_bake((const uint8_t*)font_data, length, baked_size, size, side, atlas, glyphs, ascent);
    free(font_data);
    if (fitted < 0) return false;
    // A partial atlas still draws what fit, but is not worth keeping.
    if (fitted == glyph_total && cache_path)
        font_cache_write(cache_path, side, atlas, glyphs, *ascent);
    return true;
}
