#include "render/rect_batch.h"

#include "render/gl.h"
#include "render/matrix.h"
#include "render/renderer.h"
#include "render/shader.h"

// One vertex array and buffer for every batch, sized for the capacity.
static uint32_t batch_vao, batch_vbo;

void rect_batch_clear(RectBatch* batch) {
    batch->count = 0;
}

void rect_batch_add(RectBatch* batch, float left, float top, float width, float height) {
    if (batch->count >= rect_batch_capacity) return;
    float right = left + width, bottom = top + height;
    Vertex* v = batch->vertices + 6 * batch->count++;
    v[0] = {left, top, 0, 0, 0};
    v[1] = {right, top, 0, 1, 0};
    v[2] = {left, bottom, 0, 0, 1};
    v[3] = {right, top, 0, 1, 0};
    v[4] = {right, bottom, 0, 1, 1};
    v[5] = {left, bottom, 0, 0, 1};
}

void quad_batch_draw(const Vertex* vertices, int quads, uint32_t texture, uint8_t r, uint8_t g,
                     uint8_t b, uint8_t alpha) {
    if (quads <= 0) return;
    if (quads > rect_batch_capacity) quads = rect_batch_capacity;
    if (!batch_vao) {
        glGenVertexArrays(1, &batch_vao);
        glGenBuffers(1, &batch_vbo);
        vertex_layout(batch_vao, batch_vbo);
        glBufferData(GL_ARRAY_BUFFER, rect_batch_capacity * 6 * sizeof(Vertex), nullptr,
                     GL_DYNAMIC_DRAW);
    }
    glBindVertexArray(batch_vao);
    glBindBuffer(GL_ARRAY_BUFFER, batch_vbo);
    glBufferSubData(GL_ARRAY_BUFFER, 0, (GLsizeiptr)(6 * quads * sizeof(Vertex)), vertices);
    // The vertices are in logical units already.
    matrix_push();
    matrix_load_identity();
    upload_model_matrix();
    if (texture)
        glBindTexture(GL_TEXTURE_2D, texture);
    else
        set_no_texture(1);
    set_color(r, g, b);
    set_alpha(alpha);
    glDrawArrays(GL_TRIANGLES, 0, 6 * quads);
    set_no_texture(0);
    set_color_white();
    set_alpha(255);
    matrix_pop();
}

void rect_batch_draw(const RectBatch* batch, uint8_t r, uint8_t g, uint8_t b) {
    quad_batch_draw(batch->vertices, batch->count, 0, r, g, b, 255);
}

void rect_batch_release() {
    if (!batch_vao) return;
    glDeleteBuffers(1, &batch_vbo);
    glDeleteVertexArrays(1, &batch_vao);
    batch_vao = batch_vbo = 0;
}
