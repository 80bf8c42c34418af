#include <stb_image.h>

#include "render/texture.h"

// Larger images are refused before decoding: they would not fit a texture.
static constexpr int image_side_limit = 8192;

bool image_decode(const unsigned char* bytes, int32_t length, Image* image) {
    if (!bytes || length <= 0) return false;
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(bytes, length, &width, &height, &channels)) return false;
    if (width <= 0 || height <= 0 || width > image_side_limit || height > image_side_limit)
        return false;
    unsigned char* pixels = stbi_load_from_memory(bytes, length, &width, &height, &channels, 4);
    if (!pixels) return false;
    image->pixels = pixels;
    image->width = width;
    image->height = height;
    return true;
}

void image_free(Image* image) {
    stbi_image_free(image->pixels);
    *image = {};
}
