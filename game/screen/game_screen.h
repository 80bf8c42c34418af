// The game screen: its fonts, texts and panels, and the drawing of a frame.
#pragma once

#include <cstdint>

#include "game/board/motion.h"

// Registers the fonts, makes texts and panels, lays out and loads the board.
// False (with the reason reported) when an asset the screen needs is missing.
bool game_start();

// Moves what plays on (a replay, a puzzle being made), then draws the whole
// screen from the game state at program time `now` (seconds).
void game_frame(double now);
// Draws the screen as it is, moving nothing: the frame, or a picture of it.
void draw_game_screen(double now);
// The grid alone with these digits (0 for none), the givens in ink, every
// cell outlined as a change is, or none: the cells an animation is made of.
void draw_board_sheet(const uint8_t cells[81], const uint8_t given[81], bool outlined);
// Where a picture of the screen cuts it, in logical units: the grid, and
// below the palette the line and the strip when they show (bottom 0 for none).
struct ScreenBands {
    float grid_top, grid_bottom;
    float line_top, line_bottom;
};
ScreenBands screen_bands();

// Whether the screen changes by itself: a search or replay, the selected
// digit's pulse, a notice's time, a puzzle being made, the comparison's counts.
Motion screen_motion();

// Lays the screen out again for a new drawing-area size (ignored when zero).
void game_resize(uint16_t width, uint16_t height);
