// Any bytes as an image file, through the decode and size checks that come
// before a texture is made. An accepted image is within the side limit and its
// buffer holds all of its RGBA bytes (AddressSanitizer checks the reads).
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "render/texture.h"

// Keeps the pixel reads from being optimised away.
static volatile unsigned pixel_sum;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > INT32_MAX) return 0;
    Image image;
    if (!image_decode(data, (int32_t)size, &image)) return 0;
    if (image.width < 1 || image.height < 1 || image.width > 8192 || image.height > 8192) abort();
    size_t bytes = (size_t)image.width * (size_t)image.height * 4;
    unsigned sum = 0;
    for (size_t i = 0; i < bytes; i += 61) sum += image.pixels[i];
    sum += image.pixels[bytes - 1];
    pixel_sum = sum;
    image_free(&image);
    if (image.pixels) abort();
    return 0;
}
