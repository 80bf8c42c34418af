// Turning a string into glyph quads, and where a laid-out string goes when it
// is centred on a point. No GL here.
#include "text/text_object.h"

uint16_t layout_text(const Font* font, const char* text, float scale, Vertex* out,
                     uint16_t* vertex_count) {
    // Two triangles a character: top-left, top-right, bottom-left, then
    // top-right, bottom-left, bottom-right.
    static const int corner_order[6] = {0, 1, 2, 1, 2, 3};
    float pen = 0;
    int count = 0;
    for (int i = 0, bytes = 1; i < text_max_length && text[i]; i += bytes) {
        // A character the font lacks, or a broken sequence, shows as '?'.
        const Glyph& g = *find_glyph(font, next_codepoint(text + i, &bytes));
        for (int k : corner_order) {
            Vertex& v = out[count++];
            v.x = ((g.corners[2 * k] + g.x_offset) + pen) / scale;
            v.y = (g.corners[2 * k + 1] + g.y_offset) / scale;
            v.z = 0;
            v.u = g.uvs[2 * k];
            v.v = g.uvs[2 * k + 1];
        }
        pen += g.advance;
    }
    *vertex_count = (uint16_t)count;
    float width = pen / scale;
    // The comparison also turns a nonsense sum (NaN, from a damaged cache) into 0.
    return width > 0 && width < 65536 ? (uint16_t)width : 0;
}

Vec2 place_text(const Font* font, uint16_t width, float x, float y) {
    // Integer halvings: the advance box is centred to the whole unit, and the
    // ascender-to-descender band, `size` units tall, is centred on y.
    float left = x - (float)(width / 2);
    float baseline_shift = (float)(font->size / 2) - font->ascent;
    return Vec2{left, y - baseline_shift};
}

Vec2 text_placement(const TextObject* text, float x, float y) {
    return place_text(text->font, text->width, x, y);
}
