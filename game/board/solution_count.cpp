// The exact count of a board's solutions, up to a limit.
#include "game/board/solution_count.h"

#include "game/board/rules.h"

struct CountState {
    Houses houses;
    // The empty cells; those from the current depth on are still to fill.
    uint8_t empty[81];
    int empty_count;
    int found, limit;
};

static void count_from(CountState& state, int depth);

// Tries each digit of `candidates` in the empty cell at `position`, which
// takes the place of `depth`, the first cell still to fill.
static void branch(CountState& state, int depth, int position, unsigned candidates) {
    uint8_t cell = state.empty[position];
    state.empty[position] = state.empty[depth];
    state.empty[depth] = cell;
    while (candidates) {
        unsigned bit = candidates & (0u - candidates);
        candidates ^= bit;
        flip_digit(state.houses, cell, bit);
        count_from(state, depth + 1);
        flip_digit(state.houses, cell, bit);
        if (state.found >= state.limit) return;
    }
}

// Where `single`, a digit with one place left in the unit, goes.
static void place_single(CountState& state, int depth, const unsigned* candidates, HouseKind kind,
                         int house, unsigned single) {
    unsigned bit = single & (0u - single);
    for (int i = depth; i < state.empty_count; i++) {
        int cell = state.empty[i];
        if (house_of(kind, cell) == house && (candidates[i] & bit)) {
            branch(state, depth, i, bit);
            return;
        }
    }
}

// Fills the empty cells from `depth` on, the most constrained first: that
// keeps the tree narrow, and a cell with no candidate ends the branch at once.
// A digit with one place left in a unit goes there first: without that, hard
// puzzles take twenty times as long.
static void count_from(CountState& state, int depth) {
    if (depth == state.empty_count) {
        state.found++;
        return;
    }
    unsigned candidates[81];
    // The candidate count, then the cell, then its place in the list: the
    // least key is the cell to branch on, found without a branch per cell.
    unsigned best_key = ~0u;
    for (int i = depth; i < state.empty_count; i++) {
        unsigned cell = state.empty[i];
        unsigned cell_candidates = candidates_of(state.houses, (int)cell);
        if (cell_candidates == 0) return;
        candidates[i] = cell_candidates;
        unsigned key = (unsigned)digit_count(cell_candidates) << 16 | cell << 8 | (unsigned)i;
        best_key = key < best_key ? key : best_key;
    }
    int best = (int)(best_key & 255);
    int best_count = (int)(best_key >> 16);
    if (best_count > 1) {
        // The digits with a place in each unit, and those with two or more.
        unsigned row_once[9] = {}, row_twice[9] = {};
        unsigned column_once[9] = {}, column_twice[9] = {};
        unsigned box_once[9] = {}, box_twice[9] = {};
        for (int i = depth; i < state.empty_count; i++) {
            int cell = state.empty[i];
            int row = row_of(cell), column = column_of(cell), box = box_of(cell);
            unsigned cell_candidates = candidates[i];
            row_twice[row] |= row_once[row] & cell_candidates;
            row_once[row] |= cell_candidates;
            column_twice[column] |= column_once[column] & cell_candidates;
            column_once[column] |= cell_candidates;
            box_twice[box] |= box_once[box] & cell_candidates;
            box_once[box] |= cell_candidates;
        }
        for (int unit = 0; unit < 9; unit++) {
            // A digit missing from a unit with no place left for it: no solution.
            if (all_digits & ~(state.houses.held[unit] | row_once[unit])) return;
            if (all_digits & ~(state.houses.held[9 + unit] | column_once[unit])) return;
            if (all_digits & ~(state.houses.held[18 + unit] | box_once[unit])) return;
        }
        for (int unit = 0; unit < 9; unit++) {
            if (unsigned single = row_once[unit] & ~row_twice[unit])
                return place_single(state, depth, candidates, HouseKind::row, unit, single);
            if (unsigned single = column_once[unit] & ~column_twice[unit])
                return place_single(state, depth, candidates, HouseKind::column, 9 + unit, single);
            if (unsigned single = box_once[unit] & ~box_twice[unit])
                return place_single(state, depth, candidates, HouseKind::box, 18 + unit, single);
        }
    }
    branch(state, depth, best, candidates[best]);
}

int count_solutions(const uint8_t cells[81], int limit) {
    if (limit <= 0) return 0;
    CountState state = {};
    state.limit = limit;
    for (int cell = 0; cell < 81; cell++) {
        int value = cells[cell];
        if (value == 0) {
            state.empty[state.empty_count++] = (uint8_t)cell;
            continue;
        }
        unsigned bit = digit_bit(value);
        if (!(candidates_of(state.houses, cell) & bit)) return 0;
        flip_digit(state.houses, cell, bit);
    }
    count_from(state, 0);
    return state.found;
}
