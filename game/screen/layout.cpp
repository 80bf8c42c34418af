// Where each element of the game screen sits for a drawing area.
#include "game/screen/layout.h"

GameLayout game_layout;

// Offsets from the middle of the drawing area.
static constexpr float title_rise = 396;
static constexpr Vec2 grid_offset = {-225, -305};
static constexpr Vec2 palette_offset = {-65, 195}; // digit 1
static constexpr float palette_step = 65;
static constexpr float wide_button_reach = 170; // Clear left, Solve right of the middle

void compute_layout(uint16_t width, uint16_t height, GameLayout* layout) {
    // Integer halves first, so an odd size rounds down before any float arithmetic.
    float middle_x = (float)(width / 2);
    float middle_y = (float)(height / 2);
    layout->title_centre = {middle_x, middle_y - title_rise};
    Vec2 grid = {middle_x + grid_offset.x, middle_y + grid_offset.y};
    layout->grid_top_left = grid;
    for (int i = 0; i < 81; i++) {
        layout->cell_centres[i] = {grid.x + cell_size / 2 + cell_size * (float)(i % 9),
                                   grid.y + cell_size / 2 + cell_size * (float)(i / 9)};
    }
    Vec2 palette = {middle_x + palette_offset.x, middle_y + palette_offset.y};
    for (int k = 0; k < 9; k++) {
        layout->palette_centres[k] = {palette.x + palette_step * (float)(k % 3),
                                      palette.y + palette_step * (float)(k / 3)};
    }
    // The wide buttons flank the top palette row; the eraser follows digit 9.
    layout->clear_centre = {middle_x - wide_button_reach, palette.y};
    layout->solve_centre = {middle_x + wide_button_reach, palette.y};
    layout->eraser_centre = {layout->palette_centres[8].x + palette_step,
                             layout->palette_centres[8].y};
}
