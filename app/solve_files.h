// --solve: every puzzle of a file or of standard input solved without a window.
#pragma once

#include "game/search/strategies.h"

// Prints a line a puzzle and a summary on standard error; returns the exit
// status: 0 when every puzzle had exactly one solution, 1 when one had not,
// 2 when the input could not be read or the output not written. The puzzles
// are searched the way asked, on `jobs` workers; the output is the same for any.
int solve_files(const char* file, Strategy strategy, int jobs);
