#include "render/renderer.h"

#include "render/gl.h"
#include "render/matrix.h"
#include "render/shader.h"

uint8_t pixel_scale;
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
    uint16_t w = width / pixel_scale;
    uint16_t h = height / pixel_scale;
    if (w == 0 || h == 0) return;
    view_width = w;
    view_height = h;
    matrices.projection = ortho_projection(w, h);
    upload_projection_matrix();
}

void renderer_release() {
    glDeleteVertexArrays(1, &unit_quad_vao);
    unit_quad_vao = 0;
}
