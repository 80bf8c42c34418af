#include "render/panel.h"

#include <cstring>

#include "render/gl.h"
#include "render/matrix.h"
#include "render/shader.h"

// Registered panels, in creation order, for the release at shutdown.
static Panel* panel_registry[panel_capacity];
static uint16_t panel_registered;

static const char* const panel_image_key = "rounded_rect.png";
static constexpr uint16_t panel_corner = 16;

// Columns go left to right in pairs, upper vertex first; the image is cut at f
// and 1 - f both ways, so its corners keep `corner` units square.
void panel_band(int band, float width, float height, float corner, float image_width,
                Vertex out[panel_band_vertices]) {
    float f = corner / image_width;
    const float xs[4] = {0, corner, width - corner, width};
    const float ys[4] = {0, corner, height - corner, height};
    const float cuts[4] = {0, f, 1 - f, 1};
    for (int column = 0; column < 4; column++) {
        out[2 * column] = {xs[column], ys[band], 0, cuts[column], cuts[band]};
        out[2 * column + 1] = {xs[column], ys[band + 1], 0, cuts[column], cuts[band + 1]};
    }
}

static Texture* find_panel_image() {
    for (Texture* texture = textures.head; texture; texture = texture->next)
        if (strcmp(texture->key, panel_image_key) == 0) return texture;
    return nullptr;
}

bool panel_create(Panel* panel, Vec2 size) {
    Texture* image = find_panel_image();
    if (!image || image->width == 0 || panel_registered == panel_capacity) return false;
    panel->width = size.x;
    panel->height = size.y;
    panel->texture = image;
    glGenVertexArrays(3, panel->band_arrays);
    glGenBuffers(3, panel->band_buffers);
    for (int band = 0; band < 3; band++) {
        Vertex vertices[panel_band_vertices];
        panel_band(band, panel->width, panel->height, panel_corner, image->width, vertices);
        vertex_layout(panel->band_arrays[band], panel->band_buffers[band]);
        glBufferData(GL_ARRAY_BUFFER, sizeof(vertices), vertices, GL_STATIC_DRAW);
    }
    panel_registry[panel_registered++] = panel;
    return true;
}

void panel_draw(const Panel* panel, Vec2 centre, uint32_t color) {
    // A panel that was never created has no bands to draw.
    if (!panel->texture) return;
    glBindTexture(GL_TEXTURE_2D, panel->texture->gl_texture);
    matrix_push();
    matrix_translate(centre.x - panel->width * 0.5f, centre.y - panel->height * 0.5f);
    upload_model_matrix();
    set_color(color & 0xff, (color >> 8) & 0xff, (color >> 16) & 0xff);
    set_alpha((uint8_t)(color >> 24));
    for (uint32_t band_array : panel->band_arrays) {
        glBindVertexArray(band_array);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, panel_band_vertices);
    }
    set_alpha(255);
    set_color_white();
    matrix_pop();
}

void panels_release_all() {
    for (int i = 0; i < panel_registered; i++) {
        Panel* panel = panel_registry[i];
        glDeleteBuffers(3, panel->band_buffers);
        glDeleteVertexArrays(3, panel->band_arrays);
        *panel = {};
    }
    panel_registered = 0;
}

int panel_count() {
    return panel_registered;
}
