// The vertex format, the unit quad and the drawing area.
#pragma once

#include <cstdint>

// The one vertex format: position at attribute 0, texture coordinate at 1.
struct Vertex {
    float x, y, z;
    float u, v;
};
static_assert(sizeof(Vertex) == 20, "vertices are 20 bytes, tightly packed");

// The drawing area the screen needs, in logical units: the window opens this
// size times the pixel scale, and a smaller framebuffer shows it scaled down.
constexpr int layout_units_width = 540;
constexpr int layout_units_height = 960;

// Framebuffer pixels per logical unit chosen at start-up (the window opens at
// it, images are made for it, fonts cached at it); the pixels per unit now
// drawn at, which follows the framebuffer's size, smaller or larger; the
// drawing area in logical units.
extern float pixel_scale;
extern float view_scale;
extern uint16_t view_width;
extern uint16_t view_height;
extern uint32_t unit_quad_vao;

// Builds the shader program and the unit quad. False when the shaders fail.
bool renderer_init();
// Sets the viewport and projection for a framebuffer; a zero size keeps the
// previous projection and drawing area.
void set_viewport(uint16_t width, uint16_t height);
// A position moved to the nearest pixel edge, and a thickness made whole
// pixels (one at least), both in logical units: lines stay crisp and even at
// any scale.
float snap_to_pixel(float units);
float whole_pixels(float units);
// Binds the vertex array and buffer and points attributes 0 and 1 at them.
void vertex_layout(uint32_t vao, uint32_t vbo);
// Deletes the unit quad's vertex array (its buffer goes with the context).
void renderer_release();
