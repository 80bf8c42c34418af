// Where the game's elements sit for a drawing area of a given size.
#pragma once

#include <cstdint>

#include "render/shapes.h"

struct GameLayout {
    Vec2 cell_centres[81];
    Vec2 palette_centres[9];
    Vec2 clear_centre;
    Vec2 solve_centre;
    Vec2 eraser_centre;
};

extern GameLayout game_layout;

// Centres for a W x H drawing area (logical units); halves are integer halves.
void compute_layout(uint16_t width, uint16_t height, GameLayout* layout);
