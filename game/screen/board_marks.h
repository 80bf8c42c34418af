// What the board shows besides its digits while the search is watched: the
// cells that explain the change shown, and every empty cell's candidates.
#pragma once

#include "game/screen/screen_colours.h"

// M: the candidates in every empty cell, where the status line or the cell
// cursor shows; M again hides them.
extern bool candidates_wanted;

// Whole cells in one colour, under the grid: the conflicts and the marks below.
void draw_cell_tints(const bool marked[81], Rgba tint);
// Under the grid: the house of a single or a cover's choice, the peers that
// rule out the digits passed over, a dead end's cell or house.
void draw_story_marks();
// Over the cells: the small digits of the candidates, 1 top left to 9
// bottom right.
void draw_candidates(bool searching);
