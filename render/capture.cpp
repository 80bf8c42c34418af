#include "render/capture.h"

#include <cstdlib>
#include <cstring>

#include <stb_image_write.h>

#include "render/gl.h"
#include "render/renderer.h"

bool capture_begin(Capture* capture, int width, int height) {
    memset(capture, 0, sizeof(*capture));
    glGenFramebuffers(1, &capture->framebuffer);
    glGenRenderbuffers(1, &capture->colour);
    glBindRenderbuffer(GL_RENDERBUFFER, capture->colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glBindFramebuffer(GL_FRAMEBUFFER, capture->framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                              capture->colour);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        capture_end(capture, 0, 0);
        return false;
    }
    capture->width = width;
    capture->height = height;
    set_viewport((uint16_t)width, (uint16_t)height);
    return true;
}

void capture_read(const Capture* capture, int x, int y, int width, int height, uint8_t* out) {
    if (y < 0) y = 0;
    if (y + height > capture->height) height = capture->height - y;
    if (x + width > capture->width || height <= 0) return;
    // GL counts rows from the bottom: each row is read into its place from the top.
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    for (int row = 0; row < height; row++)
        glReadPixels(x, capture->height - y - row - 1, width, 1, GL_RGBA, GL_UNSIGNED_BYTE,
                     out + 4 * (size_t)width * row);
}

void capture_end(Capture* capture, int window_width, int window_height) {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteRenderbuffers(1, &capture->colour);
    glDeleteFramebuffers(1, &capture->framebuffer);
    capture->framebuffer = capture->colour = 0;
    if (window_width > 0 && window_height > 0)
        set_viewport((uint16_t)window_width, (uint16_t)window_height);
}

struct PngBytes {
    uint8_t* data;
    int length, capacity;
    bool failed;
};

static void add_png_bytes(void* context, void* data, int size) {
    PngBytes* bytes = (PngBytes*)context;
    if (bytes->failed) return;
    if (bytes->length + size > bytes->capacity) {
        int capacity = 2 * (bytes->length + size);
        uint8_t* grown = (uint8_t*)realloc(bytes->data, (size_t)capacity);
        if (!grown) {
            bytes->failed = true;
            return;
        }
        bytes->data = grown;
        bytes->capacity = capacity;
    }
    memcpy(bytes->data + bytes->length, data, (size_t)size);
    bytes->length += size;
}

uint8_t* encode_png(const uint8_t* rgba, int width, int height, int* length) {
    PngBytes bytes = {nullptr, 0, 0, false};
    if (!stbi_write_png_to_func(add_png_bytes, &bytes, width, height, 4, rgba, 4 * width) ||
        bytes.failed) {
        free(bytes.data);
        return nullptr;
    }
    *length = bytes.length;
    return bytes.data;
}
