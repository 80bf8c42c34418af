#include "render/renderer.h"

#include <cmath>

#include "render/gl.h"
#include "render/matrix.h"
#include "render/shader.h"

float pixel_scale;
float view_scale;
uint16_t view_width;
uint16_t view_height;
uint32_t unit_quad_vao;

// Triangle-strip order; every flat rectangle is this quad moved and stretched.
static const Vertex unit_quad[4] = {
    {0, 0, 0, 0, 0},
    {1, 0, 0, 1, 0},
    {0, 1, 0, 0, 1},
    {1, 1, 0, 1, 1},
};

void vertex_layout(uint32_t vao, uint32_t vbo) {
    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(Vertex), (const void*)0);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                          (const void*)(3 * sizeof(float)));
}

bool renderer_init() {
    if (!shader_load()) return false;
    uint32_t buffer = 0;
    glGenVertexArrays(1, &unit_quad_vao);
    glGenBuffers(1, &buffer);
    vertex_layout(unit_quad_vao, buffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof(unit_quad), unit_quad, GL_STATIC_DRAW);
    return true;
}

void set_viewport(uint16_t width, uint16_t height) {
    glViewport(0, 0, width, height);
    // A minimised window has no area to project onto; the last projection
    // stays until it has one again.
    if (width == 0 || height == 0) return;
    // The whole layout, as large as the framebuffer holds: smaller than the
    // window opened at, or larger (full screen on a projector).
    view_scale = fminf((float)width / layout_units_width, (float)height / layout_units_height);
    // The projection covers the framebuffer exactly, so a unit is view_scale
    // pixels everywhere; the layout gets the whole units.
    float w = (float)width / view_scale;
    float h = (float)height / view_scale;
    view_width = (uint16_t)w;
    view_height = (uint16_t)h;
    matrices.projection = ortho_projection(w, h);
    upload_projection_matrix();
}

float snap_to_pixel(float units) {
    return roundf(units * view_scale) / view_scale;
}

float whole_pixels(float units) {
    return fmaxf(1.0f, roundf(units * view_scale)) / view_scale;
}

void renderer_release() {
    glDeleteVertexArrays(1, &unit_quad_vao);
    unit_quad_vao = 0;
}
