// The search of game/solver.cpp, step for step, on a plain int array instead
// of the shared atomic board: the yardstick the real solver is measured against.
#pragma once

#include <cstdint>

// 81 cells row-major plus the always-zero sentinel, as on the real board.
extern int32_t plain_cells[82];
extern bool plain_stop_requested;
extern uint64_t plain_steps;

bool plain_solve_from(int previous);
