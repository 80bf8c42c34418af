// How the last watched search ended, said on the line under the palette
// until the next edit of the givens or the next search.
#pragma once

#include <cstdint>

enum class Verdict : uint8_t { none, solved, solved_not_unique, no_solution, stopped };

struct SearchVerdict {
    Verdict verdict;
    // Steps the search took (its calls, as solver_steps counts them) and
    // the changes it made to the board.
    uint64_t steps;
    uint64_t changes;
    // The change the board showed at a stop.
    uint64_t stopped_at;
};

extern SearchVerdict search_verdict;

// At the end of a search that was watched: main thread, no search running.
// `changes`: what the board shows, the change it was stopped at after a stop.
void judge_search(bool stopped, uint64_t steps, uint64_t changes);
void forget_verdict();
