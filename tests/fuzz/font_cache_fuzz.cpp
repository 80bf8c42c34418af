// Any bytes as a font cache file. The first input byte picks the atlas side
// (512 or 1024) and whether the rest is the file as it is, or the glyph table
// and ascent of a file of exactly the right length. A file of any other length
// is refused with nothing written; an accepted one is copied out exactly, and
// whatever glyph records it holds, laying text out with them stays inside its
// buffers and its width conversion stays defined (UBSan checks both).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "text/font.h"
#include "text/text_object.h"

static uint8_t file[1024 * 1024 + glyph_total * sizeof(Glyph) + 4];
static uint8_t atlas[1024 * 1024];
static Glyph glyphs[glyph_total];

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > sizeof(file)) return 0;
    int side = data[0] & 2 ? 1024 : 512;
    int32_t expected = font_cache_length(side);
    int32_t length = (int32_t)size - 1;
    if (data[0] & 1) {
        // Zero atlas, then the input as the glyph table and ascent, cut or zero-padded.
        length = expected;
        memset(file, 0, (size_t)length);
        size_t tail = (size_t)(expected - side * side);
        memcpy(file + side * side, data + 1, size - 1 < tail ? size - 1 : tail);
    } else {
        memcpy(file, data + 1, size - 1);
    }
    // A copy of exactly the file's length, so reading one byte past it is caught.
    uint8_t* bytes = (uint8_t*)malloc(length ? (size_t)length : 1);
    memcpy(bytes, file, (size_t)length);

    memset(glyphs, 0xA5, sizeof(glyphs));
    float ascent = -1;
    bool accepted = font_cache_parse(bytes, length, side, atlas, glyphs, &ascent);
    free(bytes);
    if (accepted != (length == expected)) abort();
    if (!accepted) {
        for (size_t i = 0; i < sizeof(glyphs); i++) {
            if (((const uint8_t*)glyphs)[i] != 0xA5) abort();
        }
        if (ascent != -1) abort();
        return 0;
    }
    int32_t atlas_bytes = side * side;
    if (memcmp(atlas, file, (size_t)atlas_bytes) != 0 ||
        memcmp(glyphs, file + atlas_bytes, sizeof(glyphs)) != 0 ||
        memcmp(&ascent, file + atlas_bytes + sizeof(glyphs), 4) != 0)
        abort();

    Font font = {};
    font.size = 32;
    font.glyph_count = glyph_total;
    font.glyphs = glyphs;
    font.ascent = ascent;
    // Every printable character, then bytes outside the atlas (drawn as '?'),
    // one more than layout takes.
    char text[text_max_length + 2];
    for (int i = 0; i <= text_max_length; i++) text[i] = (char)(glyph_first + i);
    text[text_max_length + 1] = 0;
    static Vertex vertices[6 * text_max_length];
    for (uint8_t scale = 1; scale <= 2; scale++) {
        uint16_t vertex_count = 0;
        layout_text(&font, text, scale, vertices, &vertex_count);
        if (vertex_count != 6 * text_max_length) abort();
    }
    return 0;
}
