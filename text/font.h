// Fonts registered by key: glyph atlases baked with stb_truetype and kept in a
// disk cache, "tmp/font.<key>.<size>" (with "@2x" at double density).
#pragma once

#include <cstdint>

#include "render/texture.h"

// One character's ready-made quad, the same 80 bytes in memory and in the cache.
struct Glyph {
    uint8_t codepoint;
    uint8_t padding[3];
    float corners[8]; // (0,0) (w,0) (0,h) (w,h) in atlas pixels
    float uvs[8];     // the same corners in the atlas, 0..1
    float x_offset;
    float y_offset;
    float advance;
};
static_assert(sizeof(Glyph) == 80, "the cache stores glyphs as 80-byte records");

constexpr int glyph_first = 32;
constexpr int glyph_total = 95;

// Beyond ASCII, for a font that draws names the user gave (file names):
// Latin-1 and Latin Extended-A, Greek and Cyrillic. Baked into the rows of
// the atlas below the ASCII glyphs, never read from the cache.
struct GlyphRange {
    uint16_t first, count;
};
constexpr GlyphRange wide_ranges[] = {{0xA0, 0xE0}, {0x370, 0x90}, {0x400, 0x100}};
constexpr int wide_range_count = 3;
constexpr int wide_glyph_total = 0xE0 + 0x90 + 0x100;

struct Font {
    char key[128];
    char path[144];       // "fonts/<file>", for baking again at another scale
    uint8_t size;         // in units, as laid out now
    uint8_t nominal_size; // as registered
    // The least pixel height it is drawn at, 0 for none: below it, `size` grows.
    uint8_t least_pixels;
    uint16_t baked_size;
    uint8_t glyph_count;
    Glyph* glyphs;
    // Null for an ASCII font; else wide_glyph_total glyphs of wide_ranges.
    Glyph* wide_glyphs;
    Texture* atlas;
    float ascent;
    // Atlas pixels a unit: the glyphs are laid out at this scale.
    float scale;
    // A scale whose bake failed, so it is not tried again each frame.
    float refused_scale;
};

constexpr int font_capacity = 50;

struct FontSlot {
    Font font;
    uint8_t in_use;
    FontSlot* next;
};

struct FontRegistry {
    FontSlot slots[font_capacity];
    FontSlot* head;
};

extern FontRegistry fonts;

// Atlas side for a baked pixel height: 512 up to 64, 1024 up to 128, else 2048.
int atlas_side(uint16_t baked_size);
// Exact length of a cache file for an atlas of the given side.
int32_t font_cache_length(int side);
// "tmp/font.<key>.<size>" in the save folder for a bake at one pixel per
// unit, and "tmp/font.<key>.<size>@<scale>x" at any other scale ("@2x",
// "@1.5x"), so no bake is read at another scale; cut to fit the buffer.
void font_cache_path(char* out, int capacity, const char* key, uint8_t size, float scale);

// Splits cache bytes into atlas, glyphs and ascent; false (nothing written)
// unless the length is exactly right for the side.
bool font_cache_parse(const uint8_t* bytes, int32_t length, int side, uint8_t* atlas, Glyph* glyphs,
                      float* ascent);
// Writes a cache file (creating "tmp" when needed); false when it cannot.
bool font_cache_write(const char* path, int side, const uint8_t* atlas, const Glyph* glyphs,
                      float ascent);

// Rasterises the 95 glyphs of a TrueType file's bytes into a side x side
// atlas, fills the glyph table and the ascent at the nominal size. Returns how
// many glyphs fit (95 when all did), or -1 when the bytes are not a font that
// stb_truetype can read.
int font_bake(const uint8_t* font_data, int32_t length, uint16_t baked_size, uint8_t size, int side,
              uint8_t* atlas, Glyph* glyphs, float* ascent);
// The CPU half of a font: atlas, glyphs and ascent from the cache file, or
// baked from the font file (the cache rewritten when every glyph fit); a null
// cache path neither reads nor writes a cache. False when there is no usable
// cache and the font file cannot be read.
bool font_atlas_load(const char* cache_path, const char* font_path, uint16_t baked_size,
                     uint8_t size, int side, uint8_t* atlas, Glyph* glyphs, float* ascent);

// Whether stb_truetype may parse these bytes: its tables lie within them.
bool font_data_readable(const uint8_t* data, int32_t length);
// Bakes the wide ranges into the atlas's rows from `first_row` on, at the
// same pixel height as the ASCII glyphs. Returns how many fit (those that do
// not are left zero), or -1 when the bytes are not a font.
int font_bake_wide(const uint8_t* font_data, int32_t length, uint16_t baked_size, int side,
                   int first_row, uint8_t* atlas, Glyph* glyphs);
// The row below the lowest ASCII glyph of an atlas, where the wide ones may go.
int atlas_first_free_row(const Glyph* glyphs, int side);
// The glyph a codepoint is drawn with: its own, or '?' where the font has none.
const Glyph* find_glyph(const Font* font, uint32_t codepoint);
// The codepoint of the UTF-8 sequence at `text` (0xFFFD for a broken one),
// and how many bytes it took.
uint32_t next_codepoint(const char* text, int* bytes);

// Registers a font under a key; nullptr (with the file named on stderr) when
// the font file is missing or unreadable, or the registry or pool is full.
Font* register_font(const char* key, const char* file_name, uint8_t size);
// The same, with the wide glyphs too, in an atlas twice as wide.
Font* register_wide_font(const char* key, const char* file_name, uint8_t size);
Font* find_font(const char* key);
void release_font(Font* font);
void clear_fonts();
// Fills the font and its atlas texture from the cache or by baking the font
// file at its path.
bool build_font_atlas(Font* font, Texture* atlas, uint8_t size);
// Makes the font's glyphs one atlas pixel a screen pixel at `scale`, baking
// it again (not cached) when its pixel height or its size in units changes.
// True when the font changed and texts laid out in it must be laid out again;
// false when nothing changed or the font file could not be read (the font
// stays as it was).
bool fit_font_to_scale(Font* font, float scale);
