// The shade and the frame of the cards drawn over the board.
#include "game/screen/card_frame.h"

#include "game/screen/layout.h"
#include "game/screen/screen_colours.h"
#include "render/renderer.h"

static constexpr uint8_t shade_alpha = 200;

Vec2 draw_card_frame(float height) {
    draw_rect(Vec2{0, 0}, view_width, view_height, background.r, background.g, background.b,
              shade_alpha);
    Vec2 top_left = {game_layout.grid_top_left.x + (grid_side - card_width) / 2,
                     (float)(int)((view_height - height) / 2)};
    draw_rect(top_left, card_width, height, background.r, background.g, background.b, background.a);
    draw_rect_outline(top_left, card_width, height, selection_outline, ink.r, ink.g, ink.b, ink.a);
    return top_left;
}

// draw_text takes off the integer half of the width, so the text starts at `left`.
void draw_left_aligned(const TextObject* text, float left, float middle_y) {
    draw_text(text, Vec2{left + (float)(text->width / 2), middle_y}, ink.r, ink.g, ink.b, ink.a);
}
