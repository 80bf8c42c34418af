// The game screen's geometry: the sizes of its elements, and where they sit
// for a drawing area of a given size. Drawing and hit-testing both read it.
#pragma once

#include <cstdint>

#include "render/shapes.h"

// Sizes in logical units.
constexpr float cell_size = 50;
constexpr float grid_side = 9 * cell_size;
constexpr float grid_thick_line = 2; // lines 0, 3, 6 and 9
constexpr float grid_thin_line = 1;
constexpr Vec2 small_button_size = {60, 60}; // palette digits and the eraser
constexpr Vec2 wide_button_size = {110, 60}; // Clear and Solve/Stop
// Wide buttons take clicks 5 units beyond either side of their panels.
constexpr Vec2 wide_button_hit_size = {120, 60};
constexpr float selection_outline = 3;

struct GameLayout {
    Vec2 title_centre;
    Vec2 grid_top_left;
    Vec2 cell_centres[81];
    Vec2 palette_centres[9];
    Vec2 clear_centre;
    Vec2 solve_centre;
    Vec2 eraser_centre;
};

extern GameLayout game_layout;

// Positions for a W x H drawing area (logical units); halves are integer halves.
void compute_layout(uint16_t width, uint16_t height, GameLayout* layout);
