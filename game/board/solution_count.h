// How many ways a board can be completed, counted up to a limit: the check
// that a made puzzle has one solution and needs every given it keeps.
#pragma once

#include <cstdint>

// The solutions of the board (81 cells row-major, 0 for empty, 1-9 given),
// counted until `limit` are found: min(count, limit). Givens that break the
// rules (the same digit twice in a row, column or box) give 0.
int count_solutions(const uint8_t cells[81], int limit);
