#include "game/solver.h"

#include "game/game_state.h"
#include "platform/platform.h"

uint64_t solver_steps;

// Bit d stands for digit d; bit 0 is never a candidate, so an empty cell
// removes nothing.
static const uint16_t all_digits = 1022;

bool solve_from(int previous) {
    solver_steps++;
    if (game_state.stop_requested.load(std::memory_order_relaxed)) return false;

    // Every cell after `previous` that this search filled has been emptied
    // again, so the first 0 is the next cell to fill; the sentinel stops a full board.
    int index = previous + 1;
    while (cell_value(index) != 0) index++;
    if (index == board_cells) return true;

    int row = index / 9;
    int column = index % 9;
    int box_start = 27 * (row / 3) + 3 * (column / 3);
    unsigned used = 0;
    for (int k = 0; k < 9; k++) {
        used |= 1u << cell_value((index + 9 * k) % board_cells);
        used |= 1u << cell_value(9 * row + k);
        used |= 1u << cell_value(box_start + 9 * (k / 3) + k % 3);
    }
    uint16_t candidates = (uint16_t)(all_digits & ~used);

    for (int digit = 1; digit <= 9; digit++) {
        if (!(candidates & (1u << digit))) continue;
        set_cell_value(index, digit);
        if (solve_from(index)) return true;
    }
    set_cell_value(index, 0);
    return false;
}

int solver_thread_main() {
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
