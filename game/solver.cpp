#include "game/solver.h"

#include "game/game_state.h"
#include "platform/platform.h"

uint64_t solver_steps;

// Bit d stands for digit d; bit 0 is never a candidate, so an empty cell
// removes nothing.
static const unsigned all_digits = 1022;

// A cell that was empty when the search started, with the units it lies in.
struct OpenCell {
    uint8_t index, row, column, box;
};

// What the search keeps beside the board: the digits each row, column and box
// holds now, and the open cells in row-major order. Every open cell after the
// current one that the search filled has been emptied again, so the next open
// cell is the next one to fill, as a scan of the board would find it.
struct SearchState {
    unsigned row_digits[9];
    unsigned column_digits[9];
    unsigned box_digits[9];
    OpenCell open[board_cells];
    int open_count;
};

// One step: fills the open cell at `position` and recurses. Each digit goes to
// the board as it is tried, and the cell is emptied when none is left.
static bool fill_from(SearchState& search, int position) {
    solver_steps++;
    if (game_state.stop_requested.load(std::memory_order_relaxed)) return false;
    if (position == search.open_count) return true;

    const OpenCell cell = search.open[position];
    unsigned& row = search.row_digits[cell.row];
    unsigned& column = search.column_digits[cell.column];
    unsigned& box = search.box_digits[cell.box];
    unsigned candidates = all_digits & ~(row | column | box);
    while (candidates) {
        // The lowest bit left is the smallest digit left.
        unsigned digit_bit = candidates & (0u - candidates);
        candidates ^= digit_bit;
        row |= digit_bit;
        column |= digit_bit;
        box |= digit_bit;
        set_cell_value(cell.index, __builtin_ctz(digit_bit));
        if (fill_from(search, position + 1)) return true;
        // The digit was not in these units before this step placed it.
        row ^= digit_bit;
        column ^= digit_bit;
        box ^= digit_bit;
    }
    set_cell_value(cell.index, 0);
    return false;
}

bool solve_from(int previous) {
    SearchState search = {};
    for (int index = 0; index < board_cells; index++) {
        int row = index / 9;
        int column = index % 9;
        int box = 3 * (row / 3) + column / 3;
        int32_t value = cell_value(index);
        // Conflicting givens only add bits that are set already.
        search.row_digits[row] |= 1u << value;
        search.column_digits[column] |= 1u << value;
        search.box_digits[box] |= 1u << value;
        if (value == 0 && index > previous) {
            search.open[search.open_count++] = {(uint8_t)index, (uint8_t)row, (uint8_t)column,
                                                (uint8_t)box};
        }
    }
    return fill_from(search, 0);
}

int solver_thread_main() {
    // The screen comes first: the search gets what the drawing leaves.
    platform_lower_solver_thread_priority();
    bool solved = solve_from(-1);
    // The board is back to its givens before the flags say so; clearing
    // solver_running last (release) hands the board back to the main thread
    // with every write of the search visible.
    if (!solved) clear_non_givens();
    game_state.stop_requested.store(false, std::memory_order_relaxed);
    game_state.solver_running.store(false, std::memory_order_release);
    return 0;
}

bool start_search() {
    game_state.selected_digit = 0;
    game_state.eraser_selected = false;
    clear_non_givens();
    // A stop pressed after the last search had cleared its flag must not end this one.
    game_state.stop_requested.store(false, std::memory_order_relaxed);
    game_state.solver_running.store(true, std::memory_order_relaxed);
    if (platform_start_detached(solver_thread_main)) return true;
    game_state.solver_running.store(false, std::memory_order_relaxed);
    return false;
}
