#include "text/glyph_batch.h"

#include "render/rect_batch.h"
#include "text/text_object.h"

void glyph_batch_clear(GlyphBatch* batch) {
    batch->count = 0;
}

void glyph_batch_add(GlyphBatch* batch, const Font* font, char c, Vec2 centre) {
    if (batch->count >= glyph_batch_capacity) return;
    char text[2] = {c, 0};
    Vertex* quad = batch->vertices + 6 * batch->count;
    uint16_t vertex_count = 0;
    uint16_t width = layout_text(font, text, font->scale, quad, &vertex_count);
    if (vertex_count != 6) return;
    Vec2 at = place_text(font, width, centre.x, centre.y);
    for (int i = 0; i < 6; i++) {
        quad[i].x += at.x;
        quad[i].y += at.y;
    }
    batch->count++;
}

void glyph_batch_draw(const GlyphBatch* batch, const Font* font, uint8_t r, uint8_t g, uint8_t b,
                      uint8_t alpha) {
    quad_batch_draw(batch->vertices, batch->count, font->atlas->gl_texture, r, g, b, alpha);
}
