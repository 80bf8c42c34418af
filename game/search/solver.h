// The depth-first backtracking search and its worker thread.
#pragma once

#include <cstdint>

#include "game/search/strategies.h"

// Completes the board from the first empty cell after `previous` (-1 for the
// whole board): cells in row-major order, digits ascending, every tentative
// digit written to the board and taken back. True when the board is full;
// false when no completion exists or a stop came, with those cells empty again.
bool solve_from(int previous);

// Steps of the search since program start (one per cell tried to fill, plus
// the step that finds the board full), for tests and measurements.
// Written by whichever thread searches; read it only when no search runs.
extern uint64_t solver_steps;

// Completes the board from its givens with another way of searching than in
// order, watched or flat out as the controls say; as solve_from otherwise.
bool solve_with_strategy(Strategy strategy);

// The worker: searches the way watch_shared.strategy says, cleans up after a
// failure, then clears the flags.
int solver_thread_main();
