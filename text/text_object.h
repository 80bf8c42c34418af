// Strings laid out once into their own vertex buffer and drawn centred.
#pragma once

#include <cstdint>

#include "render/renderer.h"
#include "render/shapes.h"
#include "text/font.h"

struct TextObject {
    char text[128];
    uint16_t width;
    uint16_t vertex_count;
    uint32_t vao;
    uint32_t vbo;
    uint32_t texture;
    Font* font;
};

constexpr int text_capacity = 1000;
constexpr int text_max_length = 127;

// Lays out up to 127 bytes of `text` as 6 vertices a byte into `out` (room for
// 6 * 127) and returns the advance width in logical units, truncated.
uint16_t layout_text(const Font* font, const char* text, float scale, Vertex* out,
                     uint16_t* vertex_count);
// Where a text of this font and width goes to be centred on (x, y).
Vec2 place_text(const Font* font, uint16_t width, float x, float y);
// Where draw_text moves the text so it is centred on (x, y).
Vec2 text_placement(const TextObject* text, float x, float y);

// False when the registry is full or the font key is unknown.
bool create_text_object(TextObject* text, const char* font_key, const char* string);
void set_text(TextObject* text, const char* string);
// Every font baked for `scale` (the window's pixels a unit), and the texts in
// a font that changed laid out again. Does nothing while the scale stays;
// true when a font changed.
bool fit_texts_to_scale(float scale);
void draw_text(const TextObject* text, Vec2 centre, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha);
void release_text_object(TextObject* text);
// Shutdown: deletes every registered text's GL objects and empties the registry.
void release_all_text_objects();
int text_object_count();
TextObject* text_object_at(int index);
