// The font registry and the upload of each font's atlas.
#include "text/font.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/files.h"
#include "platform/platform.h"
#include "render/gl.h"
#include "render/renderer.h"

FontRegistry fonts;

Font* register_font(const char* key, const char* file_name, uint8_t size) {
    FontSlot* slot = nullptr;
    for (FontSlot& candidate : fonts.slots) {
        if (!candidate.in_use) {
            slot = &candidate;
            break;
        }
    }
    char message[320];
    if (!slot) {
        snprintf(message, sizeof(message), "no room for another font (\"%s\")", key);
        platform_report_error(message);
        return nullptr;
    }
    slot->in_use = 1;
    slot->next = fonts.head;
    fonts.head = slot;
    Font* font = &slot->font;
    snprintf(font->key, sizeof(font->key), "%s", key);

    Texture* atlas = texture_acquire(font->key);
    if (atlas) atlas->generated = 1;
    snprintf(font->path, sizeof(font->path), "fonts/%s", file_name);
    if (atlas && build_font_atlas(font, atlas, font->path, size)) return font;

    release_font(font);
    if (atlas) {
        snprintf(message, sizeof(message),
                 "cannot load the font file \"fonts/%s\": it is missing or not a TrueType font",
                 file_name);
    } else {
        snprintf(message, sizeof(message), "no room for the atlas of font \"%s\"", key);
    }
    platform_report_error(message);
    return nullptr;
}

Font* find_font(const char* key) {
    for (FontSlot* slot = fonts.head; slot; slot = slot->next) {
        // Keys are stored cut to fit, so compare no further than that.
        if (strncmp(slot->font.key, key, sizeof(slot->font.key) - 1) == 0) return &slot->font;
    }
    return nullptr;
}

void release_font(Font* font) {
    FontSlot** link = &fonts.head;
    while (*link && &(*link)->font != font) link = &(*link)->next;
    FontSlot* slot = *link;
    if (!slot) return;
    if (font->atlas) texture_release(font->atlas);
    free(font->glyphs);
    *link = slot->next;
    memset(slot, 0, sizeof(*slot));
}

void clear_fonts() {
    for (FontSlot* slot = fonts.head; slot; slot = slot->next) free(slot->font.glyphs);
    memset(&fonts, 0, sizeof(fonts));
}

// Sampling gives white with the coverage as alpha, so a text's colour and
// opacity come from the shader's uniforms alone.
// A bake at another scale goes into the same texture, so texts keep its name.
static void upload_atlas(Texture* atlas, const uint8_t* pixels) {
    if (atlas->gl_texture) {
        glBindTexture(GL_TEXTURE_2D, atlas->gl_texture);
    } else {
        atlas->gl_texture = gl_texture_create(GL_NEAREST);
        const GLint swizzle[4] = {GL_ONE, GL_ONE, GL_ONE, GL_RED};
        glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, swizzle);
    }
    // Rows of a 512 or 1024 atlas satisfy the default unpack alignment of 4.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, atlas->width, atlas->height, 0, GL_RED,
                 GL_UNSIGNED_BYTE, pixels);
}

bool build_font_atlas(Font* font, Texture* atlas, const char* font_path, uint8_t size) {
    font->size = font->nominal_size = size;
    font->glyph_count = glyph_total;
    // Baked at the pixel size it is drawn at, so each glyph pixel is a screen pixel.
    font->scale = pixel_scale;
    font->baked_size = (uint16_t)lroundf(size * pixel_scale);
    font->atlas = atlas;
    font->glyphs = (Glyph*)calloc(glyph_total, sizeof(Glyph));
    int side = atlas_side(font->baked_size);
    atlas->width = atlas->height = (uint16_t)side;
    uint8_t* pixels = (uint8_t*)malloc((size_t)side * side);
    char cache_path[1024];
    font_cache_path(cache_path, sizeof(cache_path), font->key, size, pixel_scale);

    bool loaded = font->glyphs && pixels &&
                  font_atlas_load(cache_path, font_path, font->baked_size, size, side, pixels,
                                  font->glyphs, &font->ascent);
    if (loaded) upload_atlas(atlas, pixels);
    // No CPU copy of the atlas is kept.
    free(pixels);
    return loaded;
}

bool fit_font_to_scale(Font* font, float scale) {
    float size = font->nominal_size;
    if (size * scale < font->least_pixels) size = fminf(255, ceilf(font->least_pixels / scale));
    if ((scale == font->scale && size == font->size) || scale == font->refused_scale) return false;
    uint16_t baked_size = (uint16_t)lroundf(size * scale);
    if (baked_size == font->baked_size && size == font->size) {
        font->scale = scale;
        return true;
    }
    int side = atlas_side(baked_size);
    uint8_t* pixels = (uint8_t*)malloc((size_t)side * side);
    Glyph* glyphs = (Glyph*)calloc(glyph_total, sizeof(Glyph));
    int32_t length = 0;
    char* font_data = read_whole_file(font->path, &length);
    float ascent = 0;
    // The cache is kept for the scale the program starts at: a window
    // dragged through sizes would otherwise leave a file at each.
    bool baked = pixels && glyphs && font_data &&
                 font_bake((const uint8_t*)font_data, length, baked_size, (uint8_t)size, side,
                           pixels, glyphs, &ascent) >= 0;
    if (baked) {
        font->size = (uint8_t)size;
        memcpy(font->glyphs, glyphs, glyph_total * sizeof(Glyph));
        font->ascent = ascent;
        font->baked_size = baked_size;
        font->scale = scale;
        font->atlas->width = font->atlas->height = (uint16_t)side;
        upload_atlas(font->atlas, pixels);
    } else {
        font->refused_scale = scale;
    }
    free(font_data);
    free(glyphs);
    free(pixels);
    return baked;
}
