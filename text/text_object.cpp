// Text objects: each string laid out once into its own vertex buffer, drawn
// centred on a point, and a registry so shutdown can delete their GL objects.
#include "text/text_object.h"

#include <cstdio>
#include <cstring>

#include "render/gl.h"
#include "render/matrix.h"
#include "render/shader.h"

struct TextRegistry {
    TextObject* entries[text_capacity];
    uint16_t count;
};

static TextRegistry texts;

bool create_text_object(TextObject* text, const char* font_key, const char* string) {
    memset(text, 0, sizeof(*text));
    text->font = find_font(font_key);
    if (!text->font || texts.count >= text_capacity) return false;
    glGenVertexArrays(1, &text->vao);
    glGenBuffers(1, &text->vbo);
    vertex_layout(text->vao, text->vbo);
    texts.entries[texts.count++] = text;
    set_text(text, string);
    return true;
}

// Layout scratch shared by every call: texts are laid out only when their
// words or their font's scale change, never per frame, and nothing keeps the
// vertices once they are in the buffer.
static void lay_out(TextObject* text) {
    static Vertex vertices[6 * text_max_length];
    text->width =
        layout_text(text->font, text->text, text->font->scale, vertices, &text->vertex_count);
    glBindVertexArray(text->vao);
    glBindBuffer(GL_ARRAY_BUFFER, text->vbo);
    glBufferData(GL_ARRAY_BUFFER, text->vertex_count * (GLsizeiptr)sizeof(Vertex), vertices,
                 GL_STATIC_DRAW);
    text->texture = text->font->atlas->gl_texture;
}

void set_text(TextObject* text, const char* string) {
    snprintf(text->text, sizeof(text->text), "%s", string);
    lay_out(text);
}

bool fit_texts_to_scale(float scale) {
    bool fitted = false;
    for (FontSlot* slot = fonts.head; slot; slot = slot->next) {
        if (!fit_font_to_scale(&slot->font, scale)) continue;
        fitted = true;
        for (int i = 0; i < texts.count; i++)
            if (texts.entries[i]->font == &slot->font) lay_out(texts.entries[i]);
    }
    return fitted;
}

void draw_text(const TextObject* text, Vec2 centre, uint8_t r, uint8_t g, uint8_t b,
               uint8_t alpha) {
    glBindVertexArray(text->vao);
    glBindTexture(GL_TEXTURE_2D, text->texture);
    set_color(r, g, b);
    set_alpha(alpha);
    Vec2 at = text_placement(text, centre.x, centre.y);
    matrix_push();
    matrix_multiply(mat4_translation(at.x, at.y));
    upload_model_matrix();
    glDrawArrays(GL_TRIANGLES, 0, text->vertex_count);
    matrix_pop();
    set_color_white();
    set_alpha(255);
}

static void delete_gl_objects(TextObject* text) {
    glDeleteBuffers(1, &text->vbo);
    glDeleteVertexArrays(1, &text->vao);
    // Names are reused by GL; a second release must not delete someone else's.
    text->vbo = text->vao = 0;
}

void release_text_object(TextObject* text) {
    delete_gl_objects(text);
    for (int i = 0; i < texts.count; i++) {
        if (texts.entries[i] != text) continue;
        texts.entries[i] = texts.entries[texts.count - 1];
        texts.count--;
        return;
    }
}

void release_all_text_objects() {
    for (int i = 0; i < texts.count; i++) delete_gl_objects(texts.entries[i]);
    texts.count = 0;
}

int text_object_count() {
    return texts.count;
}

TextObject* text_object_at(int index) {
    return texts.entries[index];
}
