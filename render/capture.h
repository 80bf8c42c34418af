// Drawing a frame off the screen at a size of its own, and reading its
// pixels back: the pictures and animations the user saves.
#pragma once

#include <cstdint>

struct Capture {
    uint32_t framebuffer, colour;
    int width, height;
};

// Binds a framebuffer of this size and sets the viewport and projection to
// it, as a window of that size would. False when the driver refuses one.
bool capture_begin(Capture* capture, int width, int height);
// RGBA rows of the rectangle from (x, y) down, top row first, into `out`
// (4 * width * height bytes). Clipped to the capture.
void capture_read(const Capture* capture, int x, int y, int width, int height, uint8_t* out);
// Back to the window's framebuffer of this size.
void capture_end(Capture* capture, int window_width, int window_height);

// PNG bytes of RGBA rows, in a new buffer for free(); null when it cannot be had.
uint8_t* encode_png(const uint8_t* rgba, int width, int height, int* length);
