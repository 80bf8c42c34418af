// New puzzles from the keyboard: N makes one of the chosen length of search
// on a worker thread, L chooses the length. The screen never waits for it.
#pragma once

// N: a new puzzle is made; refused while a search runs or one is being made.
void new_puzzle_key(double now);
// L: the next length, said on the line under the palette.
void next_length_key(double now);
// Each frame: a puzzle that is ready goes on the board as its givens.
void new_puzzle_frame(double now);
