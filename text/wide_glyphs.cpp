// Glyphs beyond ASCII for the fonts that draw the user's own names, and UTF-8.
#include <cstring>

#include "text/font.h"

#include <stb_truetype.h>

int font_bake_wide(const uint8_t* font_data, int32_t length, uint16_t baked_size, int side,
                   int first_row, uint8_t* atlas, Glyph* glyphs) {
    if (!font_data_readable(font_data, length)) return -1;
    int fitted = 0, row = first_row, at = 0;
    for (const GlyphRange& range : wide_ranges) {
        stbtt_bakedchar baked[256] = {};
        // Each range in rows of its own: the baker starts at the top of what it is given.
        int result =
            row < side ? stbtt_BakeFontBitmap(font_data, 0, baked_size, atlas + (size_t)row * side,
                                              side, side - row, range.first, range.count, baked)
                       : 0;
        for (int i = 0; i < range.count; i++) {
            const stbtt_bakedchar& b = baked[i];
            Glyph& g = glyphs[at + i];
            memset(&g, 0, sizeof(g));
            g.codepoint = (uint8_t)(range.first + i);
            if (result <= 0 && i >= -result) continue;
            float w = (uint8_t)(b.x1 - b.x0), h = (uint8_t)(b.y1 - b.y0);
            const float corners[8] = {0, 0, w, 0, 0, h, w, h};
            memcpy(g.corners, corners, sizeof(corners));
            float u0 = b.x0 / (float)side, u1 = b.x1 / (float)side;
            float v0 = (float)(row + b.y0) / (float)side, v1 = (float)(row + b.y1) / (float)side;
            const float uvs[8] = {u0, v0, u1, v0, u0, v1, u1, v1};
            memcpy(g.uvs, uvs, sizeof(uvs));
            g.x_offset = b.xoff;
            g.y_offset = b.yoff;
            g.advance = b.xadvance;
            fitted++;
        }
        at += range.count;
        // A positive result is the first unused row of what it was given.
        row = result > 0 ? row + result : side;
    }
    return fitted;
}

int atlas_first_free_row(const Glyph* glyphs, int side) {
    float lowest = 0;
    for (int i = 0; i < glyph_total; i++)
        if (glyphs[i].uvs[7] > lowest) lowest = glyphs[i].uvs[7];
    return (int)(lowest * (float)side) + 1;
}

const Glyph* find_glyph(const Font* font, uint32_t codepoint) {
    if (codepoint - glyph_first < (uint32_t)glyph_total)
        return &font->glyphs[codepoint - glyph_first];
    if (font->wide_glyphs) {
        int at = 0;
        for (const GlyphRange& range : wide_ranges) {
            if (codepoint - range.first < range.count) {
                const Glyph* glyph = &font->wide_glyphs[at + (codepoint - range.first)];
                // One that did not fit, or that the font lacks, shows as '?'.
                if (glyph->advance > 0) return glyph;
                break;
            }
            at += range.count;
        }
    }
    return &font->glyphs['?' - glyph_first];
}

uint32_t next_codepoint(const char* text, int* bytes) {
    const unsigned char* s = (const unsigned char*)text;
    *bytes = 1;
    if (s[0] < 0x80) return s[0];
    int extra = s[0] >= 0xF0 && s[0] < 0xF5 ? 3 : s[0] >= 0xE0 ? 2 : s[0] >= 0xC2 ? 1 : -1;
    if (extra < 0 || s[0] >= 0xF5) return 0xFFFD;
    uint32_t codepoint = s[0] & (0x3F >> extra);
    for (int k = 1; k <= extra; k++) {
        if ((s[k] & 0xC0) != 0x80) return 0xFFFD;
        codepoint = codepoint << 6 | (s[k] & 0x3F);
    }
    *bytes = 1 + extra;
    return codepoint;
}
