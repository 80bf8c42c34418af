// Givens that break the rules: a digit twice in a row, column or box.
#pragma once

#include <cstdint>

#include "game/game_state.h"

enum class UnitKind : uint8_t { row, column, box };

struct GivenConflicts {
    // Each given that shares its digit with another given in one of its units.
    bool marked[board_cells];
    int marked_count;
    // The first conflict found (rows first, then columns, then boxes), for
    // words: how many of which digit in which unit (0 to 8).
    uint8_t digit;
    uint8_t times;
    UnitKind kind;
    uint8_t unit;
};

// `givens`: 0 for a cell without one.
void find_conflicts(const uint8_t givens[board_cells], GivenConflicts* out);
// "two 5s in row 1"; an empty string when nothing conflicts.
void describe_conflict(const GivenConflicts& conflicts, char* out, int size);
