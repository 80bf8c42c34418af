#include "render/shapes.h"

#include "render/gl.h"
#include "render/matrix.h"
#include "render/renderer.h"
#include "render/shader.h"

// Flat colour from the bound unit quad; alpha is left alone when opaque.
static void begin_flat(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    glBindVertexArray(unit_quad_vao);
    set_no_texture(1);
    set_color(r, g, b);
    if (a != 255) set_alpha(a);
}

static void end_flat(uint8_t a) {
    set_no_texture(0);
    set_color_white();
    if (a != 255) set_alpha(255);
}

// The unit quad moved to (x, y) and stretched to w x h.
static void draw_bar(float x, float y, float w, float h) {
    matrix_push();
    matrix_translate(x, y);
    matrix_scale(w, h);
    upload_model_matrix();
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    matrix_pop();
}

void draw_rect(Vec2 top_left, float width, float height, uint8_t r, uint8_t g, uint8_t b,
               uint8_t a) {
    begin_flat(r, g, b, a);
    draw_bar(top_left.x, top_left.y, width, height);
    end_flat(a);
}

// The side bars fill only the height between the top and bottom bars, so no
// pixel is drawn twice and a translucent outline stays even.
void draw_rect_outline(Vec2 top_left, float width, float height, float thickness, uint8_t r,
                       uint8_t g, uint8_t b, uint8_t a) {
    float x = top_left.x, y = top_left.y, t = thickness;
    begin_flat(r, g, b, a);
    draw_bar(x, y, width, t);
    draw_bar(x, y + height - t, width, t);
    draw_bar(x, y + t, t, height - 2 * t);
    draw_bar(x + width - t, y + t, t, height - 2 * t);
    end_flat(a);
}
