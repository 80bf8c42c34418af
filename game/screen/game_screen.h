// The game screen: its fonts, texts and panels, and the drawing of a frame.
#pragma once

#include <cstdint>

#include "game/board/motion.h"

// Registers the fonts, makes texts and panels, lays out and loads the board.
// False (with the reason reported) when an asset the screen needs is missing.
bool game_start();

// Draws the whole screen from the game state at program time `now` (seconds).
void game_frame(double now);

// Whether the screen changes by itself: a search or replay, the selected
// digit's pulse, a notice's time, a puzzle being made, the comparison's counts.
Motion screen_motion();

// Lays the screen out again for a new drawing-area size (ignored when zero).
void game_resize(uint16_t width, uint16_t height);
