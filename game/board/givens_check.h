// What is wrong with a set of givens, judged in one order everywhere: first
// a digit twice in a row, column or box, then how many solutions they allow.
#pragma once

#include <cstdint>

#include "game/board/game_state.h"
#include "game/board/rules.h"

struct GivenConflicts {
    // Each given that shares its digit with another given in one of its houses.
    bool marked[board_cells];
    int marked_count;
    // The first conflict found (rows first, then columns, then boxes), for
    // words: how many of which digit in which house (0 to 8 of its kind).
    uint8_t digit;
    uint8_t times;
    HouseKind kind;
    uint8_t house;
};

// `givens`: 0 for a cell without one.
void find_conflicts(const uint8_t givens[board_cells], GivenConflicts* out);

enum class GivensVerdict : uint8_t { broken, no_solution, one_solution, several_solutions };

// Conflicts first (no count then), then the solutions counted up to two.
GivensVerdict judge_givens(const uint8_t givens[board_cells], GivenConflicts* conflicts);
