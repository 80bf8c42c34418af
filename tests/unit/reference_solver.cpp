#include "tests/unit/reference_solver.h"

#include "game/board/game_state.h"

uint64_t reference_steps;

// Bit d stands for digit d; bit 0 is never a candidate, so an empty cell
// removes nothing.
static const uint16_t all_digits = 1022;

bool reference_solve_from(int previous) {
    reference_steps++;
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
        if (reference_solve_from(index)) return true;
    }
    set_cell_value(index, 0);
    return false;
}
