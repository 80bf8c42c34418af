// The texture pool: image textures from PNG files and the font atlases.
#pragma once

#include <cstdint>

struct Texture {
    char key[128];
    char path[144];
    uint32_t gl_texture;
    uint16_t width;
    uint16_t height;
    int64_t mtime;
    uint8_t generated;
    uint8_t double_density;
    uint8_t in_use;
    Texture* next;
};

constexpr int texture_capacity = 100;

struct TexturePool {
    Texture slots[texture_capacity];
    Texture* head;
    double last_check_time;
};

extern TexturePool textures;

// A decoded RGBA image, top row first; free with image_free.
struct Image {
    unsigned char* pixels;
    int width;
    int height;
};

// Decodes PNG bytes to RGBA; false for anything that is not a usable image.
bool image_decode(const unsigned char* bytes, int32_t length, Image* image);
void image_free(Image* image);

// The lowest free slot, linked at the head of the live list; nullptr when full.
Texture* texture_acquire(const char* key);
// Acquires and loads "images/<key>" (or "images_x2/<key>" at double density).
// nullptr when the file is missing or does not decode.
Texture* texture_from_image(const char* key);
// (Re)loads an image file into a texture; on failure the texture is unchanged.
bool texture_load(Texture* texture, const char* path);
void texture_release(Texture* texture);
// A new GL texture, bound, clamped to its edges, with the given min/mag filter.
uint32_t gl_texture_create(int filter);
void textures_release_all();
// At most every half second: reloads image textures whose file changed. True
// when one was, so the screen is drawn again.
bool textures_reload_changed(double frame_start);
