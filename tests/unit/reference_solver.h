// The search as it first shipped: each step scans forward for the next empty
// cell and reads its row, column and box, 27 cells, from the shared board.
// The product's search must match it write for write; the tests use it as the
// oracle and bench/ as the baseline.
#pragma once

#include <cstdint>

// Calls of reference_solve_from, as solver_steps counts the product's.
extern uint64_t reference_steps;

// Same contract as solve_from: true when the board is full, false when this
// branch failed or a stop came.
bool reference_solve_from(int previous);
