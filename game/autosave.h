// The "autosave" file: a marker byte 1 and the 81 givens, row-major.
#pragma once

#include <cstdint>

constexpr int autosave_size = 82;

// The 82-byte image of the board: solver digits are written as 0.
void board_to_autosave(uint8_t image[autosave_size]);
// Applies a file's bytes to the board; ignores a short or foreign file whole.
// Returns whether the bytes were applied.
bool autosave_to_board(const uint8_t* bytes, int32_t length);

// Writes "autosave" in the save folder, replacing the old file in one step.
bool save_board();
// Reads "autosave" from the save folder into the (cleared) board, or from the
// working directory when the save folder is the user's and holds none yet.
void load_board();
