// Many flat rectangles of one colour in one draw call, from one buffer made
// at the first draw: the columns of the search's strip. Textured quads (the
// candidates' small digits) share the buffer.
#pragma once

#include <cstdint>

#include "render/renderer.h"

constexpr int rect_batch_capacity = 4096;

struct RectBatch {
    int count;
    Vertex vertices[rect_batch_capacity * 6];
};

void rect_batch_clear(RectBatch* batch);
// Ignored past the capacity.
void rect_batch_add(RectBatch* batch, float left, float top, float width, float height);
void rect_batch_draw(const RectBatch* batch, uint8_t r, uint8_t g, uint8_t b);
// `quads` quads of 6 vertices each in logical units, textured (0 for flat
// colour), tinted; at most the capacity.
void quad_batch_draw(const Vertex* vertices, int quads, uint32_t texture, uint8_t r, uint8_t g,
                     uint8_t b, uint8_t alpha);
// Shutdown: the buffer goes before the context.
void rect_batch_release();
