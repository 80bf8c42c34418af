// The length of the program's own search on a board, without the board: the
// steps solve_from would count, in the same order, for choosing puzzles by
// how long they take.
#pragma once

#include <cstdint>

// The steps the search of game/search/solver.cpp takes on these givens (81 cells
// row-major, 0 for empty): one per open cell it reaches to fill, plus the one
// that finds the board full. Stops once the count passes `cap` and returns
// that count, which is then over `cap`.
uint64_t search_steps(const uint8_t cells[81], uint64_t cap);
