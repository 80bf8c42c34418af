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
// When that fails the user's data folder takes this save and the later ones.
// False when no folder took it; the old save is then kept as it was.
bool save_board();
// Reads the newer "autosave" of the executable's folder and the user's data
// folder into the (cleared) board.
void load_board();

// How long after the last change of the givens they are saved: a burst of
// clicks makes one write.
constexpr double save_delay = 1.0;
// Called once a frame: true when the givens changed and save_delay has passed
// since the last change, once per change or burst.
bool save_due(double now);
