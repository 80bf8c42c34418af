#include "game/layout.h"

GameLayout game_layout;

void compute_layout(uint16_t width, uint16_t height, GameLayout* layout) {
    // Integer halves first, so an odd size rounds down before any float arithmetic.
    float middle_x = (float)(width / 2);
    float middle_y = (float)(height / 2);
    for (int i = 0; i < 81; i++) {
        layout->cell_centres[i] = {middle_x - 200 + 50.0f * (float)(i % 9),
                                   middle_y - 280 + 50.0f * (float)(i / 9)};
    }
    for (int k = 0; k < 9; k++) {
        layout->palette_centres[k] = {middle_x - 65 + 65.0f * (float)(k % 3),
                                      middle_y + 195 + 65.0f * (float)(k / 3)};
    }
    layout->clear_centre = {middle_x - 170, middle_y + 195};
    layout->solve_centre = {middle_x + 170, middle_y + 195};
    layout->eraser_centre = {middle_x + 130, middle_y + 325};
}
