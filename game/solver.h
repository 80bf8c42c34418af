// The depth-first backtracking search and its worker thread.
#pragma once

#include <cstdint>

// One step: fills the first empty cell after `previous` and recurses.
// True when the board is full; false when this branch failed or a stop came.
bool solve_from(int previous);

// Calls of solve_from since program start, for tests and measurements.
// Written by whichever thread searches; read it only when no search runs.
extern uint64_t solver_steps;

// The worker: searches, cleans up after a failure, then clears the flags.
int solver_thread_main();

// The Solve button's start: drops the selection and the solver's old digits,
// sets the flags and starts the detached worker. False when it cannot start.
bool start_search();
