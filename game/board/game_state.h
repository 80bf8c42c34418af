// The board and the few fields the screen, the pointer input and the solver
// thread share. One instance, zero at start.
#pragma once

#include <atomic>
#include <cstdint>

// 81 cells row-major plus an always-zero sentinel that stops the solver's scan.
constexpr int board_cells = 81;

struct Board {
    std::atomic<int32_t> cells[board_cells + 1];
    uint8_t given[board_cells];
};

struct GameState {
    Board board;
    int32_t selected_digit;
    bool eraser_selected;
    std::atomic<bool> solver_running;
    // Bits of the stops the watch names: end the search, or leave flat out.
    std::atomic<uint8_t> stop_requested;
    // The givens changed since the save last looked; main thread only.
    bool givens_changed;
    // Counted up at every change of the givens, so that what was learnt of
    // other givens (a search's record) can tell it is out of date.
    uint32_t givens_edits;
    // The cell cursor, where typed digits go: shown from the first arrow key,
    // on cell 0 or the cell last clicked.
    int32_t cursor_cell;
    bool cursor_shown;
};

extern GameState game_state;

// Every cell and mark empty, no digit selected.
void clear_all();
// Every cell value 0; marks, selection and flags untouched.
void clear_values();
// Every cell not marked given becomes 0.
void clear_non_givens();
// Every change of the givens (a click, Clear, a paste) calls this, so the
// save follows shortly after and the last search's record is dropped.
void mark_givens_changed();
// The board becomes exactly these givens (0 for an empty cell), with no digit
// or eraser selected. Not while a search runs.
void set_givens_from(const uint8_t cells[board_cells]);

// Cells without a given that hold a digit: of the board, or of `values`.
int filled_by_search(const uint8_t* values);
// The givens, 0 for a cell without one.
void read_givens(uint8_t out[board_cells]);

// Cell access for the main thread and the solver; relaxed, since ordering
// between the threads comes from solver_running.
inline int32_t cell_value(int index) {
    return game_state.board.cells[index].load(std::memory_order_relaxed);
}
inline void set_cell_value(int index, int32_t value) {
    game_state.board.cells[index].store(value, std::memory_order_relaxed);
}
