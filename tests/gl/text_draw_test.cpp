// Text objects in a real context: their registry, their buffers and what
// draw_text puts on screen.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <stb_image_write.h>

#include "gl/gl_context.h"
#include "gl/text_support.h"
#include "render/gl.h"
#include "render/matrix.h"
#include "render/renderer.h"
#include "render/shader.h"

namespace {

struct TextTest : ::testing::Test {
    Font* font = nullptr;
    // Registered texts must outlive the test body: TearDown walks the registry.
    TextObject texts[4];
    void SetUp() override {
        reset_text_state();
        font = register_font("loading_font", "PoetsenOne-Regular.ttf", 32);
        ASSERT_NE(font, nullptr);
    }
    void TearDown() override { reset_text_state(); }
};

GLint buffer_size(uint32_t vao, uint32_t vbo) {
    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    GLint size = -1;
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    return size;
}

const Pixel background = {250, 240, 220, 255};

bool same(Pixel a, Pixel b, int tolerance) {
    return abs(a.r - b.r) <= tolerance && abs(a.g - b.g) <= tolerance &&
           abs(a.b - b.b) <= tolerance;
}

struct Box {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1; // inclusive
};

Box ink_box(const std::vector<Pixel>& frame) {
    Box box;
    for (int y = 0; y < 960; y++) {
        for (int x = 0; x < 540; x++) {
            if (same(frame[y * 540 + x], background, 0)) continue;
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
            box.top = std::min(box.top, y);
            box.bottom = std::max(box.bottom, y);
        }
    }
    return box;
}

// A flat white square drawn the way shapes draw, trusting the uniforms as
// they were left.
void draw_flat_square(float x, float y, float side) {
    glBindVertexArray(unit_quad_vao);
    set_no_texture(1);
    matrix_push();
    matrix_translate(x, y);
    matrix_scale(side, side);
    upload_model_matrix();
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    matrix_pop();
    set_no_texture(0);
}

} // namespace

TEST_F(TextTest, RegistryAppendsAndSwapsWithLast) {
    TextObject &a = texts[0], &b = texts[1], &c = texts[2], &d = texts[3];
    ASSERT_TRUE(create_text_object(&a, "loading_font", "a"));
    ASSERT_TRUE(create_text_object(&b, "loading_font", "b"));
    ASSERT_TRUE(create_text_object(&c, "loading_font", "c"));
    ASSERT_TRUE(create_text_object(&d, "loading_font", "d"));
    ASSERT_EQ(text_object_count(), 4);
    EXPECT_EQ(text_object_at(0), &a);
    EXPECT_EQ(text_object_at(3), &d);
    EXPECT_EQ(a.font, font);

    uint32_t d_vbo = d.vbo, d_vao = d.vao;
    release_text_object(&d);
    EXPECT_FALSE(glIsBuffer(d_vbo));
    EXPECT_FALSE(glIsVertexArray(d_vao));
    ASSERT_EQ(text_object_count(), 3);
    EXPECT_EQ(text_object_at(0), &a);
    EXPECT_EQ(text_object_at(2), &c);

    // An earlier entry takes the last one in its place.
    release_text_object(&a);
    ASSERT_EQ(text_object_count(), 2);
    EXPECT_EQ(text_object_at(0), &c);
    EXPECT_EQ(text_object_at(1), &b);
    release_text_object(&a);
    EXPECT_EQ(text_object_count(), 2);

    TextObject orphan;
    EXPECT_FALSE(create_text_object(&orphan, "no_such_font", "x"));
    EXPECT_EQ(text_object_count(), 2);

    uint32_t b_vbo = b.vbo, c_vao = c.vao;
    release_all_text_objects();
    EXPECT_EQ(text_object_count(), 0);
    EXPECT_FALSE(glIsBuffer(b_vbo));
    EXPECT_FALSE(glIsVertexArray(c_vao));
}

TEST_F(TextTest, FullRegistryRefusesAnotherText) {
    static TextObject many[text_capacity + 1];
    for (int i = 0; i < text_capacity; i++)
        ASSERT_TRUE(create_text_object(&many[i], "loading_font", "1"));
    EXPECT_FALSE(create_text_object(&many[text_capacity], "loading_font", "1"));
    EXPECT_EQ(text_object_count(), text_capacity);
    EXPECT_EQ(text_object_at(text_capacity - 1), &many[text_capacity - 1]);
}

TEST_F(TextTest, SetTextCutsLaysOutAndReplaces) {
    TextObject& text = texts[0];
    std::string long_text(200, 'M');
    ASSERT_TRUE(create_text_object(&text, "loading_font", long_text.c_str()));
    EXPECT_EQ(strlen(text.text), 127u);
    EXPECT_EQ(text.vertex_count, 6 * 127);
    EXPECT_EQ(buffer_size(text.vao, text.vbo), 6 * 127 * 20);
    EXPECT_EQ(text.width, (uint16_t)(127 * font->glyphs['M' - glyph_first].advance));
    EXPECT_EQ(text.texture, font->atlas->gl_texture);

    set_text(&text, "Hi");
    EXPECT_STREQ(text.text, "Hi");
    EXPECT_EQ(text.vertex_count, 12);
    EXPECT_EQ(buffer_size(text.vao, text.vbo), 12 * 20);
    // The buffer holds the layout: the first vertex is H's top-left corner.
    Vertex first;
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(first), &first);
    const Glyph& h = font->glyphs['H' - glyph_first];
    EXPECT_FLOAT_EQ(first.x, h.x_offset);
    EXPECT_FLOAT_EQ(first.y, h.y_offset);
    EXPECT_FLOAT_EQ(first.u, h.uvs[0]);

    set_text(&text, "");
    EXPECT_EQ(text.vertex_count, 0);
    EXPECT_EQ(text.width, 0);
}

TEST_F(TextTest, LoadingIsCentredInItsColourAndOpacity) {
    TextObject &loading = texts[0], &empty = texts[1];
    ASSERT_TRUE(create_text_object(&loading, "loading_font", "LOADING"));
    ASSERT_TRUE(create_text_object(&empty, "loading_font", ""));

    // An empty text draws nothing.
    clear_frame(background.r, background.g, background.b);
    draw_text(&empty, Vec2{270, 480}, 0, 0, 0, 255);
    EXPECT_EQ(ink_box(read_frame()).right, -1);

    // Drawn inside a caller's transform, as the loading screen does.
    clear_frame(background.r, background.g, background.b);
    matrix_push();
    matrix_translate(270, 480);
    draw_text(&loading, Vec2{0, 0}, 200, 30, 40, 255);
    matrix_pop();
    std::vector<Pixel> opaque = read_frame();
    if (const char* snapshot = getenv("TEXT_SNAPSHOT"))
        stbi_write_png(snapshot, 540, 960, 4, opaque.data(), 540 * 4);
    Box box = ink_box(opaque);
    ASSERT_GE(box.right, 0) << "nothing drawn";

    // Horizontally the advance box is centred on 270; the ink lies within a
    // side bearing of it.
    float advance_left = 270 - loading.width / 2;
    float advance_right = advance_left + loading.width;
    EXPECT_NEAR(box.left, advance_left, 3);
    EXPECT_NEAR(box.right + 1, advance_right, 3);
    EXPECT_NEAR((box.left + box.right + 1) / 2.0, 270, 2);
    // Vertically the 32-unit ascender-to-descender band is centred on 480:
    // capitals stand on the baseline inside it.
    float baseline = 480 - 16 + font->ascent;
    EXPECT_GE(box.top, 464);
    EXPECT_LE(box.bottom, 496);
    EXPECT_NEAR(box.bottom + 1, baseline, 1.5);
    EXPECT_NEAR(box.top, baseline + font->glyphs['L' - glyph_first].y_offset, 1.5);

    // Every pixel lies between the background and the colour: the atlas is
    // white with coverage as alpha, and stroke interiors take the full colour.
    const Pixel colour = {200, 30, 40, 255};
    int full = 0;
    for (const Pixel& p : opaque) {
        if (same(p, background, 0)) continue;
        float t = (background.r - p.r) / float(background.r - colour.r);
        EXPECT_NEAR(p.g, background.g + t * (colour.g - background.g), 3);
        EXPECT_NEAR(p.b, background.b + t * (colour.b - background.b), 3);
        if (same(p, colour, 1)) full++;
    }
    EXPECT_GT(full, 300);

    // At opacity 128 the same pixels are half-way blends.
    clear_frame(background.r, background.g, background.b);
    draw_text(&loading, Vec2{270, 480}, 200, 30, 40, 128);
    std::vector<Pixel> half = read_frame();
    const float a = 128 / 255.0f;
    const Pixel blend = {(uint8_t)(background.r + a * (colour.r - background.r) + 0.5f),
                         (uint8_t)(background.g + a * (colour.g - background.g) + 0.5f),
                         (uint8_t)(background.b + a * (colour.b - background.b) + 0.5f), 255};
    int checked = 0;
    for (size_t i = 0; i < opaque.size(); i++) {
        if (!same(opaque[i], colour, 1)) continue;
        ASSERT_TRUE(same(half[i], blend, 2)) << "pixel " << i % 540 << "," << i / 540;
        checked++;
    }
    EXPECT_EQ(checked, full);

    // The draw leaves colour white, alpha 1 and the model matrix as it was.
    EXPECT_EQ(matrices.depth, 0);
    const Mat4 identity = mat4_identity();
    EXPECT_EQ(memcmp(&matrices.model, &identity, sizeof(identity)), 0);
    draw_flat_square(10, 10, 20);
    Pixel square = read_pixel(20, 20);
    EXPECT_EQ(square.r, 255);
    EXPECT_EQ(square.g, 255);
    EXPECT_EQ(square.b, 255);
}
