// Many characters of one font, each centred on its own point, drawn in one
// call: the candidates' small digits in every empty cell.
#pragma once

#include "render/renderer.h"
#include "render/shapes.h"
#include "text/font.h"

constexpr int glyph_batch_capacity = 81 * 9;

struct GlyphBatch {
    int count;
    Vertex vertices[glyph_batch_capacity * 6];
};

void glyph_batch_clear(GlyphBatch* batch);
// One ASCII character centred on `centre` as a text of it would be; ignored
// past the capacity.
void glyph_batch_add(GlyphBatch* batch, const Font* font, char c, Vec2 centre);
void glyph_batch_draw(const GlyphBatch* batch, const Font* font, uint8_t r, uint8_t g, uint8_t b,
                      uint8_t alpha);
