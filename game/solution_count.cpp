#include "game/solution_count.h"

// Bits 1-9 stand for the digits.
static const unsigned all_digits = 1022;

// The box of each cell and the number of digits in each set, worked out once
// rather than at every look (the build targets processors without popcnt).
struct Tables {
    uint8_t box[81];
    uint8_t digit_count[1024];
};
static constexpr Tables make_tables() {
    Tables tables = {};
    for (int cell = 0; cell < 81; cell++)
        tables.box[cell] = (uint8_t)(3 * (cell / 27) + cell % 9 / 3);
    for (int set = 1; set < 1024; set++)
        tables.digit_count[set] = (uint8_t)(tables.digit_count[set >> 1] + (set & 1));
    return tables;
}
static constexpr Tables tables = make_tables();

struct CountState {
    // The digits each row, column and box holds.
    unsigned rows[9], columns[9], boxes[9];
    // The empty cells; those from the current depth on are still to fill.
    uint8_t empty[81];
    int empty_count;
    int found, limit;
};

static inline void place(CountState& state, int cell, unsigned bit) {
    state.rows[cell / 9] ^= bit;
    state.columns[cell % 9] ^= bit;
    state.boxes[tables.box[cell]] ^= bit;
}

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
        place(state, cell, bit);
        count_from(state, depth + 1);
        place(state, cell, bit);
        if (state.found >= state.limit) return;
    }
}

// Where `single`, a digit with one place left in the unit, goes.
static void place_single(CountState& state, int depth, const unsigned* candidates, int unit_type,
                         int unit, unsigned single) {
    unsigned bit = single & (0u - single);
    for (int i = depth; i < state.empty_count; i++) {
        int cell = state.empty[i];
        int cell_unit = unit_type == 0 ? cell / 9 : unit_type == 1 ? cell % 9 : tables.box[cell];
        if (cell_unit == unit && (candidates[i] & bit)) {
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
        unsigned cell_candidates = all_digits & ~(state.rows[cell / 9] | state.columns[cell % 9] |
                                                  state.boxes[tables.box[cell]]);
        if (cell_candidates == 0) return;
        candidates[i] = cell_candidates;
        unsigned key =
            (unsigned)tables.digit_count[cell_candidates] << 16 | cell << 8 | (unsigned)i;
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
            int row = cell / 9, column = cell % 9, box = tables.box[cell];
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
            if (all_digits & ~(state.rows[unit] | row_once[unit])) return;
            if (all_digits & ~(state.columns[unit] | column_once[unit])) return;
            if (all_digits & ~(state.boxes[unit] | box_once[unit])) return;
        }
        for (int unit = 0; unit < 9; unit++) {
            if (unsigned single = row_once[unit] & ~row_twice[unit])
                return place_single(state, depth, candidates, 0, unit, single);
            if (unsigned single = column_once[unit] & ~column_twice[unit])
                return place_single(state, depth, candidates, 1, unit, single);
            if (unsigned single = box_once[unit] & ~box_twice[unit])
                return place_single(state, depth, candidates, 2, unit, single);
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
        unsigned bit = 1u << value;
        if ((state.rows[cell / 9] | state.columns[cell % 9] | state.boxes[tables.box[cell]]) & bit)
            return 0;
        place(state, cell, bit);
    }
    count_from(state, 0);
    return state.found;
}
