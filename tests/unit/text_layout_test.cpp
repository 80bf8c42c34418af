// Text layout and placement with a hand-made font: no window, no GL.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "text/text_object.h"

namespace {

// A font whose glyphs are told apart by their numbers: glyph i has a box of
// (i % 7 + 2) x (i % 5 + 3), offsets (i / 10, -i) and advance 10 + i / 4.
struct FakeFont {
    Glyph glyphs[glyph_total];
    Font font;

    FakeFont() {
        memset(glyphs, 0, sizeof(glyphs));
        for (int i = 0; i < glyph_total; i++) {
            Glyph& g = glyphs[i];
            g.codepoint = (uint8_t)(glyph_first + i);
            float w = (float)(i % 7 + 2), h = (float)(i % 5 + 3);
            const float corners[8] = {0, 0, w, 0, 0, h, w, h};
            memcpy(g.corners, corners, sizeof(corners));
            float u0 = i / 100.0f, v0 = i / 200.0f;
            const float uvs[8] = {u0, v0, u0 + 0.01f, v0, u0, v0 + 0.02f, u0 + 0.01f, v0 + 0.02f};
            memcpy(g.uvs, uvs, sizeof(uvs));
            g.x_offset = i / 10.0f;
            g.y_offset = -(float)i;
            g.advance = 10 + i / 4.0f;
        }
        // The space bakes to an empty box.
        memset(glyphs[0].corners, 0, sizeof(glyphs[0].corners));
        memset(&font, 0, sizeof(font));
        font.size = 32;
        font.baked_size = 32;
        font.glyph_count = glyph_total;
        font.glyphs = glyphs;
        font.ascent = 24.5f;
    }
    const Glyph& glyph(char ch) const { return glyphs[ch - glyph_first]; }
};

// Room for the longest string plus a guard that layout must never touch.
struct VertexBuffer {
    Vertex vertices[6 * text_max_length];
    Vertex guard[6];
};

void expect_quad(const Vertex* quad, const Glyph& g, float pen, float scale) {
    const int corner_order[6] = {0, 1, 2, 1, 2, 3};
    for (int i = 0; i < 6; i++) {
        int k = corner_order[i];
        SCOPED_TRACE("vertex " + std::to_string(i));
        EXPECT_FLOAT_EQ(quad[i].x, (g.corners[2 * k] + g.x_offset + pen) / scale);
        EXPECT_FLOAT_EQ(quad[i].y, (g.corners[2 * k + 1] + g.y_offset) / scale);
        EXPECT_EQ(quad[i].z, 0.0f);
        EXPECT_EQ(quad[i].u, g.uvs[2 * k]);
        EXPECT_EQ(quad[i].v, g.uvs[2 * k + 1]);
    }
}

} // namespace

TEST(TextLayout, QuadsFollowPenOffsetsAndScale) {
    FakeFont f;
    VertexBuffer out;
    uint16_t count = 0;
    uint16_t width = layout_text(&f.font, "Ab~", 1, out.vertices, &count);
    ASSERT_EQ(count, 18);
    float pen = 0;
    for (int i = 0; i < 3; i++) {
        const Glyph& g = f.glyph("Ab~"[i]);
        expect_quad(out.vertices + 6 * i, g, pen, 1);
        pen += g.advance;
    }
    EXPECT_EQ(width, (uint16_t)pen);

    // At double density the baked quads are halved back to logical units.
    width = layout_text(&f.font, "Ab", 2, out.vertices, &count);
    ASSERT_EQ(count, 12);
    expect_quad(out.vertices, f.glyph('A'), 0, 2);
    expect_quad(out.vertices + 6, f.glyph('b'), f.glyph('A').advance, 2);
    EXPECT_EQ(width, (uint16_t)((f.glyph('A').advance + f.glyph('b').advance) / 2));
}

TEST(TextLayout, EmptyAndUnprintableBytes) {
    FakeFont f;
    VertexBuffer out;
    uint16_t count = 99;
    EXPECT_EQ(layout_text(&f.font, "", 1, out.vertices, &count), 0);
    EXPECT_EQ(count, 0);

    // Tab, newline, DEL and bytes of 128 and above each become one question mark.
    const char odd[] = "\t\n\x7f\x80\xff";
    uint16_t width = layout_text(&f.font, odd, 1, out.vertices, &count);
    ASSERT_EQ(count, 30);
    const Glyph& question = f.glyph('?');
    for (int i = 0; i < 5; i++) {
        SCOPED_TRACE("byte " + std::to_string(i));
        expect_quad(out.vertices + 6 * i, question, i * question.advance, 1);
    }
    EXPECT_EQ(width, (uint16_t)(5 * question.advance));

    // UTF-8: one mark a character the font lacks, the rest of the name kept.
    EXPECT_EQ(layout_text(&f.font,
                          "\xc3\xa9"
                          "A"
                          "\xe4\xb8\xad",
                          1, out.vertices, &count),
              (uint16_t)(2 * question.advance + f.glyph('A').advance));
    EXPECT_EQ(count, 18);
    expect_quad(out.vertices + 6, f.glyph('A'), question.advance, 1);
}

TEST(TextLayout, SpaceIsDegenerateButAdvances) {
    FakeFont f;
    VertexBuffer out;
    uint16_t count = 0;
    layout_text(&f.font, "A A", 1, out.vertices, &count);
    ASSERT_EQ(count, 18);
    for (int i = 6; i < 12; i++) {
        EXPECT_EQ(out.vertices[i].x, out.vertices[6].x);
        EXPECT_EQ(out.vertices[i].y, out.vertices[6].y);
    }
    expect_quad(out.vertices + 12, f.glyph('A'), f.glyph('A').advance + f.glyph(' ').advance, 1);
}

TEST(TextLayout, WidthTruncates) {
    FakeFont f;
    VertexBuffer out;
    uint16_t count = 0;
    // Three advances of 15.3 sum to 45.9.
    f.glyphs['a' - glyph_first].advance = 15.3f;
    EXPECT_EQ(layout_text(&f.font, "aaa", 1, out.vertices, &count), 45);
    f.glyphs['a' - glyph_first].advance = 30.6f;
    EXPECT_EQ(layout_text(&f.font, "aaa", 2, out.vertices, &count), 45);
    // A damaged cache must not turn into a huge or undefined width.
    f.glyphs['a' - glyph_first].advance = -5;
    EXPECT_EQ(layout_text(&f.font, "aaa", 1, out.vertices, &count), 0);
}

TEST(TextLayout, LongStringIsCutTo127Bytes) {
    FakeFont f;
    VertexBuffer out;
    memset(out.guard, 0x5a, sizeof(out.guard));
    std::string long_text(200, 'W');
    uint16_t count = 0;
    uint16_t width = layout_text(&f.font, long_text.c_str(), 1, out.vertices, &count);
    EXPECT_EQ(count, 6 * 127);
    EXPECT_EQ(width, (uint16_t)(127 * f.glyph('W').advance));
    const unsigned char* guard = (const unsigned char*)out.guard;
    for (size_t i = 0; i < sizeof(out.guard); i++) ASSERT_EQ(guard[i], 0x5a) << "byte " << i;
}

TEST(TextLayout, PlacementCentresAdvanceBoxAndBand) {
    FakeFont f;
    TextObject text;
    memset(&text, 0, sizeof(text));
    text.font = &f.font;
    text.width = 45;
    // Size 32 with ascent 24.5: the baseline lies 8.5 below the centre, and
    // the odd width is halved down.
    Vec2 at = text_placement(&text, 100, 200);
    EXPECT_FLOAT_EQ(at.x, 100 - 22);
    EXPECT_FLOAT_EQ(at.y, 208.5f);

    f.font.size = 33;
    f.font.ascent = 20;
    text.width = 0;
    at = text_placement(&text, -10.25f, 0);
    EXPECT_FLOAT_EQ(at.x, -10.25f);
    EXPECT_FLOAT_EQ(at.y, 4);
}
