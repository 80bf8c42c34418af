#include "app/app.h"
#include "app/frame_clock.h"
#include "app/frame_statistics.h"
#include "game/screen/game_screen.h"
#include "render/gl.h"
#include "render/matrix.h"
#include "render/renderer.h"
#include "render/shader.h"
#include "render/texture.h"
#include "text/font.h"
#include "text/text_object.h"

static TextObject loading_label;

bool show_loading_screen() {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (!register_font("loading_font", "PoetsenOne-Regular.ttf", 32)) return false;
    if (!create_text_object(&loading_label, "loading_font", "LOADING")) return false;
    glClear(GL_COLOR_BUFFER_BIT);
    matrix_push();
    matrix_translate((float)(view_width >> 1), (float)(view_height >> 1));
    draw_text(&loading_label, Vec2{0, 0}, 61, 37, 1, 128);
    matrix_pop();
    return true;
}

bool enter_game() {
    release_text_object(&loading_label);
    if (Font* font = find_font("loading_font")) release_font(font);
    if (!game_start()) return false;
    reset_frame_statistics(clock_seconds());
    textures.last_check_time = clock_seconds();
    shader_program.last_check_time = clock_seconds();
    return true;
}
