// A hidden 540 x 960 window with a 3.3 core context, current for the whole
// test run, and a private copy of the run folder as the working directory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The copy of the run folder the tests work in (shaders, images, fonts).
const std::string& test_run_folder();

// RGBA of one framebuffer pixel; y counts from the top, as the layout does.
struct Pixel {
    uint8_t r, g, b, a;
};
Pixel read_pixel(int x, int y);
// The whole 540 x 960 framebuffer, top row first.
std::vector<Pixel> read_frame();

// Clears to a known colour and resets the model matrix.
void clear_frame(uint8_t r, uint8_t g, uint8_t b);

// Writes a file with a modification time `seconds_ahead` in the future, so a
// watch that compares whole seconds sees it as changed.
void write_file_with_new_mtime(const std::string& path, const std::string& bytes,
                               int seconds_ahead);
