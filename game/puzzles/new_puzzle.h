// New puzzles from the keyboard: N makes one of the chosen length of search
// on a worker thread, L chooses the length. The screen never waits for it.
#pragma once

#include "game/board/motion.h"
#include "game/puzzles/puzzle_maker.h"

// N: a new puzzle is made; refused while a search runs or one is being made.
void new_puzzle_key(double now);
// L: the next length, said on the line under the palette.
void next_length_key(double now);
// The length of the puzzles N makes; set at start to the last run's.
PuzzleLength chosen_length();
void set_length(PuzzleLength length);
// Each frame: a puzzle that is ready goes on the board as its givens.
void new_puzzle_frame(double now);
// Waiting while a puzzle is being made (once the line says so), moving once
// it is ready to take.
Motion new_puzzle_motion();
