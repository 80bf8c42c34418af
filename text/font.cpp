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

static Font* register_font_as(const char* key, const char* file_name, uint8_t size, bool wide) {
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
    if (wide) font->wide_glyphs = (Glyph*)calloc(wide_glyph_total, sizeof(Glyph));
    if (atlas && (!wide || font->wide_glyphs) && build_font_atlas(font, atlas, size)) return font;

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

Font* register_font(const char* key, const char* file_name, uint8_t size) {
    return register_font_as(key, file_name, size, false);
}

Font* register_wide_font(const char* key, const char* file_name, uint8_t size) {
    return register_font_as(key, file_name, size, true);
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
    free(font->wide_glyphs);
    *link = slot->next;
    memset(slot, 0, sizeof(*slot));
}

void clear_fonts() {
    for (FontSlot* slot = fonts.head; slot; slot = slot->next) {
        free(slot->font.glyphs);
        free(slot->font.wide_glyphs);
    }
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

// Glyphs, ascent and atlas at `size` units and `baked_size` pixels: from the
// cache when a path is given and the file is sound, else baked from the font
// file. The font is untouched when neither can be had.
// The wide glyphs into the rows below the ASCII ones, from the font file: the
// cache holds the ASCII glyphs only. Without the file, they show as '?'.
static void bake_wide_glyphs(const Font* font, uint16_t baked_size, int side, uint8_t* pixels,
                             const Glyph* glyphs) {
    int32_t length = 0;
    char* font_data = read_whole_file(font->path, &length);
    if (!font_data ||
        font_bake_wide((const uint8_t*)font_data, length, baked_size, side,
                       atlas_first_free_row(glyphs, side), pixels, font->wide_glyphs) < 0)
        memset(font->wide_glyphs, 0, wide_glyph_total * sizeof(Glyph));
    free(font_data);
}

static bool load_atlas(Font* font, const char* cache_path, uint16_t baked_size, uint8_t size) {
    // Twice as wide for the wide glyphs, and so twice as tall.
    int side = atlas_side(baked_size) * (font->wide_glyphs ? 2 : 1);
    uint8_t* pixels = (uint8_t*)malloc((size_t)side * side);
    Glyph* glyphs = (Glyph*)calloc(glyph_total, sizeof(Glyph));
    float ascent = 0;
    bool loaded =
        pixels && glyphs &&
        font_atlas_load(cache_path, font->path, baked_size, size, side, pixels, glyphs, &ascent);
    if (loaded) {
        if (font->wide_glyphs) bake_wide_glyphs(font, baked_size, side, pixels, glyphs);
        memcpy(font->glyphs, glyphs, glyph_total * sizeof(Glyph));
        font->ascent = ascent;
        font->size = size;
        font->baked_size = baked_size;
        font->atlas->width = font->atlas->height = (uint16_t)side;
        upload_atlas(font->atlas, pixels);
    }
    // No CPU copy of the atlas is kept.
    free(glyphs);
    free(pixels);
    return loaded;
}

bool build_font_atlas(Font* font, Texture* atlas, uint8_t size) {
    font->nominal_size = size;
    font->glyph_count = glyph_total;
    font->atlas = atlas;
    font->glyphs = (Glyph*)calloc(glyph_total, sizeof(Glyph));
    // Baked at the pixel size it is drawn at, so each glyph pixel is a screen pixel.
    font->scale = pixel_scale;
    char cache_path[1024];
    font_cache_path(cache_path, sizeof(cache_path), font->key, size, pixel_scale);
    return font->glyphs &&
           load_atlas(font, cache_path, (uint16_t)lroundf(size * pixel_scale), size);
}

bool fit_font_to_scale(Font* font, float scale) {
    float size = font->nominal_size;
    if (size * scale < font->least_pixels) size = fminf(255, ceilf(font->least_pixels / scale));
    if ((scale == font->scale && size == font->size) || scale == font->refused_scale) return false;
    uint16_t baked_size = (uint16_t)lroundf(size * scale);
    // The cache is kept for the scale the program starts at: a window
    // dragged through sizes would otherwise leave a file at each.
    bool same_bake = baked_size == font->baked_size && size == font->size;
    if (!same_bake && !load_atlas(font, nullptr, baked_size, (uint8_t)size)) {
        font->refused_scale = scale;
        return false;
    }
    font->scale = scale;
    return true;
}
